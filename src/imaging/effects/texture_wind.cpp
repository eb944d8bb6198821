#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>

#include "imaging/effects/parallel_rows.h"
#include "imaging/effects/texture_effects.h"
#include "imaging/effects/texture_support.h"

namespace tarn {

namespace {

// The streak of pixel k reaches back over the window [k - level, k] (wind to the right) or
// [k, k + level] (to the left). Its maximum comes from maxima running forward (prefix) and
// backward (suffix) inside blocks of level + 1 pixels, as no such window spans more than two
// blocks. All bytes of a pixel take part; alpha is left out only when written back.
template <unsigned Bytes>
void hardStreaks(BYTE* row, std::uint8_t* __restrict prefix, std::uint8_t* __restrict suffix,
                 int width, int level, bool toRight) {
    const auto w = static_cast<std::size_t>(width);
    const std::size_t count = w * Bytes;
    const std::size_t blockBytes = (static_cast<std::size_t>(level) + 1) * Bytes;
    {  // the row is only read in here
        const std::uint8_t* __restrict in = row;
        for (std::size_t begin = 0; begin < count; begin += blockBytes) {
            const std::size_t end = std::min(count, begin + blockBytes);
            for (std::size_t c = 0; c < Bytes; ++c) {
                prefix[begin + c] = in[begin + c];
                suffix[end - Bytes + c] = in[end - Bytes + c];
            }
            for (std::size_t i = begin + Bytes; i < end; ++i) {
                prefix[i] = std::max(prefix[i - Bytes], in[i]);
            }
            for (std::size_t i = end - Bytes; i-- > begin;) {
                suffix[i] = std::max(suffix[i + Bytes], in[i]);
            }
        }
    }
    const std::size_t reach = std::min(count, static_cast<std::size_t>(level) * Bytes);
    const std::uint8_t* result = nullptr;
    if (toRight) {
        // Up to pixel level the window starts at 0, inside the first block: the prefix is right.
        for (std::size_t i = reach; i < count; ++i) {
            prefix[i] = std::max(prefix[i], suffix[i - reach]);
        }
        result = prefix;
    } else {
        for (std::size_t i = 0; i < count - reach; ++i) {
            suffix[i] = std::max(suffix[i], prefix[i + reach]);
        }
        // The windows that run past the end stop at the last pixel; inside the last block the
        // suffix alone reaches it.
        const std::uint8_t* last = prefix + count - Bytes;
        const std::size_t lastBlock = (count - Bytes) / blockBytes * blockBytes;
        for (std::size_t i = count - reach; i < lastBlock; i += Bytes) {
            for (std::size_t c = 0; c < Bytes; ++c) {
                suffix[i + c] = std::max(suffix[i + c], last[c]);
            }
        }
        result = suffix;
    }
    texture::copyColour(row, result, w, Bytes);
}

// Each value is max over d of (v[k - d] * n - 255 * d) / n with n = level + 1, d counted
// upwind: a streak that fades by 255 / n a pixel. Kept as a quotient and remainder by n, so
// that no pixel needs a division.
void smoothStreaks(BYTE* row, int width, unsigned bytes, int level, bool toRight) {
    const int n = level + 1;
    const int step = 255 / n;
    const int stepRest = 255 % n;
    const std::ptrdiff_t stride = toRight ? bytes : -static_cast<std::ptrdiff_t>(bytes);
    BYTE* const first = toRight ? row : row + static_cast<std::size_t>(width - 1) * bytes;
    for (int c = 0; c < 3; ++c) {
        BYTE* value = first + c;
        int quotient = *value;
        int rest = 0;
        for (int k = 1; k < width; ++k) {
            value += stride;
            int fadedQuotient = quotient - step;
            int fadedRest = rest - stepRest;
            if (fadedRest < 0) {
                fadedRest += n;
                --fadedQuotient;
            }
            if (*value > fadedQuotient) {
                quotient = *value;
                rest = 0;
            } else {
                quotient = fadedQuotient;
                rest = fadedRest;
                *value = static_cast<BYTE>(quotient);
            }
        }
    }
}

}  // namespace

bool wind(fipImage& image, const WindParams& params) {
    const unsigned bytes = texture::trueColorBytes(image);
    if (bytes == 0) {
        return false;
    }
    const int width = static_cast<int>(image.getWidth());
    const int height = static_cast<int>(image.getHeight());
    const int level = std::clamp(params.level, 1, width);
    const bool toRight = params.direction >= 1;
    const bool smooth = params.smooth;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytes;
    const std::int64_t work = static_cast<std::int64_t>(width) * height;
    try {
        texture::BandBuffers<std::uint8_t> scratch(height, work, smooth ? 0 : 2 * rowBytes);
        forEachRowBand(height, work, [&](int top, int bottom) {
            std::uint8_t* const buffer = scratch.take();
            for (int y = top; y < bottom; ++y) {
                BYTE* row = image.getScanLine(static_cast<unsigned>(y));
                if (smooth) {
                    smoothStreaks(row, width, bytes, level, toRight);
                } else {
                    if (bytes == 3) {
                        hardStreaks<3>(row, buffer, buffer + rowBytes, width, level, toRight);
                    } else {
                        hardStreaks<4>(row, buffer, buffer + rowBytes, width, level, toRight);
                    }
                }
            }
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace tarn
