#include "imaging/exif_properties.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <sstream>

#include "fakes/temp_dir.h"
#include "imaging/exif_fixtures.h"
#include "imaging/exif_text.h"

namespace tarn {
namespace {

std::string printedNumber(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

using Format = std::function<std::string(const std::string&)>;

Format printedAs(const char* format) {
    return [format](const std::string& v) { return printedNumber(format, std::stod(v)); };
}

Format named(std::string (*name)(std::uint32_t)) {
    return [name](const std::string& v) { return name(static_cast<std::uint32_t>(std::stoul(v))); };
}

// Each row of the list: the tag's name for exiftool and the row's rule applied to what
// exiftool reads with -n.
const std::map<std::string, std::pair<std::string, Format>>& rowsByLabel() {
    const Format asIs = [](const std::string& v) { return v; };
    const Format apex = [](const std::string& v) {
        // exiftool reads the APEX value as an f-number; the list shows the stored value.
        return printedNumber("f/%.1f", 2.0 * std::log2(std::stod(v)));
    };
    const Format version = [](const std::string& v) { return exifVersionText(v); };
    static const std::map<std::string, std::pair<std::string, Format>> rows = {
        {"Camera make", {"IFD0:Make", asIs}},
        {"Camera model", {"IFD0:Model", asIs}},
        {"Orientation", {"IFD0:Orientation", named(orientationName)}},
        {"X resolution", {"IFD0:XResolution", printedAs("%.1f")}},
        {"Y resolution", {"IFD0:YResolution", printedAs("%.1f")}},
        {"Resolution unit", {"IFD0:ResolutionUnit", named(resolutionUnitName)}},
        {"Software", {"IFD0:Software", asIs}},
        {"Date/time", {"IFD0:ModifyDate", asIs}},
        {"YCbCr Positioning",
         {"IFD0:YCbCrPositioning",
          [](const std::string& v) { return v == "1"   ? "Centered"
                                            : v == "2" ? "Cosited"
                                                       : v; }}},
        {"Exposure time",
         {"ExposureTime",
          [](const std::string& v) {
              const double t = std::stod(v);
              return t <= 0.5 ? "1/" + std::to_string(static_cast<int>(1 / t + 0.5)) + " s"
                              : printedNumber("%.3f s", t);
          }}},
        {"F-number", {"FNumber", printedAs("f/%.1f")}},
        {"Exposure program", {"ExposureProgram", named(exposureProgramName)}},
        {"ISO speed", {"ISO", asIs}},
        {"Date/time original", {"DateTimeOriginal", asIs}},
        {"Date/time digitized", {"CreateDate", asIs}},
        {"Components configuration",
         {"ComponentsConfiguration",
          [](const std::string& v) {
              std::istringstream in(v);
              std::vector<std::uint8_t> bytes;
              for (unsigned b = 0; in >> b;) {
                  bytes.push_back(static_cast<std::uint8_t>(b));
              }
              return componentsConfigurationText(bytes);
          }}},
        {"Compressed BPP",
         {"CompressedBitsPerPixel",
          [](const std::string& v) {
              return std::to_string(static_cast<int>(std::stod(v) + 0.5));
          }}},
        {"Aperture", {"ApertureValue", apex}},
        {"Brightness", {"BrightnessValue", printedAs("%.2f")}},
        {"Exposure bias", {"ExposureCompensation", printedAs("%.2f eV")}},
        {"Max aperture", {"MaxApertureValue", apex}},
        {"Metering mode", {"MeteringMode", named(meteringModeName)}},
        {"Light source", {"LightSource", named(lightSourceName)}},
        {"Flash", {"Flash", named(flashText)}},
        {"Focal length", {"FocalLength", printedAs("%.1f mm")}},
        {"Color space", {"ColorSpace", named(colorSpaceName)}},
        {"Pixel X dimention", {"ExifImageWidth", asIs}},
        {"Pixel Y dimention", {"ExifImageHeight", asIs}},
        {"Focal plane X res", {"FocalPlaneXResolution", printedAs("%.1f")}},
        {"Focal plane Y res", {"FocalPlaneYResolution", printedAs("%.1f")}},
        {"Focal plane resolution unit", {"FocalPlaneResolutionUnit", named(resolutionUnitName)}},
        {"Sensing method", {"SensingMethod", named(sensingMethodName)}},
        {"Scene type",
         {"SceneType",
          [](const std::string& v) { return v == "1" ? "Directly photographed" : v; }}},
        {"Exif version", {"ExifVersion", version}},
        {"FlashPix version", {"FlashpixVersion", version}},
        {"File source", {"FileSource", [](const std::string& v) { return v == "3" ? "DSC" : v; }}},
    };
    return rows;
}

// Every row of the list agrees with exiftool; every tag exiftool has gets its row.
std::size_t expectRowsAgreeWithExiftool(const std::string& path) {
    ExifProperties store;
    EXPECT_TRUE(store.load(path));
    const std::vector<ExifRow> rows = exifTableRows(store);
    std::size_t expectedRows = 2;
    for (const ExifTableEntry& entry : exifTableEntries()) {
        if (entry.tag == 0) {
            continue;
        }
        const auto& [tagName, format] = rowsByLabel().at(entry.label);
        // The EXIF block only: exiftool also reads XMP.
        const std::string read = test::exiftoolValue(
            path, tagName.find(':') == std::string::npos ? "EXIF:" + tagName : tagName);
        const auto row = std::find_if(rows.begin(), rows.end(),
                                      [&](const ExifRow& r) { return r.label == entry.label; });
        if (read.empty()) {
            EXPECT_EQ(row, rows.end()) << entry.label;
            continue;
        }
        ++expectedRows;
        if (row == rows.end()) {
            ADD_FAILURE() << entry.label << " (exiftool reads " << read << ")";
            continue;
        }
        EXPECT_EQ(row->value, format(read)) << entry.label << " (exiftool reads " << read << ")";
    }
    EXPECT_EQ(rows.size(), expectedRows);
    return rows.size();
}

TEST(ExifProperties, ListAgreesWithExiftoolInBothByteOrders) {
    test::TempDir dir;
    for (const char* order : {"II", "MM"}) {
        SCOPED_TRACE(order);
        const std::string path = dir.file(std::string("camera-") + order + ".jpg");
        ASSERT_TRUE(test::writeJpegWithExif(path, test::cameraAssignments(order)));
        // The camera file has every tag of the list.
        EXPECT_EQ(expectRowsAgreeWithExiftool(path), exifTableEntries().size());
    }
}

TEST(ExifProperties, FewTagsGiveFewRows_AndThePanelAgrees) {
    test::TempDir dir;
    const std::string path = dir.file("few.jpg");
    ASSERT_TRUE(test::writeJpegWithExif(
        path,
        "-Make=Pentax -Model=K-1 -ExposureTime=0.5 -FNumber=11 -ISO=3200 -FocalLength=18.5"
        " -ExifIFD:Flash#=1 -LightSource#=30 -MeteringMode#=255 -ExifVersion=0220"
        " -ExposureCompensation=+1"));
    expectRowsAgreeWithExiftool(path);

    ExifProperties store;
    ASSERT_TRUE(store.load(path));
    const ExifPanelTexts texts = exifPanelTexts(store);
    EXPECT_EQ(texts.make, "Pentax");
    EXPECT_EQ(texts.model, "K-1");
    EXPECT_EQ(texts.exposureTime, "1/2 s");
    EXPECT_EQ(texts.fNumber, "f/11.0");
    EXPECT_EQ(texts.iso, "3200");
    EXPECT_EQ(texts.focalLength, "18.5 mm");
    EXPECT_EQ(texts.exposureBias, "1.00 eV");
    EXPECT_EQ(texts.exposureProgram, "");
}

TEST(ExifProperties, CameraExtrasAreItemsOfTheirOwnDirectories) {
    test::TempDir dir;
    const std::string thumb = dir.file("thumb.jpg");
    test::writeBytes(thumb, test::encodeJpeg(16, 12));
    for (const char* order : {"II", "MM"}) {
        SCOPED_TRACE(order);
        const bool big = order[0] == 'M';
        // A maker note as a small IFD of the file's byte order: one four-byte text.
        const std::string note = big ? std::string("\0\1\0\6\0\2\0\0\0\4EOS\0\0\0\0\0", 18)
                                     : std::string("\1\0\6\0\2\0\4\0\0\0EOS\0\0\0\0\0", 18);
        const std::string notePath = dir.file("note.bin");
        test::writeBytes(notePath, std::vector<std::uint8_t>(note.begin(), note.end()));
        const std::string path = dir.file(std::string("extras-") + order + ".jpg");
        ASSERT_TRUE(test::writeJpegWithExif(
            path, std::string("-ExifByteOrder=") + order +
                      " -Make=Canon -Orientation#=6 -GPSLatitude=48.5 -GPSLatitudeRef=N"
                      " -GPSAltitude=512.25 '-UserComment=h\xc3\xa9llo' '-ThumbnailImage<=" +
                      thumb + "' -IFD1:Orientation#=3 '-MakerNoteCanon<=" + notePath + "'"));
        ASSERT_EQ(test::exiftoolValue(path, "Canon:CanonImageType"), "EOS");

        ExifProperties store;
        ASSERT_TRUE(store.load(path));
        // Numbers come out in host order whatever the file's order.
        const ExifItem* orientation = store.find(exif_tag::kOrientation);
        ASSERT_NE(orientation, nullptr);
        EXPECT_EQ(orientation->unsignedAt(), 6u);
        const ExifItem* thumbnailOrientation =
            store.find(exif_tag::kOrientation, ExifGroup::Thumbnail);
        ASSERT_NE(thumbnailOrientation, nullptr);
        EXPECT_EQ(thumbnailOrientation->unsignedAt(), 3u);

        const ExifItem* latitude = store.find(0x0002, ExifGroup::Gps);
        ASSERT_NE(latitude, nullptr);
        EXPECT_EQ(latitude->type, kExifRational);
        EXPECT_EQ(latitude->count, 3u);
        ASSERT_TRUE(latitude->rationalAt(1));
        EXPECT_DOUBLE_EQ(latitude->rationalAt(0)->value() + latitude->rationalAt(1)->value() / 60,
                         48.5);
        const ExifItem* altitude = store.find(0x0006, ExifGroup::Gps);
        ASSERT_NE(altitude, nullptr);
        EXPECT_DOUBLE_EQ(altitude->rationalAt()->value(), 512.25);

        // The comment keeps its character-set header and its two-byte characters as stored.
        const ExifItem* comment = store.find(0x9286);
        ASSERT_NE(comment, nullptr);
        EXPECT_EQ(comment->type, kExifUndefined);
        ASSERT_EQ(comment->value.size(), 8u + 2 * 5);
        EXPECT_EQ(std::string(comment->value.begin(), comment->value.begin() + 7), "UNICODE");
        // Its two-byte characters come in host order like every other number.
        std::uint16_t second = 0;
        std::memcpy(&second, comment->value.data() + 10, 2);
        EXPECT_EQ(second, 0xE9);

        // The maker note's own tags do not take the picture's ids.
        for (const ExifItem& item : store.items()) {
            if (item.group == ExifGroup::Other && item.tag == 0x0006) {
                EXPECT_EQ(item.text(), "EOS");
            }
        }
        EXPECT_EQ(store.find(0x0006), altitude);
        const std::vector<ExifRow> rows = exifTableRows(store);
        EXPECT_EQ(rows.front(), (ExifRow{"Camera make", "Canon"}));
        EXPECT_EQ(rows[1], (ExifRow{"Orientation", "Right top"}));
    }
}

// A JPEG whose APP1 block holds the given TIFF structure.
std::vector<std::uint8_t> jpegWithTiff(const std::vector<std::uint8_t>& tiff) {
    std::vector<std::uint8_t> jpeg = test::encodeJpeg(8, 8);
    std::vector<std::uint8_t> app1 = {0xFF, 0xE1, 0, 0, 'E', 'x', 'i', 'f', 0, 0};
    app1.insert(app1.end(), tiff.begin(), tiff.end());
    const std::size_t length = app1.size() - 2;
    app1[2] = static_cast<std::uint8_t>(length >> 8);
    app1[3] = static_cast<std::uint8_t>(length & 0xFF);
    jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
    return jpeg;
}

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

TEST(ExifProperties, DamagedBlocksGiveWhatCanBeReadAndNeverCrash) {
    // IFD0 with: a make without a terminator, a model whose offset is past the end, a
    // software text claiming four billion bytes, an X resolution of 0/0, and the Exif IFD
    // pointing back at IFD0 (a loop).
    std::vector<std::uint8_t> tiff = {'I', 'I', 42, 0};
    put32(tiff, 8);
    put16(tiff, 5);
    const std::uint32_t dataAt = 8 + 2 + 5 * 12 + 4;
    const auto entry = [&tiff](std::uint16_t tag, std::uint16_t type, std::uint32_t count,
                               std::uint32_t value) {
        put16(tiff, tag);
        put16(tiff, type);
        put32(tiff, count);
        put32(tiff, value);
    };
    entry(0x010F, kExifAscii, 4, 'A' | 'B' << 8 | 'C' << 16 | 'D' << 24);
    entry(0x0110, kExifAscii, 20, 100000);
    entry(0x0131, kExifAscii, 0xFFFFFFF0u, dataAt);
    entry(0x011A, kExifRational, 1, dataAt);
    entry(0x8769, kExifLong, 1, 8);
    put32(tiff, 0);
    put32(tiff, 0);
    put32(tiff, 0);
    const std::vector<std::uint8_t> jpeg = jpegWithTiff(tiff);

    ExifProperties store;
    store.load(jpeg.data(), jpeg.size());
    const std::vector<ExifRow> rows = exifTableRows(store);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), (ExifRow{"Camera make", "ABCD"}));
    for (const ExifRow& row : rows) {
        EXPECT_NE(row.label, "Software");
        // Exiv2 keeps the entry whose value lies outside the file, without the value.
        if (row.label == "Camera model") {
            EXPECT_EQ(row.value, "");
        }
    }

    test::TempDir dir;
    const std::string file = dir.file("damaged.jpg");
    test::writeBytes(file, jpeg);
    ExifProperties fromFile;
    fromFile.load(file);
    EXPECT_EQ(exifTableRows(fromFile), rows);

    // Cut anywhere: never a crash; what fails leaves the store empty.
    for (std::size_t size = 0; size < jpeg.size(); size += 3) {
        ExifProperties cut;
        if (!cut.load(jpeg.data(), size)) {
            EXPECT_TRUE(cut.empty());
        }
    }
}

TEST(ExifProperties, FilesWithoutExifGiveAnEmptyStore) {
    test::TempDir dir;
    ExifProperties store;
    EXPECT_FALSE(store.load(dir.file("missing.jpg")));
    EXPECT_TRUE(store.empty());

    test::writeBytes(dir.file("plain.jpg"), test::encodeJpeg(8, 8));
    EXPECT_FALSE(store.load(dir.file("plain.jpg")));
    test::writeBytes(dir.file("text.jpg"), {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    EXPECT_FALSE(store.load(dir.file("text.jpg")));
    EXPECT_FALSE(store.load(dir.path().string()));

    // A load that fails empties what was there before.
    ASSERT_TRUE(test::writeJpegWithExif(dir.file("one.jpg"), "-Make=Sony"));
    ASSERT_TRUE(store.load(dir.file("one.jpg")));
    EXPECT_EQ(store.find(exif_tag::kMake)->text(), "Sony");
    EXPECT_FALSE(store.load(dir.file("plain.jpg")));
    EXPECT_TRUE(store.empty());
}

}  // namespace
}  // namespace tarn
