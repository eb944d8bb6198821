#include "imaging/pixel_rows.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "image_fixtures.h"

namespace tarn {
namespace {

using test::allLayouts;
using test::layoutName;
using test::makeImage;
using test::oddSizes;

using Rgba = std::array<int, 4>;

int high(WORD value) {
    return value >> 8;
}

int fromFloat(float value) {
    return value <= 0 ? 0 : value >= 1 ? 255 : static_cast<int>(value * 255 + 0.5f);
}

// Pixel (x, y), y from the top, read with the library's own accessors or by its type.
Rgba referencePixel(FIBITMAP* dib, PixelLayout layout, unsigned x, unsigned y) {
    const unsigned line = FreeImage_GetHeight(dib) - 1 - y;
    const BYTE* bits = FreeImage_GetScanLine(dib, static_cast<int>(line));
    switch (layout) {
        case PixelLayout::Palette1:
        case PixelLayout::Palette4:
        case PixelLayout::Palette8: {
            BYTE index = 0;
            FreeImage_GetPixelIndex(dib, x, line, &index);
            const RGBQUAD c = FreeImage_GetPalette(dib)[index];
            const int alpha =
                FreeImage_IsTransparent(dib) && index < FreeImage_GetTransparencyCount(dib)
                    ? FreeImage_GetTransparencyTable(dib)[index]
                    : 255;
            return {c.rgbRed, c.rgbGreen, c.rgbBlue, alpha};
        }
        case PixelLayout::Rgb555:
        case PixelLayout::Rgb565:
        case PixelLayout::Rgb24:
        case PixelLayout::Rgba32: {
            RGBQUAD c{};
            FreeImage_GetPixelColor(dib, x, line, &c);
            return {c.rgbRed, c.rgbGreen, c.rgbBlue,
                    layout == PixelLayout::Rgba32 ? c.rgbReserved : 255};
        }
        case PixelLayout::Grey16: {
            const int v = high(reinterpret_cast<const WORD*>(bits)[x]);
            return {v, v, v, 255};
        }
        case PixelLayout::Rgb48: {
            const FIRGB16 c = reinterpret_cast<const FIRGB16*>(bits)[x];
            return {high(c.red), high(c.green), high(c.blue), 255};
        }
        case PixelLayout::Rgba64: {
            const FIRGBA16 c = reinterpret_cast<const FIRGBA16*>(bits)[x];
            return {high(c.red), high(c.green), high(c.blue), high(c.alpha)};
        }
        case PixelLayout::GreyFloat: {
            const int v = fromFloat(reinterpret_cast<const float*>(bits)[x]);
            return {v, v, v, 255};
        }
        case PixelLayout::RgbFloat: {
            const FIRGBF c = reinterpret_cast<const FIRGBF*>(bits)[x];
            return {fromFloat(c.red), fromFloat(c.green), fromFloat(c.blue), 255};
        }
        case PixelLayout::RgbaFloat: {
            const FIRGBAF c = reinterpret_cast<const FIRGBAF*>(bits)[x];
            return {fromFloat(c.red), fromFloat(c.green), fromFloat(c.blue), fromFloat(c.alpha)};
        }
    }
    return {};
}

// Every row of the image as read, RGB then alpha planes.
struct Pixels {
    std::vector<unsigned char> rgb;
    std::vector<unsigned char> alpha;
    bool operator==(const Pixels&) const = default;
};

Pixels readAll(FIBITMAP* dib) {
    const PixelRowReader reader(dib);
    const auto width = static_cast<std::size_t>(reader.width());
    Pixels pixels{std::vector<unsigned char>(width * 3 * reader.height()),
                  std::vector<unsigned char>(width * reader.height())};
    for (int y = 0; y < reader.height(); ++y) {
        reader.readRow(y, &pixels.rgb[y * width * 3], &pixels.alpha[y * width]);
    }
    return pixels;
}

TEST(PixelRows, EveryLayoutReadsAsTheLibrarySeesEachPixel) {
    for (const PixelLayout layout : allLayouts()) {
        for (const auto& [width, height] : oddSizes()) {
            SCOPED_TRACE(testing::Message() << layoutName(layout) << " " << width << "x" << height);
            const FreeImageBitmap dib = makeImage(layout, width, height, 3);
            const PixelRowReader reader(dib.get());
            ASSERT_TRUE(reader.valid());
            ASSERT_EQ(reader.layout(), layout);
            std::vector<unsigned char> rgb(width * 3);
            std::vector<unsigned char> alpha(width);
            std::vector<unsigned char> bare(width * 3);
            // Columns backwards, through the column list.
            std::vector<int> backwards(width);
            for (unsigned x = 0; x < width; ++x) {
                backwards[x] = static_cast<int>(width - 1 - x);
            }
            std::vector<unsigned char> picked(width * 3);
            std::vector<unsigned char> pickedAlpha(width);
            for (unsigned y = 0; y < height; ++y) {
                reader.readRow(static_cast<int>(y), rgb.data(), alpha.data());
                reader.readRow(static_cast<int>(y), bare.data(), nullptr);
                reader.readColumns(static_cast<int>(y), backwards.data(), static_cast<int>(width),
                                   picked.data(), pickedAlpha.data());
                EXPECT_EQ(bare, rgb);
                for (unsigned x = 0; x < width; ++x) {
                    const Rgba expected = referencePixel(dib.get(), layout, x, y);
                    const Rgba got{rgb[x * 3], rgb[x * 3 + 1], rgb[x * 3 + 2], alpha[x]};
                    ASSERT_EQ(got, expected) << "at " << x << "," << y;
                    const unsigned back = width - 1 - x;
                    const Rgba viaColumns{picked[back * 3], picked[back * 3 + 1],
                                          picked[back * 3 + 2], pickedAlpha[back]};
                    ASSERT_EQ(viaColumns, expected) << "at " << x << "," << y;
                }
            }
        }
    }
}

TEST(PixelRows, SpansDirectRowsAndIndicesMatchTheWholeRow) {
    for (const PixelLayout layout : allLayouts()) {
        SCOPED_TRACE(layoutName(layout));
        const FreeImageBitmap dib = makeImage(layout, 1001, 3, 5);
        const PixelRowReader reader(dib.get());
        std::vector<unsigned char> row(1001 * 3);
        std::vector<unsigned char> span(5 * 3);
        reader.readRow(1, row.data(), nullptr);
        reader.readSpan(1, 997, 4, span.data(), nullptr);
        EXPECT_EQ(0, std::memcmp(span.data(), &row[997 * 3], 4 * 3));

        int step = 0;
        const unsigned char* direct = reader.directRow(1, step);
        const bool bytes = layout == PixelLayout::Rgb24 || layout == PixelLayout::Rgba32;
        ASSERT_EQ(direct != nullptr, bytes);
        if (bytes) {
            EXPECT_EQ(step, layout == PixelLayout::Rgb24 ? 3 : 4);
            EXPECT_EQ(direct[1000 * step + FI_RGBA_GREEN], row[1000 * 3 + 1]);
        }
        if (layout == PixelLayout::Palette1 || layout == PixelLayout::Palette4 ||
            layout == PixelLayout::Palette8) {
            std::vector<unsigned char> indices(1001);
            reader.readIndices(1, indices.data());
            for (unsigned x = 0; x < 1001; x += 97) {
                BYTE index = 0;
                FreeImage_GetPixelIndex(dib.get(), x, 1, &index);
                EXPECT_EQ(indices[x], index) << x;
            }
        }
    }
    // 555 and 565 read as the library's own conversion to 24 bits does it.
    for (const PixelLayout layout : {PixelLayout::Rgb555, PixelLayout::Rgb565}) {
        const FreeImageBitmap dib = makeImage(layout, 7, 5, 9);
        const FreeImageBitmap converted(FreeImage_ConvertTo24Bits(dib.get()));
        EXPECT_EQ(readAll(dib.get()).rgb, readAll(converted.get()).rgb) << layoutName(layout);
    }
    EXPECT_FALSE(PixelRowReader(nullptr).valid());
    const FreeImageBitmap complex(FreeImage_AllocateT(FIT_COMPLEX, 3, 2));
    EXPECT_FALSE(PixelRowReader(complex.get()).valid());
}

TEST(PixelRows, WritingRowsBackReadsTheSameInEveryLayout) {
    for (const PixelLayout layout : allLayouts()) {
        for (const auto& [width, height] : oddSizes()) {
            SCOPED_TRACE(testing::Message() << layoutName(layout) << " " << width << "x" << height);
            const FreeImageBitmap source = makeImage(layout, width, height, 11);
            // Other pixels; palettised ones share the source's palette and transparency.
            FreeImageBitmap target = makeImage(layout, width, height, 12);
            FreeImageBitmap withoutAlpha = makeImage(layout, width, height, 13);
            if (FreeImage_GetBPP(source.get()) <= 8) {
                const unsigned colors = FreeImage_GetColorsUsed(source.get());
                for (FIBITMAP* dib : {target.get(), withoutAlpha.get()}) {
                    std::memcpy(FreeImage_GetPalette(dib), FreeImage_GetPalette(source.get()),
                                colors * sizeof(RGBQUAD));
                    FreeImage_SetTransparencyTable(
                        dib, FreeImage_GetTransparencyTable(source.get()),
                        static_cast<int>(FreeImage_GetTransparencyCount(source.get())));
                }
            }
            const Pixels wanted = readAll(source.get());
            const Pixels keptAlpha = readAll(withoutAlpha.get());
            PixelRowWriter writer(target.get());
            PixelRowWriter rgbOnly(withoutAlpha.get());
            ASSERT_TRUE(writer.valid());
            for (unsigned y = 0; y < height; ++y) {
                writer.writeRow(static_cast<int>(y), &wanted.rgb[y * width * 3],
                                &wanted.alpha[y * width]);
                rgbOnly.writeRow(static_cast<int>(y), &wanted.rgb[y * width * 3], nullptr);
            }
            EXPECT_EQ(readAll(target.get()), wanted);
            const Pixels written = readAll(withoutAlpha.get());
            EXPECT_EQ(written.rgb, wanted.rgb);
            if (FreeImage_GetBPP(source.get()) > 8) {
                // Without alpha, the alpha the image had stays.
                EXPECT_EQ(written.alpha, keptAlpha.alpha);
            }
        }
    }
}

TEST(PixelRows, PalettesTakeTheNearestEntryAndIndicesKeepTheirNeighbours) {
    const FreeImageBitmap dib(FreeImage_Allocate(9, 1, 4));
    RGBQUAD* palette = FreeImage_GetPalette(dib.get());
    palette[3] = RGBQUAD{100, 100, 100, 0};
    palette[7] = RGBQUAD{10, 200, 30, 0};
    PixelRowWriter writer(dib.get());
    std::vector<unsigned char> rgb(9 * 3, 0);
    rgb[0] = 32;  // red 32, green 190, blue 12 is nearest to entry 7
    rgb[1] = 190;
    rgb[2] = 12;
    rgb[8 * 3] = rgb[8 * 3 + 1] = rgb[8 * 3 + 2] = 99;  // nearest to entry 3
    writer.writeRow(0, rgb.data(), nullptr);
    const PixelRowReader reader(dib.get());
    std::vector<unsigned char> indices(9);
    reader.readIndices(0, indices.data());
    EXPECT_EQ(indices, (std::vector<unsigned char>{7, 0, 0, 0, 0, 0, 0, 0, 3}));

    // One index changed in the middle of a packed byte leaves its neighbour alone.
    indices[4] = 0x1F;  // masked to 15
    writer.writeIndices(0, indices.data());
    std::vector<unsigned char> again(9);
    reader.readIndices(0, again.data());
    EXPECT_EQ(again, (std::vector<unsigned char>{7, 0, 0, 0, 15, 0, 0, 0, 3}));
}

}  // namespace
}  // namespace tarn
