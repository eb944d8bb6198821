#pragma once

#include <FreeImage.h>
// FreeImage guards its own Windows-style type names with windows.h's guard macro, which wx then
// takes for windows.h; off Windows nothing else needs the macro.
#ifndef _WIN32
#undef _WINDOWS_
#endif

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/freeimage_ptr.h"

namespace tarn {

// Reads a whole file; false when it cannot be read (an empty file reads as empty).
bool readFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes);

// Picture size from a JPEG's header, without decoding. False when the bytes are not a JPEG.
bool readJpegSize(const std::uint8_t* data, std::size_t size, int& width, int& height);

// Decodes a JPEG with TurboJPEG into a FreeImage bitmap: 8-bit grey for grey-scale files, else
// 24 bits, or 32 bits (opaque) when asked. When minWidth/minHeight are given, the decoder scales
// by the smallest DCT factor that still yields at least that size, and decodes for speed rather
// than precision. Pictures beyond the decode limit (decode_limits.h) are refused. The file's
// resolution, EXIF block, XMP packet, ICC profile and comment go with a full decode. Null for what
// TurboJPEG cannot read (CMYK files, damage); a file that ends early is refused so that a cut-off
// download is never taken for the picture.
FreeImageBitmap decodeJpeg(const std::uint8_t* data, std::size_t size, bool want32 = false,
                           int minWidth = 0, int minHeight = 0);

// Whether TurboJPEG refused the data only because of its colour space (the caller may then try
// another decoder), as opposed to damage.
bool jpegNeedsOtherDecoder(const std::uint8_t* data, std::size_t size);

// The lossless operations, numbered as the imaging library numbers them.
enum class JpegTransform {
    FlipHorizontal = 1,
    FlipVertical = 2,
    Rotate90 = 5,  // clockwise
    Rotate180 = 6,
    Rotate270 = 7,  // 90 counter-clockwise
};

// Transforms a JPEG file in place without re-encoding. Partial edge blocks that cannot be
// transformed are trimmed; every marker (EXIF among them) is kept. The file is replaced
// atomically, so a failure leaves it as it was.
bool transformJpegFile(const std::string& path, JpegTransform operation);

// The same from one file to another (the target replaced atomically).
bool transformJpegFile(const std::string& source, const std::string& target,
                       JpegTransform operation);

}  // namespace tarn
