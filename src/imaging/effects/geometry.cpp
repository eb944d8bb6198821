#include "imaging/effects/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "imaging/effects/bitmap_like.h"
#include "imaging/effects/pixel_bits.h"
#include "imaging/effects/rotate.h"

namespace tarn {

namespace {

bool isStandardBitmap(FIBITMAP* dib) {
    return FreeImage_GetImageType(dib) == FIT_BITMAP;
}

// Reverses the order of the pixels of one row of byte-sized pixels, in place.
template <unsigned Bytes>
void reverseRow(BYTE* row, unsigned width) {
    BYTE* left = row;
    BYTE* right = row + static_cast<std::size_t>(width - 1) * Bytes;
    for (unsigned i = 0; i < width / 2; ++i, left += Bytes, right -= Bytes) {
        std::swap_ranges(left, left + Bytes, right);
    }
}

void reverseRowAnyBytes(BYTE* row, unsigned width, unsigned bytes) {
    for (unsigned i = 0; i < width / 2; ++i) {
        std::swap_ranges(row + i * bytes, row + (i + 1) * bytes,
                         row + static_cast<std::size_t>(width - 1 - i) * bytes);
    }
}

}  // namespace

bool flipImageHorizontal(fipImage& image) {
    if (!image.isValid() || image.getWidth() == 0 || image.getHeight() == 0) {
        return false;
    }
    FIBITMAP* dib = image;
    const unsigned width = FreeImage_GetWidth(dib);
    const unsigned height = FreeImage_GetHeight(dib);
    const unsigned bpp = FreeImage_GetBPP(dib);
    if (bpp < 8) {
        // Packed pixels: rebuild each row from a copy, leaving the padding bits alone.
        std::vector<BYTE> copy;
        try {
            copy.resize(FreeImage_GetPitch(dib));
        } catch (const std::bad_alloc&) {
            return false;
        }
        for (unsigned y = 0; y < height; ++y) {
            BYTE* row = FreeImage_GetScanLine(dib, static_cast<int>(y));
            std::memcpy(copy.data(), row, copy.size());
            for (unsigned x = 0; x < width; ++x) {
                setPackedPixel(row, x, bpp, packedPixel(copy.data(), width - 1 - x, bpp));
            }
        }
        return true;
    }
    for (unsigned y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(dib, static_cast<int>(y));
        switch (bpp) {
            case 8:
                std::reverse(row, row + width);
                break;
            case 24:
                reverseRow<3>(row, width);
                break;
            case 32:
                reverseRow<4>(row, width);
                break;
            default:
                reverseRowAnyBytes(row, width, bpp / 8);
        }
    }
    return true;
}

bool flipImageVertical(fipImage& image) {
    if (!image.isValid() || image.getWidth() == 0 || image.getHeight() == 0) {
        return false;
    }
    FIBITMAP* dib = image;
    const unsigned height = FreeImage_GetHeight(dib);
    const unsigned pitch = FreeImage_GetPitch(dib);
    for (unsigned y = 0; y < height / 2; ++y) {
        BYTE* low = FreeImage_GetScanLine(dib, static_cast<int>(y));
        BYTE* high = FreeImage_GetScanLine(dib, static_cast<int>(height - 1 - y));
        std::swap_ranges(low, low + pitch, high);
    }
    return true;
}

bool cropImage(fipImage& image, int left, int top, int right, int bottom) {
    if (!image.isValid() || image.getWidth() == 0 || image.getHeight() == 0) {
        return false;
    }
    FIBITMAP* dib = image;
    const std::int64_t width = FreeImage_GetWidth(dib);
    const std::int64_t height = FreeImage_GetHeight(dib);
    const std::int64_t x0 = std::clamp<std::int64_t>(left, 0, width);
    const std::int64_t x1 = std::clamp<std::int64_t>(right, 0, width);
    const std::int64_t y0 = std::clamp<std::int64_t>(top, 0, height);
    const std::int64_t y1 = std::clamp<std::int64_t>(bottom, 0, height);
    if (x1 <= x0 || y1 <= y0) {
        return false;
    }
    const auto cropWidth = static_cast<unsigned>(x1 - x0);
    const auto cropHeight = static_cast<unsigned>(y1 - y0);
    FreeImageBitmap result = allocateLike(dib, cropWidth, cropHeight);
    if (!result) {
        return false;
    }
    const unsigned bpp = FreeImage_GetBPP(dib);
    // Rows count from the bottom in the bitmap: the lowest kept row is height - y1.
    for (unsigned y = 0; y < cropHeight; ++y) {
        const BYTE* from = FreeImage_GetScanLine(dib, static_cast<int>(height - y1 + y));
        BYTE* to = FreeImage_GetScanLine(result.get(), static_cast<int>(y));
        if (bpp >= 8) {
            std::memcpy(to, from + static_cast<std::size_t>(x0) * (bpp / 8),
                        static_cast<std::size_t>(cropWidth) * (bpp / 8));
        } else {
            for (unsigned x = 0; x < cropWidth; ++x) {
                setPackedPixel(to, x, bpp, packedPixel(from, static_cast<unsigned>(x0) + x, bpp));
            }
        }
    }
    image = result.release();
    return true;
}

bool rotateImage(fipImage& image, double degrees, RGBQUAD background) {
    if (!image.isValid() || image.getWidth() == 0 || image.getHeight() == 0 ||
        !std::isfinite(degrees)) {
        return false;
    }
    FIBITMAP* dib = image;
    const unsigned bpp = FreeImage_GetBPP(dib);
    if (!isStandardBitmap(dib) || (bpp != 1 && bpp != 8 && bpp != 24 && bpp != 32)) {
        return false;
    }
    double angle = std::fmod(degrees, 360.0);
    if (angle < 0) {
        angle += 360.0;
    }
    FreeImageBitmap result;
    try {
        if (angle == 0.0) {
            return true;
        }
        if (angle == 180.0) {
            // Half a turn is both mirrors, in place: no new bitmap to fill.
            return flipImageHorizontal(image) && flipImageVertical(image);
        }
        if (angle == 90.0 || angle == 270.0) {
            result = quarterTurn(dib, static_cast<int>(angle) / 90);
        } else {
            result = rotateFreely(dib, angle, background);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!result) {
        return false;
    }
    image = result.release();
    return true;
}

}  // namespace tarn
