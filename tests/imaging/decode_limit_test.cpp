// Headers that claim enormous pictures are refused before any pixel is decoded; real headers of
// every format are read as the decoder reads them; damaged headers are read safely.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "browser/info_tip.h"
#include "fakes/temp_dir.h"
#include "header_bytes.h"
#include "image_fixtures.h"
#include "imaging/decode_limits.h"
#include "imaging/fip_super_image.h"
#include "imaging/image_header.h"
#include "imaging/imaging_service.h"
#include "imaging/png_text.h"
#include "imaging/thumbnail_maker.h"
#include "viewer/image_loading.h"

namespace tarn {
namespace {

using test::be32;
using test::Bytes;
using test::le16;
using test::le32;

// Signature, a correct IHDR for an RGBA picture, and the start of a picture data chunk.
Bytes pngClaiming(std::uint32_t width, std::uint32_t height) {
    Bytes b{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    be32(b, 13);
    const std::size_t chunk = b.size();
    b.insert(b.end(), {'I', 'H', 'D', 'R'});
    be32(b, width);
    be32(b, height);
    b.insert(b.end(), {8, 6, 0, 0, 0});
    be32(b, pngCrc32(b.data() + chunk, b.size() - chunk));
    be32(b, 16);
    b.insert(b.end(), {'I', 'D', 'A', 'T', 0x78, 0x9C, 0x63, 0x60});
    return b;
}

// A little-endian TIFF of uncompressed 8-bit grey pages; pages that are small get their pixels.
Bytes tiffPages(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& sizes) {
    Bytes b{'I', 'I', 42, 0};
    le32(b, 8);
    for (std::size_t page = 0; page < sizes.size(); ++page) {
        const auto [width, height] = sizes[page];
        const std::uint64_t pixels = std::uint64_t{width} * height;
        const auto stripBytes = static_cast<std::uint32_t>(pixels <= 4096 ? pixels : 4);
        const auto ifdSize = static_cast<std::uint32_t>(2 + 9 * 12 + 4);
        const auto stripAt = static_cast<std::uint32_t>(b.size()) + ifdSize;
        const std::uint32_t next = page + 1 < sizes.size() ? stripAt + stripBytes : 0;
        le16(b, 9);
        const auto entry = [&b](unsigned tag, unsigned type, std::uint32_t value) {
            le16(b, tag);
            le16(b, type);
            le32(b, 1);
            if (type == 3) {
                le16(b, value);
                le16(b, 0);
            } else {
                le32(b, value);
            }
        };
        entry(256, 4, width);
        entry(257, 4, height);
        entry(258, 3, 8);
        entry(259, 3, 1);  // no compression
        entry(262, 3, 1);  // black is zero
        entry(273, 4, stripAt);
        entry(277, 3, 1);
        entry(278, 4, height);
        entry(279, 4, stripBytes);
        le32(b, next);
        for (std::uint32_t i = 0; i < stripBytes; ++i) {
            b.push_back(static_cast<std::uint8_t>(i * 37));
        }
    }
    return b;
}

// A real JPEG whose frame header is patched to the size, cut after the first bytes of the scan.
Bytes jpegClaiming(unsigned width, unsigned height) {
    Bytes b = test::encodeJpeg(16, 16);
    for (std::size_t i = 2; i + 9 < b.size(); ++i) {
        if (b[i] == 0xFF && b[i + 1] == 0xC0) {
            b[i + 5] = static_cast<std::uint8_t>(height >> 8);
            b[i + 6] = static_cast<std::uint8_t>(height);
            b[i + 7] = static_cast<std::uint8_t>(width >> 8);
            b[i + 8] = static_cast<std::uint8_t>(width);
        }
        if (b[i] == 0xFF && b[i + 1] == 0xDA) {
            b.resize(i + 40);
            break;
        }
    }
    return b;
}

// Windows header; a negative height is a top-down picture.
Bytes bmpClaiming(std::int32_t width, std::int32_t height, unsigned bpp = 32) {
    Bytes b{'B', 'M'};
    le32(b, 0);
    le32(b, 0);
    le32(b, 14 + 40);
    le32(b, 40);
    le32(b, static_cast<std::uint32_t>(width));
    le32(b, static_cast<std::uint32_t>(height));
    le16(b, 1);
    le16(b, bpp);
    for (int i = 0; i < 6; ++i) {
        le32(b, 0);
    }
    b.insert(b.end(), {1, 2, 3, 4, 5, 6, 7, 8});
    return b;
}

// A GIF whose one frame has the size, with a global palette and a comment before it.
Bytes gifClaiming(unsigned width, unsigned height) {
    Bytes b{'G', 'I', 'F', '8', '9', 'a'};
    le16(b, 1);
    le16(b, 1);
    b.insert(b.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255});
    b.insert(b.end(), {0x21, 0xFE, 3, 'h', 'i', '!', 0});
    b.push_back(0x2C);
    le16(b, 0);
    le16(b, 0);
    le16(b, width);
    le16(b, height);
    b.insert(b.end(), {0, 2, 2, 0x4C, 0x01, 0});
    return b;
}

class DecodeLimitTest : public testing::Test {
protected:
    std::string write(const std::string& name, const Bytes& bytes) {
        const std::string path = m_dir.file(name);
        test::writeBytes(path, bytes);
        return path;
    }

    ImagingService m_service;
    test::TempDir m_dir;
};

TEST_F(DecodeLimitTest, HeadersClaimingTooLargeAPictureAreRefusedBeforeDecoding) {
    struct Case {
        const char* name;
        Bytes bytes;
        unsigned width;
        unsigned height;
    };
    const std::vector<Case> cases{
        {"bomb.png", pngClaiming(60000, 60000), 60000, 60000},
        {"bomb.tif", tiffPages({{60000, 60000}}), 60000, 60000},
        {"bomb.jpg", jpegClaiming(60000, 60000), 60000, 60000},
        {"bomb.bmp", bmpClaiming(60000, -60000), 60000, 60000},
        {"bomb.gif", gifClaiming(65535, 65535), 65535, 65535},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = write(c.name, c.bytes);
        // The refusal comes from the size the header claims, read without the pixels.
        const std::optional<ImageHeader> header = readImageHeader(path);
        ASSERT_TRUE(header.has_value());
        EXPECT_EQ(header->width, c.width);
        EXPECT_EQ(header->height, c.height);
        EXPECT_FALSE(fitsDecodeLimit(header->width, header->height, header->bpp));
        EXPECT_FALSE(headerFitsDecodeLimit(path));
        const std::optional<ImageHeader> inMemory = readImageHeader(c.bytes.data(), c.bytes.size());
        ASSERT_TRUE(inMemory.has_value());
        EXPECT_EQ(inMemory->width, c.width);

        fipSuperImage image;
        EXPECT_FALSE(image.load(path.c_str()));
        EXPECT_FALSE(image.loadPage(path.c_str(), 0));
        const Thumbnail thumb = makeFileThumbnail(path, 200, 200);
        EXPECT_TRUE(thumb.attempted);
        EXPECT_FALSE(thumb.image.isValid());
        EXPECT_FALSE(loadImageFile(path, 0).image);
        // The info tip tells the claimed size without decoding.
        int width = 0;
        int height = 0;
        EXPECT_TRUE(readImageSize(path, width, height));
        EXPECT_EQ(width, static_cast<int>(c.width));
    }
}

TEST_F(DecodeLimitTest, EveryPageOfAMultiPageFileIsCheckedOnItsOwn) {
    const std::string path = write("pages.tif", tiffPages({{16, 16}, {60000, 60000}, {8, 4}}));
    const std::optional<ImageHeader> second = readImageHeader(path, 1);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->width, 60000u);
    const std::optional<ImageHeader> third = readImageHeader(path, 2);
    ASSERT_TRUE(third.has_value());
    EXPECT_EQ(third->width, 8u);
    EXPECT_EQ(third->height, 4u);
    EXPECT_FALSE(readImageHeader(path, 3).has_value());

    fipSuperImage page;
    ASSERT_TRUE(page.loadPage(path.c_str(), 0));
    EXPECT_EQ(page.getWidth(), 16u);
    EXPECT_FALSE(page.loadPage(path.c_str(), 1));
    ASSERT_TRUE(page.loadPage(path.c_str(), 2));
    EXPECT_EQ(page.getWidth(), 8u);

    const LoadedImage refused = loadImageFile(path, 1);
    EXPECT_EQ(refused.pageCount, 3);
    EXPECT_FALSE(refused.image);
    const LoadedImage last = loadImageFile(path, 2);
    ASSERT_TRUE(last.image);
    EXPECT_EQ(last.image->getHeight(), 4u);
}

TEST_F(DecodeLimitTest, RealHeadersOfEveryFormatReadAsTheDecoderReadsThem) {
    const fipSuperImage picture = test::pictureImage(37, 23);
    std::vector<std::string> paths;
    for (const char* ext : {"png", "jpg", "gif", "bmp", "tif", "tga", "ppm"}) {
        const std::string path = m_dir.file(std::string("real.") + ext);
        ASSERT_TRUE(picture.saveFitBPP(path.c_str())) << ext;
        paths.push_back(path);
    }
    // The OS/2 core header (16-bit sizes) and a top-down Windows one.
    Bytes core{'B', 'M'};
    le32(core, 0);
    le32(core, 0);
    le32(core, 14 + 12);
    le32(core, 12);
    le16(core, 3);
    le16(core, 2);
    le16(core, 1);
    le16(core, 24);
    core.insert(core.end(), 2 * 12, 0x7F);
    paths.push_back(write("core.bmp", core));
    Bytes topDown = bmpClaiming(3, -2, 24);
    topDown.resize(14 + 40 + 2 * 12, 0x40);
    paths.push_back(write("topdown.bmp", topDown));
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        fipSuperImage image;
        ASSERT_TRUE(image.load(path.c_str()));
        const std::optional<ImageHeader> header = readImageHeader(path);
        ASSERT_TRUE(header.has_value());
        EXPECT_EQ(header->width, image.getWidth());
        EXPECT_EQ(header->height, image.getHeight());
    }
}

TEST(DecodeLimit, LargePicturesStayWithinTheLimit) {
    EXPECT_GE(maxDecodedBytes(), kMinDecodeBytes);
    EXPECT_LE(maxDecodedBytes(), kMaxDecodeBytesCap);
    // 400 megapixels open at 32 bits on any machine.
    EXPECT_TRUE(fitsDecodeLimit(20000, 20000, 32));
    EXPECT_TRUE(fitsDecodeLimit(20000, 20000, 0));
    EXPECT_TRUE(fitsDecodeLimit(32768, 32768, 1));
    EXPECT_FALSE(fitsDecodeLimit(32768, 32769, 1));
    EXPECT_FALSE(fitsDecodeLimit(32768, 32768, 64));
    EXPECT_FALSE(fitsDecodeLimit(UINT_MAX, UINT_MAX, 128));
    EXPECT_FALSE(fitsDecodeLimit(UINT_MAX, 1, 128));
}

TEST_F(DecodeLimitTest, DamagedAndLyingHeadersAreReadSafely) {
    std::vector<Bytes> samples{pngClaiming(60000, 60000), tiffPages({{16, 16}, {8, 4}}),
                               jpegClaiming(60000, 60000), bmpClaiming(60000, -60000),
                               gifClaiming(65535, 65535)};
    // Every cut of every header tells the whole header's size or nothing, never a size read
    // from past its end.
    for (const Bytes& sample : samples) {
        for (int page = 0; page < 2; ++page) {
            const std::optional<ImageHeader> whole =
                readImageHeader(sample.data(), sample.size(), page);
            for (std::size_t length = 0; length < sample.size(); ++length) {
                const std::optional<ImageHeader> cut = readImageHeader(sample.data(), length, page);
                if (cut) {
                    ASSERT_TRUE(whole.has_value());
                    EXPECT_EQ(cut->width, whole->width);
                    EXPECT_EQ(cut->height, whole->height);
                }
            }
        }
    }
    Bytes loop = tiffPages({{16, 16}});
    loop[8 + 2 + 9 * 12] = 8;  // the first directory names itself as the next
    Bytes farDirectory = tiffPages({{16, 16}});
    farDirectory[4] = farDirectory[5] = farDirectory[6] = farDirectory[7] = 0xF0;
    Bytes manyEntries = tiffPages({{16, 16}});
    manyEntries[8] = manyEntries[9] = 0xFF;
    Bytes shortJpegSegment{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x00, 0xFF, 0xC0};
    Bytes gifRunsOff = gifClaiming(16, 16);
    gifRunsOff[21] = 0xFE;  // a comment block longer than the file
    Bytes bmpHugeHeader = bmpClaiming(16, 16);
    bmpHugeHeader[14] = bmpHugeHeader[15] = bmpHugeHeader[16] = bmpHugeHeader[17] = 0xFF;
    Bytes bmpLowestHeight = bmpClaiming(16, INT_MIN);
    // (A JPEG that the library's own loader gets would disturb its later loads; the header alone
    // is read below.)
    const std::vector<Bytes> lies{loop,       farDirectory,  manyEntries,
                                  gifRunsOff, bmpHugeHeader, bmpLowestHeight};
    for (std::size_t i = 0; i < lies.size(); ++i) {
        SCOPED_TRACE(i);
        const std::string path = write("lie" + std::to_string(i), lies[i]);
        for (int page = 0; page < 4; ++page) {
            (void)readImageHeader(path, page);
        }
        fipSuperImage image;
        EXPECT_FALSE(image.load(path.c_str()) && image.getWidth() > 16);
    }
    EXPECT_FALSE(readImageHeader(loop.data(), loop.size(), 2).has_value());
    EXPECT_FALSE(readImageHeader(shortJpegSegment.data(), shortJpegSegment.size()).has_value());
    EXPECT_FALSE(readImageHeader(gifRunsOff.data(), gifRunsOff.size()).has_value());
    const std::optional<ImageHeader> lowest =
        readImageHeader(bmpLowestHeight.data(), bmpLowestHeight.size());
    ASSERT_TRUE(lowest.has_value());
    EXPECT_EQ(lowest->height, 2147483648u);
    EXPECT_FALSE(headerFitsDecodeLimit(bmpLowestHeight.data(), bmpLowestHeight.size()));
}

}  // namespace
}  // namespace tarn
