#include "imaging/exif_text.h"

#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <functional>
#include <limits>
#include <optional>

namespace tarn {
namespace {

std::string printed(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string printed(const char* format, ...) {
    std::array<char, 128> buffer{};
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    return written < 0 ? std::string() : std::string(buffer.data());
}

// "%d" of a value already truncated or rounded; a division by 0 prints as it came out.
std::string wholeNumberText(double value) {
    if (std::isfinite(value) && value >= std::numeric_limits<int>::min() &&
        value <= std::numeric_limits<int>::max()) {
        return printed("%d", static_cast<int>(value));
    }
    return printed("%.0f", value);
}

std::string cut(std::string_view text, std::size_t limit) {
    return std::string(text.substr(0, limit));
}

bool isUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// Camera texts are meant to be ASCII; what is not UTF-8 either is taken as Latin-1, so that
// every text shows as something.
std::string displayable(std::string_view text) {
    if (isUtf8(text)) {
        return std::string(text);
    }
    std::string converted;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            converted += c;
        } else {
            converted += static_cast<char>(0xC0 | (byte >> 6));
            converted += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return converted;
}

bool holdsBytes(const ExifItem& item) {
    return item.type == kExifAscii || item.type == kExifByte || item.type == kExifUndefined;
}

using Rule = std::function<std::optional<std::string>(const ExifItem&)>;

Rule textRule(std::size_t limit) {
    return [limit](const ExifItem& item) -> std::optional<std::string> {
        if (!holdsBytes(item)) {
            return std::nullopt;
        }
        return displayable(item.text().substr(0, limit));
    };
}

Rule numberRule(std::function<std::string(std::uint32_t)> format) {
    return [format = std::move(format)](const ExifItem& item) -> std::optional<std::string> {
        const auto value = item.unsignedAt();
        if (!value) {
            return std::nullopt;
        }
        return format(*value);
    };
}

Rule rationalRule(std::function<std::string(const ExifRational&)> format) {
    return [format = std::move(format)](const ExifItem& item) -> std::optional<std::string> {
        const auto value = item.rationalAt();
        if (!value) {
            return std::nullopt;
        }
        return format(*value);
    };
}

Rule rationalPrinted(const char* format) {
    return rationalRule([format](const ExifRational& r) {
    // The formats are literals of this file; the compiler cannot see through the table.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        return printed(format, r.value());
#pragma GCC diagnostic pop
    });
}

Rule bytesRule(std::function<std::string(const std::vector<std::uint8_t>&)> format,
               std::size_t minimum) {
    return
        [format = std::move(format), minimum](const ExifItem& item) -> std::optional<std::string> {
            if (!holdsBytes(item) || item.value.size() < minimum) {
                return std::nullopt;
            }
            return format(item.value);
        };
}

std::string decimalOrName(std::uint32_t value, std::uint32_t named, const char* name) {
    return value == named ? std::string(name) : printed("%u", value);
}

std::string dateText(const ExifItem& item) {
    return displayable(item.text().substr(0, 19));
}

struct TableRow {
    ExifTableEntry entry;
    Rule rule;
};

const std::vector<TableRow>& tableRows() {
    static const std::vector<TableRow> rows = [] {
        const Rule text = textRule(std::string::npos);
        const Rule date = [](const ExifItem& item) -> std::optional<std::string> {
            if (!holdsBytes(item)) {
                return std::nullopt;
            }
            return dateText(item);
        };
        const Rule decimal = numberRule([](std::uint32_t v) { return printed("%u", v); });
        const Rule oneDecimal = rationalPrinted("%.1f");
        const Rule fNumber = rationalPrinted("f/%.1f");
        const Rule unit = numberRule(resolutionUnitName);
        const Rule version = bytesRule(
            [](const std::vector<std::uint8_t>& bytes) {
                return exifVersionText(
                    std::string_view(reinterpret_cast<const char*>(bytes.data()), 4));
            },
            4);
        return std::vector<TableRow>{
            {{"Camera make", exif_tag::kMake}, text},
            {{"Camera model", exif_tag::kModel}, text},
            {{"Orientation", exif_tag::kOrientation}, numberRule(orientationName)},
            {{"X resolution", 0x011A}, oneDecimal},
            {{"Y resolution", 0x011B}, oneDecimal},
            {{"Resolution unit", 0x0128}, unit},
            {{"Software", 0x0131}, text},
            {{"Date/time", 0x0132}, date},
            {{"YCbCr Positioning", 0x0213}, numberRule([](std::uint32_t v) {
                 return v == 1 ? std::string("Centered") : decimalOrName(v, 2, "Cosited");
             })},
            {{"", 0}, nullptr},
            {{"Exposure time", exif_tag::kExposureTime}, rationalRule(exposureTimeText)},
            {{"F-number", exif_tag::kFNumber}, fNumber},
            {{"Exposure program", exif_tag::kExposureProgram}, numberRule(exposureProgramName)},
            {{"ISO speed", exif_tag::kIsoSpeed}, decimal},
            {{"Date/time original", 0x9003}, date},
            {{"Date/time digitized", 0x9004}, date},
            {{"Components configuration", 0x9101}, bytesRule(componentsConfigurationText, 0)},
            {{"Compressed BPP", 0x9102}, rationalRule([](const ExifRational& r) {
                 return wholeNumberText(std::trunc(r.value() + 0.5));
             })},
            {{"Aperture", 0x9202}, fNumber},
            {{"Brightness", 0x9203}, rationalPrinted("%.2f")},
            {{"Exposure bias", exif_tag::kExposureBias}, rationalPrinted("%.2f eV")},
            {{"Max aperture", 0x9205}, fNumber},
            {{"Metering mode", 0x9207}, numberRule(meteringModeName)},
            {{"Light source", 0x9208}, numberRule(lightSourceName)},
            {{"Flash", 0x9209}, numberRule(flashText)},
            {{"Focal length", exif_tag::kFocalLength}, rationalPrinted("%.1f mm")},
            {{"Color space", 0xA001}, numberRule(colorSpaceName)},
            {{"Pixel X dimention", 0xA002}, decimal},
            {{"Pixel Y dimention", 0xA003}, decimal},
            {{"Focal plane X res", 0xA20E}, oneDecimal},
            {{"Focal plane Y res", 0xA20F}, oneDecimal},
            {{"Focal plane resolution unit", 0xA210}, unit},
            {{"Sensing method", 0xA217}, numberRule(sensingMethodName)},
            {{"Scene type", 0xA301},
             bytesRule(
                 [](const std::vector<std::uint8_t>& bytes) {
                     return decimalOrName(bytes[0], 1, "Directly photographed");
                 },
                 1)},
            {{"", 0}, nullptr},
            {{"Exif version", 0x9000}, version},
            {{"FlashPix version", 0xA000}, version},
            {{"File source", 0xA300},
             bytesRule(
                 [](const std::vector<std::uint8_t>& bytes) {
                     return decimalOrName(bytes[0], 3, "DSC");
                 },
                 1)},
        };
    }();
    return rows;
}

template <std::size_t N>
std::string nameFrom(const std::array<const char*, N>& names, std::uint32_t value,
                     const char* otherwise) {
    return value < N ? std::string(names[value]) : std::string(otherwise);
}

}  // namespace

std::string exposureTimeText(const ExifRational& time) {
    const double seconds = time.value();
    if (seconds <= 0.5) {
        return "1/" + wholeNumberText(std::round(1.0 / seconds)) + " s";
    }
    return printed("%.3f s", seconds);
}

std::string exifVersionText(std::string_view fourCharacters) {
    const std::string_view c = fourCharacters.substr(0, 4);
    std::string text = std::string(c.substr(0, 2)) + "." + std::string(c.substr(2));
    const std::size_t first = text.find_first_not_of('0');
    const std::size_t last = text.find_last_not_of('0');
    text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    if (!text.empty() && text.back() == '.') {
        text += '0';
    }
    return text;
}

std::string exposureProgramName(std::uint32_t value) {
    static constexpr std::array<const char*, 9> kNames = {
        "Not defined",       "Manual",           "Normal program",
        "Aperture priority", "Shutter priority", "Creative program",
        "Action program",    "Portrait mode",    "Landscape mode"};
    return nameFrom(kNames, value, "Reserved");
}

std::string meteringModeName(std::uint32_t value) {
    static constexpr std::array<const char*, 7> kNames = {
        "Unknown", "Average", "CenterWeightedAverage", "Spot", "MultiSpot", "Pattern", "Partial"};
    return value == 255 ? std::string("Other") : nameFrom(kNames, value, "Reserved");
}

std::string lightSourceName(std::uint32_t value) {
    static constexpr std::array<const char*, 25> kNames = {
        "Unknown",
        "Daylight",
        "Flourescent",
        "Tungsten (incandescent light)",
        "Flash",
        "Unknown",
        "Unknown",
        "Unknown",
        "Unknown",
        "Fine weather",
        "Cloudy weather",
        "Shade",
        "Daylight fluorescent (D 5700 - 7100K)",
        "Day white fluorescent (N 4600 - 5400K)",
        "Cool white fluorescent (W 3900 - 4500K)",
        "White fluorescent (WW 3200 - 3700K)",
        "Unknown",
        "Standard light A",
        "Standard light B",
        "Standard light C",
        "D55",
        "D65",
        "D75",
        "D50",
        "ISO studio tungsten"};
    if (value == 255) {
        return "Other light source";
    }
    return nameFrom(kNames, value, value < 255 ? "Reserved" : "Unknown");
}

std::string flashText(std::uint32_t value) {
    struct Named {
        std::uint32_t value;
        const char* text;
    };
    static constexpr std::array<Named, 22> kTexts = {{
        {0, "Flash did not fire"},
        {1, "Flash fired"},
        {5, "Strobe return light not detected"},
        {7, "Strobe return light detected"},
        {9, "Flash fired, compulsory flash mode"},
        {13, "Flash fired, compulsory flash mode, return light not detected"},
        {15, "Flash fired, compulsory flash mode, return light detected"},
        {16, "Flash did not fire, compulsory flash mode"},
        {24, "Flash did not fire, auto mode"},
        {25, "Flash fired, auto mode"},
        {29, "Flash fired, auto mode, return light not detected"},
        {31, "Flash fired, auto mode, return light detected"},
        {32, "No flash function"},
        {65, "Flash fired, red-eye reduction mode"},
        {69, "Flash fired, red-eye reduction mode, return light not detected"},
        {71, "Flash fired, red-eye reduction mode, return light detected"},
        {73, "Flash fired, compulsory flash mode, red-eye reduction mode"},
        {77,
         "Flash fired, compulsory flash mode, red-eye reduction mode, return light not "
         "detected"},
        {79, "Flash fired, compulsory flash mode, red-eye reduction mode, return light detected"},
        {89, "Flash fired, auto mode, red-eye reduction mode"},
        {93, "Flash fired, auto mode, return light not detected, red-eye reduction mode"},
        {95, "Flash fired, auto mode, return light detected, red-eye reduction mode"},
    }};
    for (const Named& named : kTexts) {
        if (named.value == value) {
            return named.text;
        }
    }
    return {};
}

std::string orientationName(std::uint32_t value) {
    static constexpr std::array<const char*, 9> kNames = {
        "",         "Top left",  "Top right",    "Bottom right", "Bottom left",
        "Left top", "Right top", "Right bottom", "Left bottom"};
    return nameFrom(kNames, value, "");
}

std::string sensingMethodName(std::uint32_t value) {
    static constexpr std::array<const char*, 8> kNames = {"Reserved",
                                                          "Not defined",
                                                          "One-chip color area sensor",
                                                          "Two-chip color area sensor",
                                                          "Three-chip color area sensor",
                                                          "Color sequential area sensor",
                                                          "Trilinear sensor",
                                                          "Color sequential linear sensor"};
    return nameFrom(kNames, value, "Reserved");
}

std::string colorSpaceName(std::uint32_t value) {
    if (value == 1) {
        return "sRGB";
    }
    return value == 65535 ? "Uncalibrated" : "Reserved";
}

std::string resolutionUnitName(std::uint32_t value) {
    return value == 2 ? "Inch" : "Centimeter";
}

std::string componentsConfigurationText(const std::vector<std::uint8_t>& bytes) {
    static constexpr std::array<const char*, 7> kNames = {"", "Y", "Cb", "Cr", "R", "G", "B"};
    std::string text;
    for (std::size_t i = 0; i < bytes.size() && i < 4; ++i) {
        text += nameFrom(kNames, bytes[i], "");
    }
    return text;
}

ExifPanelTexts exifPanelTexts(const ExifProperties& store) {
    constexpr std::size_t kLongText = 999;
    constexpr std::size_t kShortText = 99;
    ExifPanelTexts texts;
    const auto fill = [&store](std::string& text, std::uint32_t tag, const Rule& rule,
                               std::size_t limit) {
        if (const ExifItem* item = store.find(tag)) {
            text = cut(rule(*item).value_or(std::string()), limit);
        }
    };
    // Texts are cut before they are made displayable, which may lengthen them.
    fill(texts.make, exif_tag::kMake, textRule(kLongText), std::string::npos);
    fill(texts.model, exif_tag::kModel, textRule(kLongText), std::string::npos);
    fill(texts.exposureProgram, exif_tag::kExposureProgram, numberRule(exposureProgramName),
         kShortText);
    fill(texts.exposureBias, exif_tag::kExposureBias, rationalPrinted("%.2f eV"), kShortText);
    fill(texts.focalLength, exif_tag::kFocalLength, rationalPrinted("%.1f mm"), kShortText);
    fill(texts.exposureTime, exif_tag::kExposureTime, rationalRule(exposureTimeText), kShortText);
    fill(texts.fNumber, exif_tag::kFNumber, rationalPrinted("f/%.1f"), kShortText);
    fill(texts.iso, exif_tag::kIsoSpeed,
         numberRule([](std::uint32_t v) { return printed("%u", v); }), kShortText);
    return texts;
}

std::span<const ExifTableEntry> exifTableEntries() {
    static const std::vector<ExifTableEntry> entries = [] {
        std::vector<ExifTableEntry> list;
        for (const TableRow& row : tableRows()) {
            list.push_back(row.entry);
        }
        return list;
    }();
    return entries;
}

std::vector<ExifRow> exifTableRows(const ExifProperties& store) {
    std::vector<ExifRow> rows;
    for (const TableRow& row : tableRows()) {
        if (row.entry.tag == 0) {
            rows.push_back({});
            continue;
        }
        if (const ExifItem* item = store.find(row.entry.tag)) {
            if (auto value = row.rule(*item)) {
                rows.push_back({row.entry.label, std::move(*value)});
            }
        }
    }
    return rows;
}

}  // namespace tarn
