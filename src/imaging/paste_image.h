#pragma once

#include <FreeImagePlus.h>

#include "common/rect.h"

namespace tarn {

// Converts the image to the pixel type and depth of another; a palette depth maps every colour
// to the nearest entry of the other's palette, so that pasted indices mean the same colours.
// False, and the image unchanged, when the conversion is not possible.
bool convertToDepthOf(fipImage& image, const fipImage& like);

// Pastes a picture into the target, opaque: without an area cut at the target's size from its
// top-left corner and put at (0, 0); with one (image pixels) rescaled to the area's size with the
// bilinear filter and put at its corner. False, and the target unchanged, on failure.
bool pasteImage(fipImage& target, fipImage picture, const Rect* area);

}  // namespace tarn
