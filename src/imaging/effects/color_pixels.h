#pragma once

// Helpers shared by the colour effects: which layouts they take, parameter limits, and walks
// over the pixels of a true-colour image or the entries of a palette.
#include <FreeImagePlus.h>

#include <array>
#include <cmath>
#include <cstdint>

#include "imaging/effects/parallel_rows.h"

namespace tarn::color {

inline bool hasPixels(const fipImage& image) {
    return image.isValid() && image.getImageType() == FIT_BITMAP && image.getWidth() > 0 &&
           image.getHeight() > 0;
}

// A standard 24- or 32-bit bitmap.
inline bool isTrueColor(const fipImage& image) {
    return hasPixels(image) && (image.getBitsPerPixel() == 24 || image.getBitsPerPixel() == 32);
}

// A standard bitmap of that depth whose palette is there.
inline bool isPaletted(const fipImage& image, unsigned bpp) {
    return hasPixels(image) && image.getBitsPerPixel() == bpp && image.getPalette() != nullptr &&
           image.getColorsUsed() > 0;
}

// The value within [low, high]; NaN gives neutral.
inline double limited(double value, double low, double high, double neutral) {
    if (std::isnan(value)) {
        return neutral;
    }
    return value < low ? low : (value > high ? high : value);
}

inline int limited(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}

using ChannelTable = std::array<std::uint8_t, 256>;

// Calls rowFunction(line, width, bytesPerPixel) for every row of a true-colour image, the rows
// split across the cores. rowFunction must not throw.
template <typename RowFunction>
void forEachRow(fipImage& image, const RowFunction& rowFunction) {
    FIBITMAP* dib = image;
    const int width = static_cast<int>(image.getWidth());
    const int height = static_cast<int>(image.getHeight());
    const int step = static_cast<int>(image.getBitsPerPixel() / 8);
    forEachRowBand(height, static_cast<std::int64_t>(width) * height, [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y) {
            rowFunction(FreeImage_GetScanLine(dib, y), width, step);
        }
    });
}

// Calls pixelFunction(red, green, blue) with references to each pixel's channels.
template <typename PixelFunction>
void forEachPixel(fipImage& image, const PixelFunction& pixelFunction) {
    forEachRow(image, [&](BYTE* line, int width, int step) {
        for (int x = 0; x < width; ++x) {
            BYTE* pixel = line + x * step;
            pixelFunction(pixel[FI_RGBA_RED], pixel[FI_RGBA_GREEN], pixel[FI_RGBA_BLUE]);
        }
    });
}

// The same over the used entries of the palette.
template <typename PixelFunction>
void forEachPaletteEntry(fipImage& image, const PixelFunction& pixelFunction) {
    RGBQUAD* palette = image.getPalette();
    for (unsigned i = 0; i < image.getColorsUsed(); ++i) {
        pixelFunction(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
    }
}

// Maps red, green and blue through their tables, in the pixels of a true-colour image or in
// the palette of an 8-bit one (whose pixels stay).
inline void applyChannelTables(fipImage& image, const ChannelTable& red, const ChannelTable& green,
                               const ChannelTable& blue) {
    const auto map = [&](BYTE& r, BYTE& g, BYTE& b) {
        r = red[r];
        g = green[g];
        b = blue[b];
    };
    if (image.getBitsPerPixel() <= 8) {
        forEachPaletteEntry(image, map);
    } else {
        forEachPixel(image, map);
    }
}

}  // namespace tarn::color
