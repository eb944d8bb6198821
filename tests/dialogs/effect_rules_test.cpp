#include "dialogs/effect_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace tarn {
namespace {

TEST(EffectRules, BoxesAreReadLenientlyUpToTheirLength) {
    const EffectParam noise{"&Amount:", 0, 255, 128, 25, true, 100, "bad"};
    EXPECT_EQ(readParamText("300", noise), 300);
    EXPECT_EQ(readParamText("abc", noise), 0);
    EXPECT_EQ(readParamText("12.9px", noise), 12);
    // Only the first 100 characters count: 99 zeros and a 7, then digits that are not read.
    EXPECT_EQ(readParamText(std::string(99, '0') + "7" + "123", noise), 7);
    EXPECT_EQ(readParamText(std::string(1000, '9'), noise), INT_MAX);

    const EffectParam angle{"&Angle:", -180, 180, 0, 36, false, 100, nullptr, true, true};
    EXPECT_DOUBLE_EQ(readParamText("12.5abc", angle), 12.5);
    EXPECT_DOUBLE_EQ(readParamText("1e999", angle), 0);  // no infinite turn
}

TEST(EffectRules, CheckedValuesArePreviewedAsTypedAndOthersLimited) {
    const EffectParam checked{"&Threshold:", 0, 255, 128, 25, true, 100, "bad"};
    EXPECT_EQ(previewValue(300, checked), 300);
    EXPECT_FALSE(inRange(300, checked));
    EXPECT_FALSE(inRange(-1, checked));
    EXPECT_TRUE(inRange(255, checked));

    const EffectParam silent{"&Radius", 0, 32, 5, 6};
    EXPECT_EQ(previewValue(40, silent), 32);
    EXPECT_EQ(previewValue(-3, silent), 0);

    const EffectParam angle{"&Angle:", -180, 180, 0, 36, false, 100, nullptr, true, true};
    EXPECT_EQ(previewValue(500, angle), 500);
    EXPECT_TRUE(inRange(500, angle));

    EXPECT_EQ(sliderPosition(12.5, angle), 13);
    EXPECT_EQ(sliderPosition(-2.5, angle), -3);
    EXPECT_EQ(sliderPosition(1e300, angle), INT_MAX);

    // Gamma counts in hundredths: the box is limited to 0.01..6.99 and shows two decimals.
    const EffectParam gamma{
        "G&amma correction", 1, 699, 100, 139, false, 1000, nullptr, true, false, 100};
    EXPECT_DOUBLE_EQ(previewValue(9, gamma), 6.99);
    EXPECT_DOUBLE_EQ(previewValue(0, gamma), 0.01);
    EXPECT_EQ(sliderPosition(6.99, gamma), 699);
    EXPECT_EQ(positionText(7, gamma), "0.07");
    EXPECT_EQ(positionText(-7, angle), "-7");
    EXPECT_DOUBLE_EQ(balanceFactor(100), 6.99);
    EXPECT_DOUBLE_EQ(balanceFactor(0), 1.0);
    EXPECT_DOUBLE_EQ(balanceFactor(-100), 0.01);
    EXPECT_DOUBLE_EQ(balanceFactor(10), 1.6);   // 1.599 in hundredths
    EXPECT_DOUBLE_EQ(balanceFactor(-10), 0.9);  // 0.901
}

TEST(EffectRules, SizeLimitsFollowSmallThumbnailsAndScaleToTheSource) {
    EXPECT_EQ(sizeLimit(50, 30, 2), 29);
    EXPECT_EQ(sizeLimit(50, 150, 1), 50);
    EXPECT_EQ(sizeLimit(20, 1, 2), 2);
    EXPECT_EQ(sizeLimit(50, 0, 1), 1);  // no thumbnail

    EXPECT_EQ(scaledToSource(5, 3000, 150, 2), 100);
    EXPECT_EQ(scaledToSource(3, 100, 120, 1), 3);  // 2.5 rounds away from zero
    EXPECT_EQ(scaledToSource(1, 10, 150, 1), 1);   // never below the lower limit
    EXPECT_EQ(scaledToSource(5, 0, 150, 2), 0);
    EXPECT_EQ(scaledToSource(5, 3000, 0, 2), 0);

    // The blur's radius is limited by the source, not the thumbnail, and is never below 2.
    EXPECT_EQ(averageBlurRadius(50, 3000, 2000), 50);
    EXPECT_EQ(averageBlurRadius(50, 3000, 30), 29);
    EXPECT_EQ(averageBlurRadius(0, 3000, 2000), 2);
    EXPECT_EQ(averageBlurRadius(10, 0, 0), 2);
}

}  // namespace
}  // namespace tarn
