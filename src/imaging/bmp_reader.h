#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "imaging/freeimage_ptr.h"

namespace tarn {

// Our own reader for Windows and OS/2 bitmaps, tried when FreeImage refuses one. It reads the
// 12-byte core header and the 40, 52, 56, 108 and 124-byte info headers; uncompressed 1, 4, 8,
// 16, 24 and 32-bit pixels, bit-field masks of any width, RLE4 and RLE8; rows in either order.
// Result: 1/4/8-bit palettised for palette files (as FreeImage would load them), 8-bit
// palettised for RLE, 32 bits when an alpha mask holds some nonzero alpha, else 24 bits.
// Empty for anything damaged, truncated or bigger than the pixel limit.
FreeImageBitmap readBmp(const std::uint8_t* data, std::size_t size);

// The same for a file; empty when it cannot be read.
FreeImageBitmap readBmpFile(const std::string& path);

// Whether the name ends in .bmp, .dib or .rle (any case).
bool hasBmpExtension(const std::string& path);

}  // namespace tarn
