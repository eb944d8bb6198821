#pragma once

#include <FreeImagePlus.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/effects/parallel_rows.h"

// Helpers shared by the texture effects; not for other callers.
namespace tarn::texture {

// Bytes per pixel of a 24- or 32-bit standard bitmap that has pixels; 0 for anything else.
inline unsigned trueColorBytes(const fipImage& image) {
    if (!image.isValid() || image.getImageType() != FIT_BITMAP || image.getWidth() == 0 ||
        image.getHeight() == 0) {
        return 0;
    }
    const unsigned bpp = image.getBitsPerPixel();
    return bpp == 24 ? 3 : bpp == 32 ? 4 : 0;
}

// A well-mixed 32-bit value from another (an integer hash with low bias).
constexpr std::uint32_t mixBits(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

// The key of one scanline's random values. The values hang on (seed, scanline, index) alone,
// so that the pixels do not depend on how the rows were split over the cores.
constexpr std::uint32_t rowKey(std::uint32_t seed, std::uint32_t scanline) {
    return mixBits(mixBits(seed ^ 0xa511e9b3u) + scanline * 0x9e3779b9u);
}

constexpr std::uint32_t randomAt(std::uint32_t key, std::uint32_t index) {
    return mixBits(key + index * 0x632be5abu);
}

// A value in [-amount, amount] from 16 random bits (amount <= 32767).
constexpr int uniformOffset(std::uint32_t bits16, int amount) {
    const auto span = static_cast<std::uint32_t>(2 * amount + 1);
    return static_cast<int>((bits16 * span) >> 16) - amount;
}

// One scratch buffer for each band of forEachRowBand(rows, work, ...), allocated up front (so
// that the bands never allocate) and handed to the bands as they start.
template <typename T>
class BandBuffers {
public:
    BandBuffers(int rows, std::int64_t work, std::size_t elements)
        : m_buffers(static_cast<std::size_t>(rowBandCount(rows, work))) {
        for (std::vector<T>& buffer : m_buffers) {
            buffer.resize(elements);
        }
    }
    T* take() { return m_buffers[m_next.fetch_add(1) % m_buffers.size()].data(); }

private:
    std::vector<std::vector<T>> m_buffers;
    std::atomic<std::size_t> m_next{0};
};

// Copies the colour of count pixels; the alpha of 32-bit destination pixels stays.
inline void copyColour(std::uint8_t* dst, const std::uint8_t* src, std::size_t count,
                       unsigned bytes) {
    if (bytes == 3) {
        std::copy(src, src + count * 3, dst);
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        dst[i * 4] = src[i * 4];
        dst[i * 4 + 1] = src[i * 4 + 1];
        dst[i * 4 + 2] = src[i * 4 + 2];
    }
}

// Gives count pixels the colour of one pixel; alpha stays.
inline void fillColour(std::uint8_t* dst, const std::uint8_t* pixel, std::size_t count,
                       unsigned bytes) {
    for (std::size_t i = 0; i < count; ++i) {
        dst[i * bytes] = pixel[0];
        dst[i * bytes + 1] = pixel[1];
        dst[i * bytes + 2] = pixel[2];
    }
}

}  // namespace tarn::texture
