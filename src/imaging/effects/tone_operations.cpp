#include "imaging/effects/tone_operations.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tarn {

namespace {

bool isStandardBitmap(const fipImage& image) {
    return image.isValid() && image.getImageType() == FIT_BITMAP;
}

// The library does not invert 5-5-5 and 5-6-5 pixels: every field's bits flip, which is
// max - v for each of them.
bool invert16(fipImage& image) {
    const std::uint16_t fields = static_cast<std::uint16_t>(
        FreeImage_GetRedMask(image) | FreeImage_GetGreenMask(image) | FreeImage_GetBlueMask(image));
    const unsigned width = image.getWidth();
    for (unsigned y = 0; y < image.getHeight(); ++y) {
        BYTE* line = image.getScanLine(y);
        for (unsigned x = 0; x < width; ++x) {
            std::uint16_t pixel;
            std::memcpy(&pixel, line + 2 * x, 2);
            pixel ^= fields;
            std::memcpy(line + 2 * x, &pixel, 2);
        }
    }
    return true;
}

}  // namespace

bool invert(fipImage& image) {
    if (!image.isValid()) {
        return false;
    }
    if (image.getImageType() == FIT_BITMAP && image.getBitsPerPixel() == 16) {
        return invert16(image);
    }
    return image.invert() != FALSE;
}

bool convertToGrayscale(fipImage& image) {
    return isStandardBitmap(image) && image.convertToGrayscale() != FALSE;
}

bool dither(fipImage& image) {
    return isStandardBitmap(image) && image.dither(FID_FS) != FALSE;
}

bool threshold(fipImage& image, const ThresholdParams& params) {
    return isStandardBitmap(image) &&
           image.threshold(static_cast<BYTE>(std::clamp(params.level, 0, 255))) != FALSE;
}

}  // namespace tarn
