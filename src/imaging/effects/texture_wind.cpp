#include <algorithm>
#include <cstdint>
#include <new>

#include "imaging/effects/parallel_rows.h"
#include "imaging/effects/texture_effects.h"
#include "imaging/effects/texture_support.h"

namespace tarn {

namespace {

// A row's colour bytes in upwind order: pixel 0 is the one the wind comes from, so the streaks
// always run towards higher indices.
struct WindRow {
    std::uint8_t* colours;  // width * 3
    std::uint8_t* prefix;   // width * 3
    std::uint8_t* suffix;   // width * 3
};

void gather(const BYTE* row, std::uint8_t* colours, int width, unsigned bytes, bool toRight) {
    if (toRight && bytes == 3) {
        std::copy(row, row + static_cast<std::size_t>(width) * 3, colours);
        return;
    }
    for (int k = 0; k < width; ++k) {
        const int x = toRight ? k : width - 1 - k;
        const BYTE* pixel = row + static_cast<std::size_t>(x) * bytes;
        std::uint8_t* out = colours + static_cast<std::size_t>(k) * 3;
        out[0] = pixel[0];
        out[1] = pixel[1];
        out[2] = pixel[2];
    }
}

void scatter(BYTE* row, const std::uint8_t* colours, int width, unsigned bytes, bool toRight) {
    if (toRight && bytes == 3) {
        std::copy(colours, colours + static_cast<std::size_t>(width) * 3, row);
        return;
    }
    for (int k = 0; k < width; ++k) {
        const int x = toRight ? k : width - 1 - k;
        BYTE* pixel = row + static_cast<std::size_t>(x) * bytes;
        const std::uint8_t* in = colours + static_cast<std::size_t>(k) * 3;
        pixel[0] = in[0];
        pixel[1] = in[1];
        pixel[2] = in[2];
    }
}

// The maximum over the window [k - level, k] for every k, from the maxima running forward and
// backward inside blocks of level + 1 pixels: any such window spans at most two blocks. The
// result replaces prefix.
void hardStreaks(const WindRow& row, int width, int level) {
    const std::size_t n = static_cast<std::size_t>(level) + 1;
    const std::size_t count = static_cast<std::size_t>(width) * 3;
    // Local copies: stores through the byte pointers could otherwise alias the struct.
    const std::uint8_t* __restrict in = row.colours;
    std::uint8_t* __restrict prefix = row.prefix;
    std::uint8_t* __restrict suffix = row.suffix;
    for (std::size_t begin = 0; begin < count; begin += n * 3) {
        const std::size_t end = std::min(count, begin + n * 3);
        for (std::size_t c = 0; c < 3; ++c) {
            prefix[begin + c] = in[begin + c];
            suffix[end - 3 + c] = in[end - 3 + c];
        }
        for (std::size_t i = begin + 3; i < end; ++i) {
            prefix[i] = std::max(prefix[i - 3], in[i]);
        }
        for (std::size_t i = end - 3; i-- > begin;) {
            suffix[i] = std::max(suffix[i + 3], in[i]);
        }
    }
    // Before pixel level the window starts at 0, inside the first block: the prefix is right.
    const std::size_t skip = std::min(count, static_cast<std::size_t>(level) * 3);
    for (std::size_t i = skip; i < count; ++i) {
        prefix[i] = std::max(prefix[i], suffix[i - skip]);
    }
}

// Each value is max over d of (v[k - d] * n - 255 * d) / n with n = level + 1: a streak that
// fades by 255 / n a pixel. Kept as a quotient and remainder by n, so no division per pixel.
void smoothStreaks(const WindRow& row, int width, int level) {
    const int n = level + 1;
    const int step = 255 / n;
    const int stepRest = 255 % n;
    std::uint8_t* const v = row.colours;
    for (int c = 0; c < 3; ++c) {
        int quotient = v[c];
        int rest = 0;
        for (int k = 1; k < width; ++k) {
            std::uint8_t& value = v[static_cast<std::size_t>(k) * 3 + c];
            int fadedQuotient = quotient - step;
            int fadedRest = rest - stepRest;
            if (fadedRest < 0) {
                fadedRest += n;
                --fadedQuotient;
            }
            if (value > fadedQuotient) {
                quotient = value;
                rest = 0;
            } else {
                quotient = fadedQuotient;
                rest = fadedRest;
                value = static_cast<std::uint8_t>(quotient);
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
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    const std::int64_t work = static_cast<std::int64_t>(width) * height;
    try {
        texture::BandBuffers<std::uint8_t> scratch(height, work, rowBytes * 3);
        forEachRowBand(height, work, [&](int top, int bottom) {
            std::uint8_t* buffer = scratch.take();
            const WindRow row{buffer, buffer + rowBytes, buffer + 2 * rowBytes};
            for (int y = top; y < bottom; ++y) {
                BYTE* line = image.getScanLine(static_cast<unsigned>(y));
                gather(line, row.colours, width, bytes, toRight);
                if (params.smooth) {
                    smoothStreaks(row, width, level);
                    scatter(line, row.colours, width, bytes, toRight);
                } else {
                    hardStreaks(row, width, level);
                    scatter(line, row.prefix, width, bytes, toRight);
                }
            }
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace tarn
