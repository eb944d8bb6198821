#pragma once

#include "imaging/freeimage_ptr.h"

namespace tarn {

// The turned copies behind rotateImage, for standard bitmaps of 1, 8, 24 and 32 bits. Null
// when the result would pass the decode limit or cannot be allocated.

// One (turns 1) or three quarter turns counter-clockwise, pixel for pixel.
FreeImageBitmap quarterTurn(FIBITMAP* dib, int turns);

// Any other angle in degrees, counter-clockwise, on a canvas that holds the whole picture.
FreeImageBitmap rotateFreely(FIBITMAP* dib, double degrees, RGBQUAD background);

}  // namespace tarn
