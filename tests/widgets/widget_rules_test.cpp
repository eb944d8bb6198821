#include "widgets/widget_rules.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(SplitterDrag, ColumnLimitsKeepThePointerInsideTheAllowedBand) {
    const SplitterLimits outer{120, 100, -1, -1};
    EXPECT_FALSE(splitterDragAllowed(outer, 50, 10, 1000, 700));
    EXPECT_FALSE(splitterDragAllowed(outer, 119, 10, 1000, 700));
    EXPECT_TRUE(splitterDragAllowed(outer, 120, 10, 1000, 700));
    EXPECT_TRUE(splitterDragAllowed(outer, 899, 10, 1000, 700));
    EXPECT_FALSE(splitterDragAllowed(outer, 900, 10, 1000, 700));
}

TEST(SplitterDrag, RowLimitsApplyOnlyWithoutColumnLimits) {
    const SplitterLimits inner{-1, -1, 100, 150};
    EXPECT_FALSE(splitterDragAllowed(inner, 5, 99, 200, 600));
    EXPECT_TRUE(splitterDragAllowed(inner, 5, 100, 200, 600));
    EXPECT_TRUE(splitterDragAllowed(inner, 5, 449, 200, 600));
    EXPECT_FALSE(splitterDragAllowed(inner, 5, 450, 200, 600));
    // One limit alone is not a limit.
    EXPECT_TRUE(splitterDragAllowed({120, -1, -1, -1}, 5, 5, 200, 200));
    EXPECT_TRUE(splitterDragAllowed({}, -5, -5, 10, 10));
}

TEST(ButtonPictures, ChosenInTheFixedOrder) {
    const ButtonPictures all{true, true, true};
    const ButtonPictures none{};
    // Disabled wins when there is a disabled picture.
    EXPECT_EQ(chooseButtonPicture({false, true, true, true}, all), ButtonPicture::Disabled);
    EXPECT_EQ(chooseButtonPicture({false, false, false, false}, none), ButtonPicture::Normal);
    // Active shows the pressed picture even without the pointer.
    EXPECT_EQ(chooseButtonPicture({true, true, false, false}, all), ButtonPicture::Pressed);
    EXPECT_EQ(chooseButtonPicture({true, true, false, false}, none), ButtonPicture::Normal);
    // Held down but moved off: normal.
    EXPECT_EQ(chooseButtonPicture({true, false, false, true}, all), ButtonPicture::Normal);
    EXPECT_EQ(chooseButtonPicture({true, false, true, true}, all), ButtonPicture::Pressed);
    EXPECT_EQ(chooseButtonPicture({true, false, true, false}, all), ButtonPicture::Hover);
    EXPECT_EQ(chooseButtonPicture({true, false, true, false}, {true, false, true}),
              ButtonPicture::Normal);
    EXPECT_EQ(chooseButtonPicture({true, false, true, true}, {false, true, false}),
              ButtonPicture::Hover);
}

}  // namespace
}  // namespace tarn
