#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/exif_properties.h"

namespace tarn {

// Tag ids the EXIF panel and the properties dialog read.
namespace exif_tag {
constexpr std::uint32_t kMake = 0x010F;
constexpr std::uint32_t kModel = 0x0110;
constexpr std::uint32_t kOrientation = 0x0112;
constexpr std::uint32_t kExposureTime = 0x829A;
constexpr std::uint32_t kFNumber = 0x829D;
constexpr std::uint32_t kExposureProgram = 0x8822;
constexpr std::uint32_t kIsoSpeed = 0x8827;
constexpr std::uint32_t kExposureBias = 0x9204;
constexpr std::uint32_t kFocalLength = 0x920A;
}  // namespace exif_tag

// Exposure times up to half a second as "1/250 s" (the reciprocal rounded, halves up), longer
// ones as "2.000 s".
std::string exposureTimeText(const ExifRational& time);
// c1 c2 "." c3 c4 without leading and trailing zeros, "0" after a bare point: "0220" is "2.2".
std::string exifVersionText(std::string_view fourCharacters);

// The names of coded values; values without a name give "Reserved", "Unknown" or an empty
// text as each table has it.
std::string exposureProgramName(std::uint32_t value);
std::string meteringModeName(std::uint32_t value);
std::string lightSourceName(std::uint32_t value);
std::string flashText(std::uint32_t value);
std::string orientationName(std::uint32_t value);
std::string sensingMethodName(std::uint32_t value);
std::string colorSpaceName(std::uint32_t value);
std::string resolutionUnitName(std::uint32_t value);
std::string componentsConfigurationText(const std::vector<std::uint8_t>& bytes);

// The eight facts of the EXIF panel; a text is empty when its tag is missing or unreadable.
struct ExifPanelTexts {
    std::string make;
    std::string model;
    std::string exposureProgram;
    std::string exposureBias;
    std::string focalLength;
    std::string exposureTime;
    std::string fNumber;
    std::string iso;
};

// Make and model are cut to 999 bytes, the others to 99. Texts are UTF-8: bytes that are not
// are read as Latin-1.
ExifPanelTexts exifPanelTexts(const ExifProperties& store);

// One row of the properties dialog's EXIF list.
struct ExifRow {
    std::string label;
    std::string value;
    bool operator==(const ExifRow&) const = default;
};

// The tags of the list in their order; a tag of 0 is the empty separator row.
struct ExifTableEntry {
    const char* label;
    std::uint32_t tag;
};
std::span<const ExifTableEntry> exifTableEntries();

// The list's rows: each tag of the table the store has, formatted, and the two separator rows
// always; texts in UTF-8 as for the panel. An item whose type does not fit its rule (a text where a
// number belongs) is left out.
std::vector<ExifRow> exifTableRows(const ExifProperties& store);

}  // namespace tarn
