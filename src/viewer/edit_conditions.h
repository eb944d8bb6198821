#pragma once

#include <initializer_list>
#include <string>

#include "imaging/fip_super_image.h"

namespace tarn {

// Which editing commands an open image takes, by its type and depth. An invalid image takes none.

// The library's standard bitmap type, any depth.
bool isStandardBitmap(const fipImage& image);
// A standard bitmap of one of these depths.
bool isBitmapOfDepth(const fipImage& image, std::initializer_list<unsigned> depths);
// A standard bitmap of 24 or 32 bits, which most effects take.
bool isTrueColor(const fipImage& image);
// The depths the turns take: 1, 8, 24 and 32 bits.
bool isTurnable(const fipImage& image);
// The pixel types the library's rescaling takes.
bool canRescale(const fipImage& image);
// Counting colours: a standard bitmap of other than 16 bits.
bool canCountColors(const fipImage& image);
// Any valid image.
bool isAnyImage(const fipImage& image);

// Whether the file's format by its extension is JPEG (the lossless transformations).
bool isJpegByName(const std::string& path);

}  // namespace tarn
