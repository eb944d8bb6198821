#pragma once

#include <FreeImagePlus.h>

#ifndef _WIN32
#undef _WINDOWS_  // FreeImage defines it, and wx then takes this for a Windows build
#endif

namespace tarn {

// Each operation returns true on success; on failure (an invalid image, a layout it does not
// take, a result too large, no memory) it returns false and leaves the image as it was.
// Resolution, palette, transparency and metadata stay.

// Turns the picture counter-clockwise by degrees; standard bitmaps of 1, 8, 24 and 32 bits.
// Multiples of 90 are exact quarter turns (width and height, and the resolutions, swap for
// odd ones). Other angles enlarge the canvas to hold the whole turned picture and fill the
// corners with background: 8-bit grey, 24- and 32-bit pictures are interpolated; 1-bit and
// colour-palette 8-bit ones take the nearest source pixel (their indices cannot be blended),
// with the palette entry nearest to background in the corners. NaN or infinity: false.
bool rotateImage(fipImage& image, double degrees, RGBQUAD background = {});

// Mirror images, any type and depth.
bool flipImageHorizontal(fipImage& image);
bool flipImageVertical(fipImage& image);

struct RescaleParams {
    unsigned width;
    unsigned height;
    FREE_IMAGE_FILTER filter;
};

// Resamples to width x height with the filter; the types the library resamples (FIT_BITMAP,
// FIT_UINT16, FIT_FLOAT, FIT_RGB16, FIT_RGBA16, FIT_RGBF, FIT_RGBAF). Palette bitmaps come
// back as 8-bit grey or 24-bit, as the library gives them. A zero or too large size: false.
bool rescaleImage(fipImage& image, const RescaleParams& params);
// The pixel types rescaleImage takes.
bool canRescaleType(FREE_IMAGE_TYPE type);

// Keeps the rectangle [left, right) x [top, bottom) in pixels counted from the top-left corner
// of the picture (as the selection is), clipped to the image; any layout. Empty after
// clipping: false.
bool cropImage(fipImage& image, int left, int top, int right, int bottom);

}  // namespace tarn
