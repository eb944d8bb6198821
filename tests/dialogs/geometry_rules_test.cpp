#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dialogs/color_depth_rules.h"
#include "dialogs/number_text.h"
#include "dialogs/resize_rules.h"
#include "dialogs/zoom_level_rules.h"

namespace tarn {
namespace {

const SourceImage kPhoto{4000, 3000, 72.0, 72.0};

SizeFields fieldsOf(SizeUnit unit, double width, double height, bool keepAspect = true) {
    SizeFields fields;
    fields.unit = unit;
    fields.width = width;
    fields.height = height;
    fields.keepAspect = keepAspect;
    return fields;
}

TEST(ResizeRules, PixelSizeInEveryUnitFollowsTheChosenResolution) {
    // 144 dpi typed for a 72 dpi photo: an inch holds twice the pixels.
    const double scale = resizeScale(kPhoto, 144, DpiUnit::PixelsPerInch);
    EXPECT_DOUBLE_EQ(scale, 2.0);
    const SizeArithmetic size(kPhoto, scale, false);
    EXPECT_EQ(size.pixelSize(fieldsOf(SizeUnit::Pixels, 2000.5, 1499.4)), (PixelSize{2001, 1499}));
    EXPECT_EQ(size.pixelSize(fieldsOf(SizeUnit::Inches, 10, 5)), (PixelSize{1440, 720}));
    EXPECT_EQ(size.pixelSize(fieldsOf(SizeUnit::Cm, 2.54, 25.4)), (PixelSize{144, 1440}));
    EXPECT_EQ(size.pixelSize(fieldsOf(SizeUnit::Percent, 50, 25)), (PixelSize{2000, 750}));
    // Back to values, three decimals.
    EXPECT_DOUBLE_EQ(size.valueFromPixels(Axis::Width, 1000, SizeUnit::Inches), 6.944);
    EXPECT_DOUBLE_EQ(size.valueFromPixels(Axis::Width, 1000, SizeUnit::Cm), 17.639);
    EXPECT_DOUBLE_EQ(size.valueFromPixels(Axis::Height, 1000, SizeUnit::Percent), 33.333);
    EXPECT_DOUBLE_EQ(size.valueFromPixels(Axis::Height, 1234, SizeUnit::Pixels), 1234);

    // Different horizontal and vertical resolutions keep their ratio.
    const SourceImage uneven{100, 100, 100.0, 50.0};
    ResizeResult result;
    ASSERT_TRUE(
        checkResize(uneven, fieldsOf(SizeUnit::Inches, 1, 1), 100, DpiUnit::PixelsPerInch, result)
            .ok());
    EXPECT_DOUBLE_EQ(result.dpiX, 200.0);
    EXPECT_DOUBLE_EQ(result.dpiY, 100.0);
    EXPECT_EQ(result.width, 200);
    EXPECT_EQ(result.height, 100);
}

TEST(ResizeRules, FilterEntriesNameTheLibrarysFilters) {
    const FREE_IMAGE_FILTER expected[] = {FILTER_BOX,     FILTER_BILINEAR,   FILTER_BSPLINE,
                                          FILTER_BICUBIC, FILTER_CATMULLROM, FILTER_LANCZOS3};
    for (std::size_t entry = 0; entry < kResampleFilterNames.size(); ++entry) {
        EXPECT_EQ(kLibraryFilterNumbers[entry], expected[entry]) << kResampleFilterNames[entry];
    }
}

TEST(ResizeRules, KeepAspectDerivesTheOtherBoxOnlyWhenNotYetProportional) {
    const SizeArithmetic size(kPhoto, 1, false);
    // Height 1500 px typed over a width of 4000: the width follows.
    EXPECT_EQ(size.widthTextAfterHeightTyped(fieldsOf(SizeUnit::Pixels, 4000, 1500)), "2000");
    // In per cent: three decimals.
    EXPECT_EQ(size.widthTextAfterHeightTyped(fieldsOf(SizeUnit::Percent, 100, 50)), "50.000");
    EXPECT_EQ(size.heightTextAfterWidthTyped(fieldsOf(SizeUnit::Percent, 30, 100)), "30.000");
    EXPECT_EQ(size.heightTextAfterWidthTyped(fieldsOf(SizeUnit::Inches, 10, 1)), "7.500");
    // Already proportional, or the flag is off: nothing is written.
    EXPECT_EQ(size.heightTextAfterWidthTyped(fieldsOf(SizeUnit::Pixels, 2000, 1500)), std::nullopt);
    EXPECT_EQ(size.heightTextAfterWidthTyped(fieldsOf(SizeUnit::Pixels, 2000, 10, false)),
              std::nullopt);
    // One side may follow the other up to rounding: 1001 x 751 is proportional (751 -> 1001).
    EXPECT_TRUE(size.isProportional({1001, 751}));
    EXPECT_FALSE(size.isProportional({1001, 700}));
    // A derived side is never below 1.
    EXPECT_EQ(size.heightTextAfterWidthTyped(fieldsOf(SizeUnit::Pixels, 0, 500)), "1");
    // Setting the flag derives the height from the width.
    EXPECT_EQ(size.heightTextAfterKeepAspect(fieldsOf(SizeUnit::Pixels, 800, 800)), "600");
    EXPECT_EQ(size.heightTextAfterKeepAspect(fieldsOf(SizeUnit::Pixels, 800, 800, false)),
              std::nullopt);
}

TEST(ResizeRules, TheCanvasProportionalTestHasNoLowerLimitOnTheWidthSide) {
    const SourceImage thin{1, 4000, 72, 72};
    const SizeFields fields = fieldsOf(SizeUnit::Pixels, 1, 100);
    // 100 px high gives a width of 0.025, which Resize lifts to 1 and the canvas does not.
    EXPECT_TRUE(SizeArithmetic(thin, 1, false).isProportional({1, 100}));
    EXPECT_FALSE(SizeArithmetic(thin, 1, true).isProportional({1, 100}));
    EXPECT_EQ(SizeArithmetic(thin, 1, false).heightTextAfterWidthTyped(fields), std::nullopt);
    EXPECT_EQ(SizeArithmetic(thin, 1, true).heightTextAfterWidthTyped(fields), "4000");
    // Inches and centimetres use the source resolution, whatever scale is passed.
    const SizeArithmetic canvas(kPhoto, 5, true);
    EXPECT_EQ(canvas.pixels(Axis::Width, 10, SizeUnit::Inches), 720);
    EXPECT_EQ(canvas.pixels(Axis::Height, 2.54, SizeUnit::Cm), 72);
    EXPECT_DOUBLE_EQ(canvas.valueFromPixels(Axis::Width, 100, SizeUnit::Cm), 3.528);
}

TEST(ResizeRules, ChangingTheUnitReExpressesTheSameSize) {
    const SizeArithmetic size(kPhoto, 1, false);
    SizeFields fields = fieldsOf(SizeUnit::Pixels, 720, 360);
    fields.preset = 4;
    size.changeUnit(fields, SizeUnit::Inches);
    EXPECT_EQ(fields.unit, SizeUnit::Inches);
    EXPECT_DOUBLE_EQ(fields.width, 10);
    EXPECT_DOUBLE_EQ(fields.height, 5);
    EXPECT_EQ(fields.preset, 0);
    size.changeUnit(fields, SizeUnit::Cm);
    EXPECT_DOUBLE_EQ(fields.width, 25.4);
    size.changeUnit(fields, SizeUnit::Percent);
    EXPECT_DOUBLE_EQ(fields.width, 18);
    EXPECT_DOUBLE_EQ(fields.height, 12);
    size.changeUnit(fields, SizeUnit::Pixels);
    EXPECT_EQ(size.pixelSize(fields), (PixelSize{720, 360}));
}

TEST(ResizeRules, DpiUnitConversionRoundsToThreeDecimalsEachWay) {
    const double perCm = convertDpiValue(300, DpiUnit::PixelsPerInch, DpiUnit::PixelsPerCm);
    EXPECT_EQ(fieldText(perCm), "118.11");
    const double back = convertDpiValue(perCm, DpiUnit::PixelsPerCm, DpiUnit::PixelsPerInch);
    EXPECT_EQ(fieldText(back), "299.999");
    EXPECT_EQ(convertDpiValue(300, DpiUnit::PixelsPerCm, DpiUnit::PixelsPerCm), 300);
    // 118.11 pixels/cm is 299.9994 pixels/inch: s follows the unit.
    EXPECT_NEAR(resizeScale(kPhoto, perCm, DpiUnit::PixelsPerCm), 299.9994 / 72, 1e-9);
    EXPECT_EQ(startDpiValue({10, 10, 299.9994, 300.2}), 300);
}

TEST(ResizeRules, OkChecksResolutionThenWidthThenHeight) {
    ResizeResult result;
    // Both the resolution and the width are wrong: the resolution is named.
    SizeCheck check = checkResize(kPhoto, fieldsOf(SizeUnit::Pixels, 10000, 10), 6000,
                                  DpiUnit::PixelsPerInch, result);
    EXPECT_EQ(check.box, SizeBox::Dpi);
    EXPECT_EQ(check.message, "DPI is invalid!");
    check = checkResize(kPhoto, fieldsOf(SizeUnit::Pixels, 10000, 0), 300, DpiUnit::PixelsPerInch,
                        result);
    EXPECT_EQ(check.box, SizeBox::Width);
    EXPECT_EQ(check.message, "Image size is invalid!");
    check = checkResize(kPhoto, fieldsOf(SizeUnit::Pixels, 9999, 0), 300, DpiUnit::PixelsPerInch,
                        result);
    EXPECT_EQ(check.box, SizeBox::Height);
    // 0.4 dpi rounds to 0; 5000.4 to 5000.
    EXPECT_EQ(
        checkResize(kPhoto, fieldsOf(SizeUnit::Pixels, 1, 1), 0.4, DpiUnit::PixelsPerInch, result)
            .box,
        SizeBox::Dpi);
    EXPECT_TRUE(checkResize(kPhoto, fieldsOf(SizeUnit::Pixels, 1, 9999), 5000.4,
                            DpiUnit::PixelsPerInch, result)
                    .ok());
    EXPECT_EQ(result.width, 1);
    EXPECT_EQ(result.height, 9999);
    // 2000 pixels/cm is 5080 dpi.
    EXPECT_EQ(
        checkResize(kPhoto, fieldsOf(SizeUnit::Pixels, 1, 1), 2000, DpiUnit::PixelsPerCm, result)
            .box,
        SizeBox::Dpi);

    // Absurd values are refused, not wrapped into range.
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double bad : {-5.0, 1e300, -1e300, inf, nan}) {
        EXPECT_EQ(checkResize(kPhoto, fieldsOf(SizeUnit::Pixels, bad, 10), 72,
                              DpiUnit::PixelsPerInch, result)
                      .box,
                  SizeBox::Width)
            << bad;
        EXPECT_EQ(checkResize(kPhoto, fieldsOf(SizeUnit::Percent, 10, bad), 72,
                              DpiUnit::PixelsPerInch, result)
                      .box,
                  SizeBox::Height)
            << bad;
        EXPECT_EQ(checkResize(kPhoto, fieldsOf(SizeUnit::Pixels, 10, 10), bad,
                              DpiUnit::PixelsPerInch, result)
                      .box,
                  SizeBox::Dpi)
            << bad;
        PixelSize canvas;
        EXPECT_EQ(checkCanvas(kPhoto, fieldsOf(SizeUnit::Inches, bad, 10), canvas).box,
                  SizeBox::Width)
            << bad;
    }
    PixelSize canvas;
    EXPECT_EQ(checkCanvas(kPhoto, fieldsOf(SizeUnit::Pixels, 10, 10000), canvas).box,
              SizeBox::Height);
    ASSERT_TRUE(checkCanvas(kPhoto, fieldsOf(SizeUnit::Percent, 50, 10), canvas).ok());
    EXPECT_EQ(canvas, (PixelSize{2000, 300}));
}

TEST(ResizeRules, AnImageWithoutResolutionIsTakenAt72Dpi) {
    const SourceImage none = withUsableResolution({640, 480, 0, 0});
    EXPECT_EQ(none.dpiX, 72);
    EXPECT_EQ(none.dpiY, 72);
    EXPECT_EQ(withUsableResolution({640, 480, 300, 0}).dpiX, 300);
    // Without it, no typed resolution could ever pass.
    EXPECT_EQ(resizeScale({640, 480, 0, 0}, 72, DpiUnit::PixelsPerInch), 0);
    const SizeArithmetic noSource({}, 0, false);
    EXPECT_EQ(noSource.valueFromPixels(Axis::Width, 100, SizeUnit::Inches), 0);
    EXPECT_EQ(noSource.valueFromPixels(Axis::Width, 100, SizeUnit::Percent), 0);
    EXPECT_EQ(noSource.heightTextAfterWidthTyped(fieldsOf(SizeUnit::Pixels, 5, 7)), std::nullopt);
}

TEST(NumberText, RoundsHalvesAwayFromZeroAndKeepsAbsurdValuesOutOfRange) {
    EXPECT_EQ(roundedPixels(2.5), 3);
    EXPECT_EQ(roundedPixels(-2.5), -3);
    EXPECT_EQ(roundedPixels(2.4999), 2);
    EXPECT_EQ(roundedPixels(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_GT(roundedPixels(1e300), 9999);
    EXPECT_LT(roundedPixels(-std::numeric_limits<double>::infinity()), 0);
}

TEST(NumberText, BoxesReadLenientlyAndFieldsReadLikeScanf) {
    EXPECT_EQ(leadingNumber("12.5 cm"), 12.5);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber("  -3e2x"), -300);
    EXPECT_EQ(readFieldText("abc"), std::nullopt);
    EXPECT_EQ(readFieldText(""), std::nullopt);
    EXPECT_EQ(readFieldText("-"), std::nullopt);
    EXPECT_EQ(readFieldText("+-5"), std::nullopt);
    EXPECT_EQ(readFieldText(" +7"), 7);
    EXPECT_EQ(readFieldText("50.000"), 50);
    EXPECT_EQ(readFieldText("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(readFieldText("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(readFieldText("1e-999"), 0);

    EXPECT_EQ(leadingInteger("150.5"), 150);
    EXPECT_EQ(leadingInteger(" -20"), -20);
    EXPECT_EQ(leadingInteger("x5"), 0);
    EXPECT_EQ(leadingInteger("99999999999999999999"), std::numeric_limits<int>::max());
    EXPECT_EQ(leadingInteger("-99999999999999999999"), std::numeric_limits<int>::min());

    EXPECT_EQ(readUnsignedText(" 42 "), 42u);
    EXPECT_EQ(readUnsignedText("12a"), std::nullopt);
    EXPECT_EQ(readUnsignedText("-3"), std::nullopt);
    EXPECT_EQ(readUnsignedText(""), std::nullopt);
    EXPECT_EQ(readUnsignedText("99999999999999999999999"),
              std::numeric_limits<unsigned long long>::max());
}

TEST(NumberText, FieldsAreWrittenWithFifteenSignificantDigits) {
    EXPECT_EQ(fieldText(50), "50");
    EXPECT_EQ(fieldText(0.1 + 0.2), "0.3");
    EXPECT_EQ(fieldText(6.944), "6.944");
    EXPECT_EQ(fieldText(123456789012345678.0), "1.23456789012346e+17");
    EXPECT_EQ(threeDecimalsText(50), "50.000");
    EXPECT_EQ(threeDecimalsText(2.0005), "2.001");
}

TEST(ColorDepthRules, StartRangesReplacementsAndOk) {
    EXPECT_EQ(depthIndexForBpp(4), 1);
    EXPECT_EQ(depthIndexForBpp(8), 2);
    EXPECT_EQ(depthIndexForBpp(24), 3);
    EXPECT_EQ(depthIndexForBpp(32), 4);
    for (const unsigned other : {0u, 1u, 16u, 48u, 128u}) {
        EXPECT_EQ(depthIndexForBpp(other), kOneBitDepth) << other;
    }
    EXPECT_EQ(countTextForDepth(1, "300"), "16");
    EXPECT_EQ(countTextForDepth(2, "300"), "256");
    EXPECT_EQ(countTextForDepth(3, "1"), "2");
    EXPECT_EQ(countTextForDepth(4, "junk"), "2");
    EXPECT_EQ(countTextForDepth(1, "16"), std::nullopt);
    EXPECT_EQ(countTextForDepth(2, "200"), std::nullopt);
    EXPECT_EQ(colorCountMessage(1), "You must specify a valid maximum number of colors (2 - 16).");
    EXPECT_EQ(colorCountMessage(3), "You must specify a valid maximum number of colors (2 - 256).");

    EXPECT_EQ(checkDepth({3, true, false, "300"}), std::nullopt);
    EXPECT_EQ(checkDepth({1, true, false, "17"}), std::nullopt);
    EXPECT_EQ(checkDepth({2, true, false, "-5"}), std::nullopt);
    const auto limited = checkDepth({1, true, true, "16"});
    ASSERT_TRUE(limited.has_value());
    EXPECT_EQ(limited->bitsPerPixel, 4u);
    EXPECT_EQ(limited->maxColors, 16u);
    EXPECT_TRUE(limited->grayscale);
    // An unchecked limit, or 1-bit, ignores whatever the box holds.
    const auto unlimited = checkDepth({4, false, false, "300"});
    ASSERT_TRUE(unlimited.has_value());
    EXPECT_EQ(unlimited->bitsPerPixel, 32u);
    EXPECT_EQ(unlimited->maxColors, 0u);
    const auto oneBit = checkDepth({0, true, true, "9999"});
    ASSERT_TRUE(oneBit.has_value());
    EXPECT_EQ(oneBit->bitsPerPixel, 1u);
    EXPECT_EQ(oneBit->maxColors, 0u);
}

TEST(ZoomLevelRules, LevelsOutsideTheRangeAreRefusedAndTheCurrentOneChangesNothing) {
    EXPECT_EQ(zoomPercent(1.0), 100);
    EXPECT_EQ(zoomPercent(0.125), 13);  // 12.5 rounds away from zero
    EXPECT_TRUE(zoomStep(ZoomChoice::Specify, "5", 1.0).refused);
    EXPECT_TRUE(zoomStep(ZoomChoice::Specify, "1601", 1.0).refused);
    EXPECT_TRUE(zoomStep(ZoomChoice::Specify, "", 1.0).refused);
    EXPECT_TRUE(zoomStep(ZoomChoice::Specify, "99999999999999", 1.0).refused);
    const ZoomStep same = zoomStep(ZoomChoice::Specify, "13", 0.125);
    EXPECT_FALSE(same.refused);
    EXPECT_FALSE(same.zoom.has_value());
    EXPECT_FALSE(same.fit.has_value());
    const ZoomStep lowest = zoomStep(ZoomChoice::Specify, "7", 1.0);
    ASSERT_TRUE(lowest.zoom.has_value());
    EXPECT_DOUBLE_EQ(*lowest.zoom, 0.07);
    EXPECT_DOUBLE_EQ(*zoomStep(ZoomChoice::Specify, "1600%", 1.0).zoom, 16.0);
    // A fit ignores the text.
    const ZoomStep fit = zoomStep(ZoomChoice::FitHeight, "junk", 1.0);
    EXPECT_FALSE(fit.refused);
    EXPECT_EQ(fit.fit, 2);
}

}  // namespace
}  // namespace tarn
