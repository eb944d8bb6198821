#include "imaging/effects/rotate.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "imaging/decode_limits.h"
#include "imaging/effects/bitmap_like.h"
#include "imaging/effects/parallel_rows.h"
#include "imaging/effects/pixel_bits.h"

namespace tarn {

namespace {

// Square tiles small enough that the source rows a tile reads stay in the first-level cache.
constexpr unsigned kTile = 64;

struct Planes {
    const BYTE* source;
    std::ptrdiff_t sourcePitch;
    unsigned sourceWidth;
    unsigned sourceHeight;
    BYTE* target;
    std::ptrdiff_t targetPitch;
    unsigned targetWidth;
};

template <unsigned Bytes>
inline void copyPixel(BYTE* to, const BYTE* from) {
    std::memcpy(to, from, Bytes);
}

// Odd quarter turns of byte-sized pixels, target rows [top, bottom), tile by tile. A target row
// is a source column: for one turn counter-clockwise it is read from the top row down, for three
// from the bottom up.
template <unsigned Bytes>
void turnSideways(const Planes& p, int turns, unsigned top, unsigned bottom) {
    const std::ptrdiff_t step = turns == 1 ? -p.sourcePitch : p.sourcePitch;
    for (unsigned y0 = top; y0 < bottom; y0 += kTile) {
        const unsigned y1 = std::min(bottom, y0 + kTile);
        for (unsigned x0 = 0; x0 < p.targetWidth; x0 += kTile) {
            const unsigned x1 = std::min(p.targetWidth, x0 + kTile);
            for (unsigned y = y0; y < y1; ++y) {
                const unsigned column = turns == 1 ? y : p.sourceWidth - 1 - y;
                const unsigned row = turns == 1 ? p.sourceHeight - 1 - x0 : x0;
                const BYTE* from = p.source + row * p.sourcePitch + column * Bytes;
                BYTE* to = p.target + y * p.targetPitch + x0 * Bytes;
                unsigned x = x0;
                // Three-byte pixels move as four bytes, the spare one landing on the next
                // pixel, which is written after it; not past the end of either row.
                if (Bytes == 3 && column * 3 + 4 <= p.sourcePitch) {
                    for (; x + 1 < x1; ++x, to += Bytes, from += step) {
                        copyPixel<4>(to, from);
                    }
                }
                for (; x < x1; ++x, to += Bytes, from += step) {
                    copyPixel<Bytes>(to, from);
                }
            }
        }
    }
}

// The same for 1-bit rows: each target byte gathers eight source rows' bits of one column.
void turnSidewaysBits(const Planes& p, int turns, unsigned top, unsigned bottom) {
    const std::ptrdiff_t step = turns == 1 ? -p.sourcePitch : p.sourcePitch;
    const unsigned targetBytes = (p.targetWidth + 7) / 8;
    constexpr unsigned kTileBytes = kTile / 8;
    for (unsigned y0 = top; y0 < bottom; y0 += kTile) {
        const unsigned y1 = std::min(bottom, y0 + kTile);
        for (unsigned b0 = 0; b0 < targetBytes; b0 += kTileBytes) {
            const unsigned b1 = std::min(targetBytes, b0 + kTileBytes);
            for (unsigned y = y0; y < y1; ++y) {
                const unsigned column = turns == 1 ? y : p.sourceWidth - 1 - y;
                const unsigned shift = 7 - (column & 7);
                const unsigned row = turns == 1 ? p.sourceHeight - 1 - b0 * 8 : b0 * 8;
                const BYTE* from = p.source + row * p.sourcePitch + column / 8;
                BYTE* to = p.target + y * p.targetPitch;
                for (unsigned b = b0; b < b1; ++b) {
                    const unsigned pixels = std::min(8u, p.targetWidth - b * 8);
                    unsigned bits = 0;
                    for (unsigned k = 0; k < pixels; ++k, from += step) {
                        bits |= ((*from >> shift) & 1u) << (7 - k);
                    }
                    to[b] = static_cast<BYTE>(bits);
                }
            }
        }
    }
}

void turnBand(const Planes& p, unsigned bpp, int turns, unsigned top, unsigned bottom) {
    switch (bpp) {
        case 1:
            return turnSidewaysBits(p, turns, top, bottom);
        case 8:
            return turnSideways<1>(p, turns, top, bottom);
        case 24:
            return turnSideways<3>(p, turns, top, bottom);
        default:
            return turnSideways<4>(p, turns, top, bottom);
    }
}

// The palette entry nearest to colour, for the corners of a turned palette picture.
unsigned nearestIndex(FIBITMAP* dib, RGBQUAD colour) {
    const RGBQUAD* palette = FreeImage_GetPalette(dib);
    const unsigned colours = FreeImage_GetColorsUsed(dib);
    unsigned best = 0;
    int bestDistance = 1 << 30;
    for (unsigned i = 0; palette != nullptr && i < colours; ++i) {
        const int r = palette[i].rgbRed - colour.rgbRed;
        const int g = palette[i].rgbGreen - colour.rgbGreen;
        const int b = palette[i].rgbBlue - colour.rgbBlue;
        const int distance = r * r + g * g + b * b;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

// Turns palette indices, which cannot be blended, by taking the source pixel under the centre
// of each target pixel.
FreeImageBitmap rotateNearest(FIBITMAP* dib, double radians, unsigned width, unsigned height,
                              unsigned fill) {
    FreeImageBitmap result = allocateLike(dib, width, height);
    if (!result) {
        return result;
    }
    const unsigned bpp = FreeImage_GetBPP(dib);
    const double sourceWidth = FreeImage_GetWidth(dib);
    const double sourceHeight = FreeImage_GetHeight(dib);
    const double cosine = std::cos(radians);
    const double sine = std::sin(radians);
    for (unsigned y = 0; y < height; ++y) {
        BYTE* to = FreeImage_GetScanLine(result.get(), static_cast<int>(y));
        const double v = y + 0.5 - height / 2.0;
        for (unsigned x = 0; x < width; ++x) {
            const double u = x + 0.5 - width / 2.0;
            const double sx = std::floor(u * cosine + v * sine + sourceWidth / 2.0);
            const double sy = std::floor(-u * sine + v * cosine + sourceHeight / 2.0);
            unsigned value = fill;
            if (sx >= 0 && sx < sourceWidth && sy >= 0 && sy < sourceHeight) {
                const BYTE* from = FreeImage_GetScanLine(dib, static_cast<int>(sy));
                const auto column = static_cast<unsigned>(sx);
                value = bpp == 8 ? from[column] : packedPixel(from, column, 1);
            }
            if (bpp == 8) {
                to[x] = static_cast<BYTE>(value);
            } else {
                setPackedPixel(to, x, 1, value);
            }
        }
    }
    return result;
}

}  // namespace

FreeImageBitmap quarterTurn(FIBITMAP* dib, int turns) {
    const unsigned width = FreeImage_GetWidth(dib);
    const unsigned height = FreeImage_GetHeight(dib);
    const unsigned bpp = FreeImage_GetBPP(dib);
    const unsigned targetWidth = height;
    const unsigned targetHeight = width;
    if (!fitsDecodeLimit(targetWidth, targetHeight, bpp)) {
        return {};
    }
    FreeImageBitmap result = allocateLike(dib, targetWidth, targetHeight, true);
    if (!result) {
        return result;
    }
    const Planes planes{FreeImage_GetBits(dib),
                        static_cast<std::ptrdiff_t>(FreeImage_GetPitch(dib)),
                        width,
                        height,
                        FreeImage_GetBits(result.get()),
                        static_cast<std::ptrdiff_t>(FreeImage_GetPitch(result.get())),
                        targetWidth};
    forEachRowBand(static_cast<int>(targetHeight), static_cast<std::int64_t>(width) * height,
                   [&](int top, int bottom) {
                       turnBand(planes, bpp, turns, static_cast<unsigned>(top),
                                static_cast<unsigned>(bottom));
                   });
    return result;
}

FreeImageBitmap rotateFreely(FIBITMAP* dib, double degrees, RGBQUAD background) {
    const unsigned width = FreeImage_GetWidth(dib);
    const unsigned height = FreeImage_GetHeight(dib);
    const unsigned bpp = FreeImage_GetBPP(dib);
    const double radians = degrees * (3.14159265358979323846 / 180.0);
    const double cosine = std::fabs(std::cos(radians));
    const double sine = std::fabs(std::sin(radians));
    // The bounding box of the turned picture; the library's canvas is at most a pixel larger.
    const double boxWidth = std::ceil(width * cosine + height * sine - 1e-9);
    const double boxHeight = std::ceil(width * sine + height * cosine - 1e-9);
    if (boxWidth > 4e9 || boxHeight > 4e9 ||
        !fitsDecodeLimit(static_cast<unsigned>(boxWidth) + 2, static_cast<unsigned>(boxHeight) + 2,
                         bpp)) {
        return {};
    }
    const unsigned fill = bpp <= 8 ? nearestIndex(dib, background) : 0;
    if (bpp == 1 || (bpp == 8 && !hasGreyPalette(dib))) {
        return rotateNearest(dib, radians, std::max(1u, static_cast<unsigned>(boxWidth)),
                             std::max(1u, static_cast<unsigned>(boxHeight)), fill);
    }
    FreeImageBitmap result;
    if (bpp == 8) {
        const auto index = static_cast<BYTE>(fill);
        result.reset(FreeImage_Rotate(dib, degrees, &index));
    } else {
        result.reset(FreeImage_Rotate(dib, degrees, &background));
    }
    if (result) {
        copyAttributes(dib, result.get());
    }
    return result;
}

}  // namespace tarn
