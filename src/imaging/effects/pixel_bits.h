#pragma once

#include <FreeImage.h>

#ifndef _WIN32
#undef _WINDOWS_  // FreeImage defines it, and wx then takes this for a Windows build
#endif

namespace tarn {

// Pixels of 1- and 4-bit rows, the leftmost in the high bits of a byte.
inline unsigned packedPixel(const BYTE* row, unsigned x, unsigned bpp) {
    if (bpp == 1) {
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    }
    return (row[x >> 1] >> ((x & 1) != 0 ? 0 : 4)) & 0xFu;
}

inline void setPackedPixel(BYTE* row, unsigned x, unsigned bpp, unsigned value) {
    if (bpp == 1) {
        const unsigned shift = 7 - (x & 7);
        row[x >> 3] = static_cast<BYTE>((row[x >> 3] & ~(1u << shift)) | ((value & 1u) << shift));
        return;
    }
    const unsigned shift = (x & 1) != 0 ? 0 : 4;
    row[x >> 1] = static_cast<BYTE>((row[x >> 1] & ~(0xFu << shift)) | ((value & 0xFu) << shift));
}

}  // namespace tarn
