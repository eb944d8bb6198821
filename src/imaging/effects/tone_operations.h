#pragma once

#include "imaging/fip_super_image.h"

namespace tarn {

// The tone operations of the Effects menu over the library's own conversions, on standard
// bitmaps of every depth (and, for invert, the 16-bit and 48/64-bit colour types the library
// inverts). Each returns false and leaves the image as it was when it cannot be done.

// Every channel v becomes max - v; palette images invert their palette, 16-bit 5-5-5 and
// 5-6-5 pixels each field.
bool invert(fipImage& image);
// To an 8-bit grey image.
bool convertToGrayscale(fipImage& image);
// Floyd-Steinberg dithering to 1 bit.
bool dither(fipImage& image);

struct ThresholdParams {
    int level;  // 0-255; grey levels at or above it become white
};
// To a 1-bit black-and-white image.
bool threshold(fipImage& image, const ThresholdParams& params);

}  // namespace tarn
