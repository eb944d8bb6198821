#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tarn {

// A picture's size as its file's header states it, before any pixel is decoded.
struct ImageHeader {
    unsigned width = 0;
    unsigned height = 0;
    unsigned bpp = 0;  // 0 when the header does not tell
};

// Reads the header of a page (from 0) of an image file. PNG, JPEG, GIF, BMP and TIFF are read
// by our own small readers, which look only at the few bytes they need; TIFF and GIF pages past
// the first are found by following the file's chain of pages. So are the formats whose library
// loader cannot stop before the pixels (DDS, SGI, JPEG 2000, MNG, IFF, PICT, XBM, WBMP). Other
// formats go through the library's header-only load (first page only). Empty when the header
// cannot be read.
std::optional<ImageHeader> readImageHeader(const std::string& path, int page = 0);
// The same for a file's bytes in memory.
std::optional<ImageHeader> readImageHeader(const std::uint8_t* data, std::size_t size,
                                           int page = 0);

// False when the header claims a picture beyond the decode limit. A header that cannot be read
// passes: the decoder then judges the file itself.
bool headerFitsDecodeLimit(const std::string& path, int page = 0);
bool headerFitsDecodeLimit(const std::uint8_t* data, std::size_t size, int page = 0);

}  // namespace tarn
