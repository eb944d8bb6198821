#include "imaging/bmp_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "fakes/temp_dir.h"
#include "image_fixtures.h"
#include "imaging/fip_super_image.h"
#include "imaging/thumbnail_maker.h"

namespace tarn {
namespace {

using test::TempDir;
using Bytes = std::vector<std::uint8_t>;
using Rgba = std::array<std::uint8_t, 4>;

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v);
    put16(b, at + 2, v >> 16);
}

// A bitmap file put together by hand, for what other writers do not produce.
struct BmpLayout {
    std::uint32_t headerSize = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> masks{};  // in the header when it is big enough, else after it
    std::vector<Rgba> palette{};         // red, green, blue
    std::uint32_t colorsUsed = 0;
    Bytes pixels{};
};

Bytes build(const BmpLayout& s) {
    const bool core = s.headerSize == 12;
    const std::size_t masksAfter = s.headerSize == 40 ? s.masks.size() * 4 : 0;
    const std::size_t entry = core ? 3 : 4;
    const std::size_t offset = 14 + s.headerSize + masksAfter + s.palette.size() * entry;
    Bytes b(offset + s.pixels.size(), 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<std::uint32_t>(b.size()));
    put32(b, 10, static_cast<std::uint32_t>(offset));
    put32(b, 14, s.headerSize);
    if (core) {
        put16(b, 18, static_cast<std::uint32_t>(s.width));
        put16(b, 20, static_cast<std::uint32_t>(s.height));
        put16(b, 22, 1);
        put16(b, 24, s.bits);
    } else {
        put32(b, 18, static_cast<std::uint32_t>(s.width));
        put32(b, 22, static_cast<std::uint32_t>(s.height));
        put16(b, 26, 1);
        put16(b, 28, s.bits);
        put32(b, 30, s.compression);
        put32(b, 46, s.colorsUsed);
        for (std::size_t i = 0; i < s.masks.size(); ++i) {
            put32(b, 54 + i * 4, s.masks[i]);
        }
    }
    std::size_t at = 14 + s.headerSize + masksAfter;
    for (const Rgba& c : s.palette) {
        b[at] = c[2];
        b[at + 1] = c[1];
        b[at + 2] = c[0];
        at += entry;
    }
    std::copy(s.pixels.begin(), s.pixels.end(), b.begin() + static_cast<long>(offset));
    return b;
}

FreeImageBitmap read(const Bytes& b) {
    return readBmp(b.data(), b.size());
}

// The pixel at column x of row y counted from the top, as red, green, blue, alpha.
Rgba pixelAt(FIBITMAP* dib, unsigned x, unsigned y) {
    const unsigned row = FreeImage_GetHeight(dib) - 1 - y;
    RGBQUAD c{};
    if (FreeImage_GetBPP(dib) <= 8) {
        BYTE index = 0;
        FreeImage_GetPixelIndex(dib, x, row, &index);
        c = FreeImage_GetPalette(dib)[index];
        c.rgbReserved = 255;
    } else {
        FreeImage_GetPixelColor(dib, x, row, &c);
        if (FreeImage_GetBPP(dib) != 32) {
            c.rgbReserved = 255;
        }
    }
    return {c.rgbRed, c.rgbGreen, c.rgbBlue, c.rgbReserved};
}

std::vector<Rgba> allPixels(FIBITMAP* dib) {
    std::vector<Rgba> out;
    for (unsigned y = 0; y < FreeImage_GetHeight(dib); ++y) {
        for (unsigned x = 0; x < FreeImage_GetWidth(dib); ++x) {
            out.push_back(pixelAt(dib, x, y));
        }
    }
    return out;
}

std::string run(const std::string& command) {
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string out;
    char buffer[4096];
    std::size_t n = 0;
    while (pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) {
        out.append(buffer, n);
    }
    return out;
}

bool haveImageMagick() {
    return std::system("command -v convert >/dev/null 2>&1") == 0;
}

// A 13 x 7 picture (odd rows need padding) with colours and alpha that vary everywhere.
void writeSource(const std::string& path) {
    std::string pam = "P7\nWIDTH 13\nHEIGHT 7\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    for (unsigned y = 0; y < 7; ++y) {
        for (unsigned x = 0; x < 13; ++x) {
            pam += static_cast<char>((x * 19) % 256);
            pam += static_cast<char>((y * 37) % 256);
            pam += static_cast<char>((x * y * 11 + 5) % 256);
            pam += static_cast<char>(x * 20 + y * 3);
        }
    }
    test::writeFile(path, pam);
}

TEST(BmpReader, ReadsWhatImageMagickWritesPixelForPixel) {
    if (!haveImageMagick()) {
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    struct Case {
        const char* format;
        const char* file;
        const char* options;
        std::uint32_t headerSize;
        unsigned bits;
        std::uint32_t compression;
        unsigned outBpp;
    };
    // Its 16-bit alpha subtypes are left out: it widens narrow alpha by shifting alone, so a
    // set 1-bit alpha reads 128 there; ours widen by repeating bits (checked by hand below).
    const Case cases[] = {
        {"BMP3", "1.bmp", "-alpha off -type bilevel", 40, 1, 0, 1},
        {"BMP3", "4.bmp", "-alpha off -colors 16", 40, 4, 0, 4},
        {"BMP3", "8.bmp", "-alpha off -type palette -compress none", 40, 8, 0, 8},
        {"BMP3", "24.bmp", "-alpha off -type truecolor", 40, 24, 0, 24},
        {"BMP", "565.bmp", "-alpha off -define bmp:subtype=RGB565", 124, 16, 3, 24},
        {"BMP", "555.bmp", "-alpha off -define bmp:subtype=RGB555", 124, 16, 3, 24},
        {"BMP", "32.bmp", "-type truecoloralpha", 124, 32, 3, 32},
        {"BMP2", "core24.bmp", "-alpha off -type truecolor", 12, 24, 0, 24},
        {"BMP2", "core8.bmp", "-alpha off -type palette", 12, 8, 0, 8},
        {"BMP3", "rle8.bmp", "-alpha off -type palette -compress RLE", 40, 8, 1, 8},
    };
    const TempDir dir;
    const std::string source = dir.file("source.pam");
    writeSource(source);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = dir.file(c.file);
        ASSERT_EQ(std::system(
                      ("convert '" + source + "' " + c.options + " " + c.format + ":'" + path + "'")
                          .c_str()),
                  0);
        Bytes bytes;
        ASSERT_TRUE(readFileBytes(path, bytes));
        // The file is of the kind the case is about.
        ASSERT_GT(bytes.size(), 30u);
        const std::uint32_t headerSize = bytes[14] | (bytes[15] << 8);
        ASSERT_EQ(headerSize, c.headerSize);
        const unsigned bits = headerSize == 12 ? bytes[24] : bytes[28];
        ASSERT_EQ(bits, c.bits);
        if (headerSize != 12) {
            ASSERT_EQ(bytes[30], c.compression);
        }
        const FreeImageBitmap dib = read(bytes);
        ASSERT_TRUE(dib);
        EXPECT_EQ(FreeImage_GetBPP(dib.get()), c.outBpp);
        ASSERT_EQ(FreeImage_GetWidth(dib.get()), 13u);
        ASSERT_EQ(FreeImage_GetHeight(dib.get()), 7u);
        const std::string expected = run("convert '" + path + "' -depth 8 rgba:-");
        ASSERT_EQ(expected.size(), 13u * 7 * 4);
        const std::vector<Rgba> ours = allPixels(dib.get());
        for (std::size_t i = 0; i < ours.size(); ++i) {
            const Rgba want{static_cast<std::uint8_t>(expected[i * 4]),
                            static_cast<std::uint8_t>(expected[i * 4 + 1]),
                            static_cast<std::uint8_t>(expected[i * 4 + 2]),
                            static_cast<std::uint8_t>(expected[i * 4 + 3])};
            ASSERT_EQ(ours[i], want) << "pixel " << i % 13 << "," << i / 13;
        }
    }
}

TEST(BmpReader, ReadsMasksOfAnyWidthAndAlphaOnlyWhenSomeIsSet) {
    // 10-bit channels after a 40-byte header keep their top 8 bits.
    BmpLayout tenBit{.width = 2,
                     .height = 1,
                     .bits = 32,
                     .compression = 3,
                     .masks = {0x3FF00000, 0x000FFC00, 0x000003FF}};
    tenBit.pixels = {0, 0, 0, 0, 0, 0, 0, 0};
    put32(tenBit.pixels, 0, (1023u << 20) | (512u << 10) | 6u);
    put32(tenBit.pixels, 4, (100u << 20) | (0u << 10) | 1019u);
    FreeImageBitmap dib = read(build(tenBit));
    ASSERT_TRUE(dib);
    EXPECT_EQ(FreeImage_GetBPP(dib.get()), 24u);
    EXPECT_EQ(pixelAt(dib.get(), 0, 0), (Rgba{255, 128, 1, 255}));
    EXPECT_EQ(pixelAt(dib.get(), 1, 0), (Rgba{25, 0, 254, 255}));

    // Alpha bit fields in 16 bits (4-4-4-4) after a 40-byte header, rows top-down.
    BmpLayout alpha{.width = 1,
                    .height = -2,
                    .bits = 16,
                    .compression = 6,
                    .masks = {0x0F00, 0x00F0, 0x000F, 0xF000}};
    alpha.pixels = {0x21, 0x83, 0, 0, 0x00, 0x0F, 0, 0};
    dib = read(build(alpha));
    ASSERT_TRUE(dib);
    EXPECT_EQ(FreeImage_GetBPP(dib.get()), 32u);
    EXPECT_EQ(pixelAt(dib.get(), 0, 0), (Rgba{51, 34, 17, 136}));
    EXPECT_EQ(pixelAt(dib.get(), 0, 1), (Rgba{255, 0, 0, 0}));

    // Alpha that is zero everywhere means none: the picture is opaque, as 24 bits. The V3
    // header carries the masks itself.
    BmpLayout unused{.headerSize = 56,
                     .width = 1,
                     .height = 1,
                     .bits = 32,
                     .compression = 3,
                     .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}};
    unused.pixels = {3, 2, 1, 0};
    dib = read(build(unused));
    ASSERT_TRUE(dib);
    EXPECT_EQ(FreeImage_GetBPP(dib.get()), 24u);
    EXPECT_EQ(pixelAt(dib.get(), 0, 0), (Rgba{1, 2, 3, 255}));
}

TEST(BmpReader, ShortPalettesAndTopDownRows) {
    // Two colours listed for an 8-bit picture; index 5 has no entry and is black.
    BmpLayout shortPalette{.width = 3,
                           .height = -2,
                           .bits = 8,
                           .palette = {{10, 20, 30, 0}, {40, 50, 60, 0}},
                           .colorsUsed = 2};
    shortPalette.pixels = {1, 0, 5, 0, 0, 1, 1, 0};
    const FreeImageBitmap dib = read(build(shortPalette));
    ASSERT_TRUE(dib);
    EXPECT_EQ(FreeImage_GetBPP(dib.get()), 8u);
    EXPECT_EQ(pixelAt(dib.get(), 0, 0), (Rgba{40, 50, 60, 255}));
    EXPECT_EQ(pixelAt(dib.get(), 1, 0), (Rgba{10, 20, 30, 255}));
    EXPECT_EQ(pixelAt(dib.get(), 2, 0), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(dib.get(), 0, 1), (Rgba{10, 20, 30, 255}));
    EXPECT_EQ(pixelAt(dib.get(), 2, 1), (Rgba{40, 50, 60, 255}));

    // The same rows bottom-up with a 52-byte header.
    BmpLayout bottomUp = shortPalette;
    bottomUp.headerSize = 52;
    bottomUp.height = 2;
    const FreeImageBitmap flipped = read(build(bottomUp));
    ASSERT_TRUE(flipped);
    EXPECT_EQ(pixelAt(flipped.get(), 0, 1), (Rgba{40, 50, 60, 255}));
    EXPECT_EQ(pixelAt(flipped.get(), 2, 0), (Rgba{40, 50, 60, 255}));
}

std::vector<BYTE> indices(FIBITMAP* dib) {
    std::vector<BYTE> out;
    for (unsigned y = FreeImage_GetHeight(dib); y-- > 0;) {
        const BYTE* line = FreeImage_GetScanLine(dib, static_cast<int>(y));
        out.insert(out.end(), line, line + FreeImage_GetWidth(dib));
    }
    return out;
}

TEST(BmpReader, DecodesRleRunsDeltasAndAbsoluteRuns) {
    const std::vector<Rgba> palette(16, Rgba{1, 1, 1, 0});
    // 8 bits, 5 x 3, bottom row first: a run, an odd absolute run (padded), end of line; a
    // delta over two pixels and one row, then a run; end of bitmap. Skipped pixels are index 0.
    BmpLayout rle8{.width = 5, .height = 3, .bits = 8, .compression = 1, .palette = palette};
    rle8.pixels = {2, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 3, 9, 0, 1};
    FreeImageBitmap dib = read(build(rle8));
    ASSERT_TRUE(dib);
    EXPECT_EQ(FreeImage_GetBPP(dib.get()), 8u);
    EXPECT_EQ(indices(dib.get()), (std::vector<BYTE>{0, 0, 9, 9, 9,  //
                                                     0, 0, 0, 0, 0,  //
                                                     7, 7, 1, 2, 3}));
    // 4 bits: a run alternates its two nibbles; an absolute run of 3 takes 2 bytes plus padding.
    BmpLayout rle4{.width = 6, .height = 2, .bits = 4, .compression = 2, .palette = palette};
    rle4.pixels = {5, 0x12, 0, 0, 0, 3, 0xAB, 0xC0, 0, 2, 1, 0, 0, 0};
    dib = read(build(rle4));
    ASSERT_TRUE(dib);
    EXPECT_EQ(indices(dib.get()), (std::vector<BYTE>{10, 11, 12, 0, 0, 0,  //
                                                     1, 2, 1, 2, 1, 0}));
    // Runs past the row or the picture, or data that stops before the last row, refuse it.
    for (const Bytes& bad :
         {Bytes{6, 7, 0, 1}, Bytes{0, 5, 1, 2, 3, 4, 5, 0, 0, 1}, Bytes{0, 2, 0, 3, 1, 1, 0, 1},
          Bytes{0, 0, 0, 0, 0, 0, 1, 1}, Bytes{2, 7, 0, 0}}) {
        BmpLayout s = rle8;
        s.width = 4;
        s.height = 2;
        s.pixels = bad;
        EXPECT_FALSE(read(build(s)));
    }
}

TEST(BmpReader, RefusesDamagedAndOversizedFiles) {
    BmpLayout good{.width = 3, .height = 2, .bits = 24, .pixels = Bytes(24, 0x40)};
    const Bytes file = build(good);
    ASSERT_TRUE(read(file));
    // Every cut-off copy is refused.
    for (std::size_t size = 0; size < file.size(); ++size) {
        EXPECT_FALSE(readBmp(file.data(), size)) << size;
    }
    Bytes offsetPast = file;
    put32(offsetPast, 10, static_cast<std::uint32_t>(file.size() + 1));
    EXPECT_FALSE(read(offsetPast));
    for (const std::int32_t height : {0, static_cast<std::int32_t>(0x80000000u)}) {
        BmpLayout s = good;
        s.height = height;
        EXPECT_FALSE(read(build(s))) << height;
    }
    for (const std::int32_t width : {0, -3, 0x7FFFFFFF}) {
        BmpLayout s = good;
        s.width = width;
        s.height = 1;
        s.bits = 32;
        EXPECT_FALSE(read(build(s))) << width;
    }
    // RLE data can be tiny for a huge picture: past the pixel limit nothing is allocated.
    BmpLayout huge{.width = 40000,
                   .height = 30000,
                   .bits = 8,
                   .compression = 1,
                   .palette = {{0, 0, 0, 0}},
                   .pixels = {0, 1}};
    EXPECT_FALSE(read(build(huge)));
    huge.width = 4000;
    huge.height = 3000;
    EXPECT_TRUE(read(build(huge)));
    // Compressions we do not read.
    BmpLayout jpeg = good;
    jpeg.compression = 4;
    EXPECT_FALSE(read(build(jpeg)));
}

TEST(BmpReader, OpensAndThumbnailsBitmapsFreeImageRefuses) {
    const TempDir dir;
    // Alpha bit fields: a kind the library does not read.
    BmpLayout alpha{.width = 40,
                    .height = 30,
                    .bits = 32,
                    .compression = 6,
                    .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}};
    for (int i = 0; i < 40 * 30; ++i) {
        alpha.pixels.insert(alpha.pixels.end(), {static_cast<std::uint8_t>(i), 200, 100, 128});
    }
    const std::string path = dir.file("picture.bmp");
    test::writeBytes(path, build(alpha));
    ASSERT_FALSE(FreeImageBitmap(FreeImage_Load(FIF_BMP, path.c_str(), 0)));

    fipSuperImage image;
    ASSERT_TRUE(image.load(path.c_str()));
    EXPECT_EQ(image.getFIF(), FIF_BMP);
    EXPECT_EQ(image.getWidth(), 40u);
    EXPECT_EQ(image.getBPP(), 32u);
    EXPECT_EQ(pixelAt(image, 0, 29), (Rgba{100, 200, 0, 128}));

    const Thumbnail thumbnail = makeFileThumbnail(path, 20, 20);
    ASSERT_TRUE(thumbnail.image.isValid());
    EXPECT_EQ(thumbnail.photoWidth, 40u);
    EXPECT_EQ(thumbnail.image.getWidth(), 20u);
    EXPECT_EQ(thumbnail.image.getHeight(), 15u);

    // The other bitmap names (which the library does not know) open too.
    for (const char* name : {"picture.rle", "picture.DIB"}) {
        test::writeBytes(dir.file(name), build(alpha));
        fipSuperImage renamed;
        EXPECT_TRUE(renamed.load(dir.file(name).c_str())) << name;
        EXPECT_EQ(renamed.getFIF(), FIF_BMP) << name;
    }
    // Under another name the same bytes are not taken for a bitmap.
    const std::string other = dir.file("picture.xyz");
    test::writeBytes(other, build(alpha));
    EXPECT_FALSE(fipSuperImage().load(other.c_str()));
}

}  // namespace
}  // namespace tarn
