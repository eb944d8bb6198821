#include "imaging/decode_limits.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace tarn {

std::uint64_t maxDecodedBytes() {
    static const std::uint64_t limit = [] {
        const long pages = ::sysconf(_SC_PHYS_PAGES);
        const long pageSize = ::sysconf(_SC_PAGE_SIZE);
        if (pages <= 0 || pageSize <= 0) {
            return kMaxDecodeBytesCap;
        }
        const std::uint64_t half =
            static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 2;
        return std::clamp(half, kMinDecodeBytes, kMaxDecodeBytesCap);
    }();
    return limit;
}

std::uint64_t decodedBytes(unsigned width, unsigned height, unsigned bpp) {
    const std::uint64_t rowBytes = (std::uint64_t{width} * bpp + 31) / 32 * 4;
    if (height != 0 && rowBytes > UINT64_MAX / height) {
        return UINT64_MAX;
    }
    return rowBytes * height;
}

bool fitsDecodeLimit(unsigned width, unsigned height, unsigned bpp) {
    if (std::uint64_t{width} * height > kMaxDecodePixels) {
        return false;
    }
    return decodedBytes(width, height, bpp == 0 ? 32 : bpp) <= maxDecodedBytes();
}

}  // namespace tarn
