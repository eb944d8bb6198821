#include "imaging/exif_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tarn {
namespace {

ExifItem rational(std::uint32_t tag, std::int64_t numerator, std::int64_t denominator,
                  bool isSigned = false) {
    ExifItem item;
    item.tag = tag;
    item.type = isSigned ? kExifSignedRational : kExifRational;
    item.count = 1;
    item.group = ExifGroup::Photo;
    item.value.resize(8);
    const auto n = static_cast<std::uint32_t>(numerator);
    const auto d = static_cast<std::uint32_t>(denominator);
    std::memcpy(item.value.data(), &n, 4);
    std::memcpy(item.value.data() + 4, &d, 4);
    return item;
}

ExifItem shortValue(std::uint32_t tag, std::uint16_t value, ExifGroup group = ExifGroup::Photo) {
    ExifItem item{tag, kExifShort, 1, group, std::vector<std::uint8_t>(2)};
    std::memcpy(item.value.data(), &value, 2);
    return item;
}

ExifItem bytesValue(std::uint32_t tag, std::uint16_t type, std::string_view bytes) {
    return ExifItem{tag, type, static_cast<std::uint32_t>(bytes.size()), ExifGroup::Image,
                    std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

std::string rowValue(const std::vector<ExifRow>& rows, const std::string& label) {
    for (const ExifRow& row : rows) {
        if (row.label == label) {
            return row.value;
        }
    }
    return "(no row)";
}

TEST(ExifText, ExposureTimesUpToHalfASecondAreFractions) {
    EXPECT_EQ(exposureTimeText({1, 250}), "1/250 s");
    EXPECT_EQ(exposureTimeText({1, 2}), "1/2 s");
    EXPECT_EQ(exposureTimeText({2, 1}), "2.000 s");
    EXPECT_EQ(exposureTimeText({10, 25}), "1/3 s");  // 2.5 rounds up
    EXPECT_EQ(exposureTimeText({3, 5}), "0.600 s");
    EXPECT_EQ(exposureTimeText({10, 3}), "3.333 s");
    // The division by 0 shows what it gives, without a crash.
    EXPECT_EQ(exposureTimeText({1, 0}), "inf s");
    EXPECT_EQ(exposureTimeText({0, 1}), "1/inf s");
}

TEST(ExifText, VersionsDropTheirPaddingZeros) {
    EXPECT_EQ(exifVersionText("0220"), "2.2");
    EXPECT_EQ(exifVersionText("0100"), "1.0");
    EXPECT_EQ(exifVersionText("0221"), "2.21");
    EXPECT_EQ(exifVersionText("0230"), "2.3");
    EXPECT_EQ(exifVersionText("0000"), ".0");
}

TEST(ExifText, NameTablesCoverTheirValuesAndTheRest) {
    EXPECT_EQ(orientationName(1), "Top left");
    EXPECT_EQ(orientationName(8), "Left bottom");
    EXPECT_EQ(orientationName(0), "");
    EXPECT_EQ(orientationName(9), "");
    EXPECT_EQ(lightSourceName(23), "D50");
    EXPECT_EQ(lightSourceName(30), "Reserved");
    EXPECT_EQ(lightSourceName(255), "Other light source");
    EXPECT_EQ(lightSourceName(7), "Unknown");
    EXPECT_EQ(lightSourceName(16), "Unknown");
    EXPECT_EQ(lightSourceName(256), "Unknown");
    EXPECT_EQ(lightSourceName(2), "Flourescent");
    EXPECT_EQ(lightSourceName(24), "ISO studio tungsten");
    EXPECT_EQ(exposureProgramName(0), "Not defined");
    EXPECT_EQ(exposureProgramName(8), "Landscape mode");
    EXPECT_EQ(exposureProgramName(9), "Reserved");
    EXPECT_EQ(meteringModeName(2), "CenterWeightedAverage");
    EXPECT_EQ(meteringModeName(6), "Partial");
    EXPECT_EQ(meteringModeName(7), "Reserved");
    EXPECT_EQ(meteringModeName(255), "Other");
    EXPECT_EQ(flashText(0), "Flash did not fire");
    EXPECT_EQ(flashText(16), "Flash did not fire, compulsory flash mode");
    EXPECT_EQ(flashText(95),
              "Flash fired, auto mode, return light detected, red-eye reduction mode");
    EXPECT_EQ(flashText(2), "");
    EXPECT_EQ(sensingMethodName(1), "Not defined");
    EXPECT_EQ(sensingMethodName(7), "Color sequential linear sensor");
    EXPECT_EQ(sensingMethodName(0), "Reserved");
    EXPECT_EQ(sensingMethodName(8), "Reserved");
    EXPECT_EQ(colorSpaceName(1), "sRGB");
    EXPECT_EQ(colorSpaceName(65535), "Uncalibrated");
    EXPECT_EQ(colorSpaceName(2), "Reserved");
    EXPECT_EQ(resolutionUnitName(2), "Inch");
    EXPECT_EQ(resolutionUnitName(3), "Centimeter");
    EXPECT_EQ(resolutionUnitName(1), "Centimeter");
    EXPECT_EQ(componentsConfigurationText({1, 2, 3, 0}), "YCbCr");
    EXPECT_EQ(componentsConfigurationText({4, 5, 6, 0}), "RGB");
    EXPECT_EQ(componentsConfigurationText({9, 1, 0, 2, 3}), "YCb");
}

TEST(ExifText, TheListKeepsItsOrderAndItsTwoEmptyRows) {
    const std::vector<ExifRow> none = exifTableRows(ExifProperties());
    ASSERT_EQ(none.size(), 2u);
    EXPECT_EQ(none[0], ExifRow{});
    EXPECT_EQ(none[1], ExifRow{});

    const ExifProperties store(
        {bytesValue(0x9000, kExifUndefined, "0220"), rational(exif_tag::kExposureTime, 1, 60),
         bytesValue(exif_tag::kMake, kExifAscii, std::string_view("Nikon\0", 6)),
         bytesValue(0x0213, kExifShort, std::string_view("\x02\x00", 2))});
    const std::vector<ExifRow> rows = exifTableRows(store);
    const std::vector<ExifRow> expected = {{"Camera make", "Nikon"},
                                           {"YCbCr Positioning", "Cosited"},
                                           {},
                                           {"Exposure time", "1/60 s"},
                                           {},
                                           {"Exif version", "2.2"}};
    EXPECT_EQ(rows, expected);
}

TEST(ExifText, OddValuesAreShownByTheRuleOrLeftOut) {
    std::vector<ExifItem> items;
    // Wrong types for known tags: a text as the exposure time, a rational as the ISO.
    items.push_back(bytesValue(exif_tag::kExposureTime, kExifAscii, "1/250"));
    items.push_back(rational(exif_tag::kIsoSpeed, 400, 1));
    // A date without a terminator, longer than a date.
    items.push_back(bytesValue(0x0132, kExifAscii, "2024:05:01 10:20:30 and more"));
    // A version too short to read.
    items.push_back(bytesValue(0xA000, kExifUndefined, "01"));
    items.push_back(shortValue(exif_tag::kOrientation, 9, ExifGroup::Image));
    items.push_back(rational(exif_tag::kFNumber, 0, 0));
    items.push_back(rational(exif_tag::kExposureBias, -2, 3, true));
    items.push_back(rational(0x9102, 5, 0));
    items.push_back(rational(0x011A, 300, 1));
    // A second focal length later in the file does not win over the first.
    items.push_back(rational(exif_tag::kFocalLength, 35, 1));
    items.push_back(rational(exif_tag::kFocalLength, 50, 1));
    const ExifProperties store(std::move(items));
    const std::vector<ExifRow> rows = exifTableRows(store);
    EXPECT_EQ(rowValue(rows, "Exposure time"), "(no row)");
    EXPECT_EQ(rowValue(rows, "ISO speed"), "(no row)");
    EXPECT_EQ(rowValue(rows, "FlashPix version"), "(no row)");
    EXPECT_EQ(rowValue(rows, "Date/time"), "2024:05:01 10:20:30");
    EXPECT_EQ(rowValue(rows, "Orientation"), "");
    EXPECT_EQ(rowValue(rows, "F-number").substr(0, 2), "f/");  // "f/nan" or "f/-nan"
    EXPECT_EQ(rowValue(rows, "Exposure bias"), "-0.67 eV");
    EXPECT_EQ(rowValue(rows, "Compressed BPP"), "inf");
    EXPECT_EQ(rowValue(rows, "X resolution"), "300.0");
    EXPECT_EQ(rowValue(rows, "Focal length"), "35.0 mm");
}

TEST(ExifText, PanelTextsAreFilledOnlyForTheirTags) {
    const ExifPanelTexts empty = exifPanelTexts(ExifProperties());
    EXPECT_EQ(empty.make + empty.model + empty.exposureProgram + empty.exposureBias +
                  empty.focalLength + empty.exposureTime + empty.fNumber + empty.iso,
              "");

    const std::string longModel(1500, 'm');
    const ExifProperties store(
        {bytesValue(exif_tag::kMake, kExifAscii, "Canon"),
         bytesValue(exif_tag::kModel, kExifAscii, longModel),
         shortValue(exif_tag::kExposureProgram, 2), rational(exif_tag::kExposureBias, 1, 3, true),
         rational(exif_tag::kFocalLength, 185, 10), rational(exif_tag::kExposureTime, 1, 250),
         rational(exif_tag::kFNumber, 28, 10), shortValue(exif_tag::kIsoSpeed, 100)});
    const ExifPanelTexts texts = exifPanelTexts(store);
    EXPECT_EQ(texts.make, "Canon");
    EXPECT_EQ(texts.model, std::string(999, 'm'));
    EXPECT_EQ(texts.exposureProgram, "Normal program");
    EXPECT_EQ(texts.exposureBias, "0.33 eV");
    EXPECT_EQ(texts.focalLength, "18.5 mm");
    EXPECT_EQ(texts.exposureTime, "1/250 s");
    EXPECT_EQ(texts.fNumber, "f/2.8");
    EXPECT_EQ(texts.iso, "100");
}

TEST(ExifText, ThumbnailTagsDoNotStandForThePicture) {
    const ExifProperties store({shortValue(exif_tag::kOrientation, 3, ExifGroup::Thumbnail)});
    EXPECT_EQ(store.find(exif_tag::kOrientation), nullptr);
    ASSERT_NE(store.find(exif_tag::kOrientation, ExifGroup::Thumbnail), nullptr);
    EXPECT_EQ(rowValue(exifTableRows(store), "Orientation"), "(no row)");
}

}  // namespace
}  // namespace tarn
