#include "imaging/effects/texture_effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <numbers>
#include <vector>

#include "imaging/effects/multiversion.h"
#include "imaging/effects/parallel_rows.h"
#include "imaging/effects/texture_support.h"

namespace tarn {

namespace {

using texture::BandBuffers;

std::int64_t pixelCount(const fipImage& image) {
    return static_cast<std::int64_t>(image.getWidth()) * image.getHeight();
}

// The random stream is indexed by the byte of the row, so the alpha bytes of 32-bit rows skip
// an index: the colour of a pixel does not depend on the layout's neighbours.
template <unsigned Bytes>
[[gnu::always_inline]] inline void noiseRow(std::uint8_t* row, std::uint32_t count,
                                            std::uint32_t key, int amount) {
    for (std::uint32_t i = 0; i < count; ++i) {
        const int offset = texture::uniformOffset(texture::randomAt(key, i) >> 16, amount);
        const auto noisy = static_cast<std::uint8_t>(std::clamp(row[i] + offset, 0, 255));
        row[i] = (Bytes == 4 && i % 4 == 3) ? row[i] : noisy;
    }
}

TARN_CLONES("avx2", "default")
void noiseRow3(std::uint8_t* row, std::uint32_t count, std::uint32_t key, int amount) {
    noiseRow<3>(row, count, key, amount);
}

TARN_CLONES("avx2", "default")
void noiseRow4(std::uint8_t* row, std::uint32_t count, std::uint32_t key, int amount) {
    noiseRow<4>(row, count, key, amount);
}

// Where each pixel of a row takes its colour from: column and scanline, clamped to the image.
TARN_CLONES("avx2", "default")
void spreadSources(std::int32_t* columns, std::int32_t* scanlines, int width, int height, int y,
                   std::uint32_t key, int amount) {
    for (int x = 0; x < width; ++x) {
        const std::uint32_t bits = texture::randomAt(key, static_cast<std::uint32_t>(x));
        columns[x] = std::clamp(x + texture::uniformOffset(bits & 0xffffu, amount), 0, width - 1);
        scanlines[x] = std::clamp(y + texture::uniformOffset(bits >> 16, amount), 0, height - 1);
    }
}

// Sums each byte column of the block's rows into sums, then gives every pixel of those rows
// its block's rounded average. Sum must hold 255 times the block's height.
template <typename Sum>
void mosaicBlockRow(fipImage& image, unsigned bytes, int blockWidth, int top, int rows, Sum* sums,
                    std::uint8_t* fill) {
    const int width = static_cast<int>(image.getWidth());
    const int height = static_cast<int>(image.getHeight());
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytes;
    std::fill(sums, sums + rowBytes, Sum{0});
    for (int r = top; r < top + rows; ++r) {
        const BYTE* row = image.getScanLine(static_cast<unsigned>(height - 1 - r));
        for (std::size_t i = 0; i < rowBytes; ++i) {
            sums[i] += row[i];
        }
    }
    for (int left = 0; left < width; left += blockWidth) {
        const int columns = std::min(blockWidth, width - left);
        const auto count = static_cast<std::uint64_t>(columns) * static_cast<std::uint64_t>(rows);
        for (unsigned c = 0; c < 3; ++c) {
            std::uint64_t total = 0;
            for (int x = left; x < left + columns; ++x) {
                total += sums[static_cast<std::size_t>(x) * bytes + c];
            }
            const auto average = static_cast<std::uint8_t>((total + count / 2) / count);
            for (int x = left; x < left + columns; ++x) {
                fill[static_cast<std::size_t>(x) * bytes + c] = average;
            }
        }
    }
    for (int r = top; r < top + rows; ++r) {
        BYTE* row = image.getScanLine(static_cast<unsigned>(height - 1 - r));
        texture::copyColour(row, fill, static_cast<std::size_t>(width), bytes);
    }
}

template <typename Sum>
void mosaicWith(fipImage& image, unsigned bytes, int blockWidth, int blockHeight) {
    const int height = static_cast<int>(image.getHeight());
    const std::size_t rowBytes = static_cast<std::size_t>(image.getWidth()) * bytes;
    const int blockRows = (height + blockHeight - 1) / blockHeight;
    const std::int64_t work = pixelCount(image);
    BandBuffers<Sum> sums(blockRows, work, rowBytes);
    BandBuffers<std::uint8_t> fills(blockRows, work, rowBytes);
    forEachRowBand(blockRows, work, [&](int first, int last) {
        Sum* bandSums = sums.take();
        std::uint8_t* fill = fills.take();
        for (int k = first; k < last; ++k) {
            const int top = k * blockHeight;
            const int rows = std::min(blockHeight, height - top);
            mosaicBlockRow(image, bytes, blockWidth, top, rows, bandSums, fill);
        }
    });
}

// Moves one row's colour sideways by offset pixels (positive: to the right), the edge pixel
// filling the uncovered end. copy holds the row's bytes.
void shiftRow(BYTE* row, const std::uint8_t* copy, int width, int offset, unsigned bytes) {
    const auto w = static_cast<std::size_t>(width);
    if (offset > 0) {
        const std::size_t n = std::min(static_cast<std::size_t>(offset), w);
        texture::copyColour(row + n * bytes, copy, w - n, bytes);
        texture::fillColour(row, copy, n, bytes);
    } else if (offset < 0) {
        const std::size_t n = std::min(static_cast<std::size_t>(-offset), w);
        texture::copyColour(row, copy + n * bytes, w - n, bytes);
        texture::fillColour(row + (w - n) * bytes, copy + (w - 1) * bytes, n, bytes);
    }
}

}  // namespace

bool addNoise(fipImage& image, const AddNoiseParams& params) {
    const unsigned bytes = texture::trueColorBytes(image);
    if (bytes == 0) {
        return false;
    }
    const int amount = std::clamp(params.amount, 0, 255);
    if (amount == 0) {
        return true;
    }
    const std::uint32_t count = image.getWidth() * bytes;
    const int height = static_cast<int>(image.getHeight());
    try {
        forEachRowBand(height, pixelCount(image), [&](int top, int bottom) {
            for (int y = top; y < bottom; ++y) {
                const auto scanline = static_cast<std::uint32_t>(y);
                const std::uint32_t key = texture::rowKey(params.seed, scanline);
                BYTE* row = image.getScanLine(scanline);
                if (bytes == 3) {
                    noiseRow3(row, count, key, amount);
                } else {
                    noiseRow4(row, count, key, amount);
                }
            }
        });
    } catch (const std::bad_alloc&) {
        return false;  // no band had started
    }
    return true;
}

bool mosaic(fipImage& image, const MosaicParams& params) {
    const unsigned bytes = texture::trueColorBytes(image);
    if (bytes == 0) {
        return false;
    }
    const int width = static_cast<int>(image.getWidth());
    const int height = static_cast<int>(image.getHeight());
    const int block = std::max(params.blockSize, 1);
    if (block == 1) {
        return true;
    }
    const int blockWidth = std::min(block, width);
    const int blockHeight = std::min(block, height);
    try {
        if (static_cast<std::uint64_t>(blockHeight) * 255 <=
            std::numeric_limits<std::uint32_t>::max()) {
            mosaicWith<std::uint32_t>(image, bytes, blockWidth, blockHeight);
        } else {
            mosaicWith<std::uint64_t>(image, bytes, blockWidth, blockHeight);
        }
    } catch (const std::bad_alloc&) {
        return false;  // the buffers come before any pixel is written
    }
    return true;
}

bool spread(fipImage& image, const SpreadParams& params) {
    const unsigned bytes = texture::trueColorBytes(image);
    if (bytes == 0) {
        return false;
    }
    const int amount = std::clamp(params.amount, 0, 32);
    if (amount == 0) {
        return true;
    }
    const int width = static_cast<int>(image.getWidth());
    const int height = static_cast<int>(image.getHeight());
    const std::size_t pitch = image.getScanWidth();
    try {
        const std::size_t size = pitch * static_cast<std::size_t>(height);
        const auto copy = std::make_unique_for_overwrite<std::uint8_t[]>(size);
        std::memcpy(copy.get(), image.accessPixels(), size);
        BandBuffers<std::int32_t> sources(height, pixelCount(image),
                                          2 * static_cast<std::size_t>(width));
        forEachRowBand(height, pixelCount(image), [&](int top, int bottom) {
            std::int32_t* const columns = sources.take();
            std::int32_t* const scanlines = columns + width;
            // Locals, so that the byte stores below cannot alias them.
            const std::uint8_t* const source = copy.get();
            const std::size_t rowPitch = pitch;
            const std::size_t step = bytes;
            const int w = width;
            for (int y = top; y < bottom; ++y) {
                spreadSources(columns, scanlines, width, height, y,
                              texture::rowKey(params.seed, static_cast<std::uint32_t>(y)), amount);
                BYTE* row = image.getScanLine(static_cast<unsigned>(y));
                for (int x = 0; x < w; ++x) {
                    const std::uint8_t* from = source +
                                               static_cast<std::size_t>(scanlines[x]) * rowPitch +
                                               static_cast<std::size_t>(columns[x]) * step;
                    std::uint8_t* to = row + static_cast<std::size_t>(x) * step;
                    to[0] = from[0];
                    to[1] = from[1];
                    to[2] = from[2];
                }
            }
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool stripe(fipImage& image, const StripeParams& params) {
    const unsigned bytes = texture::trueColorBytes(image);
    if (bytes == 0) {
        return false;
    }
    const int swing = std::clamp(params.swing, 0, 100);
    const int frequency = std::clamp(params.frequency, 0, 100);
    if (swing == 0 || frequency == 0) {
        return true;
    }
    const int width = static_cast<int>(image.getWidth());
    const int height = static_cast<int>(image.getHeight());
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytes;
    try {
        BandBuffers<std::uint8_t> copies(height, pixelCount(image), rowBytes);
        forEachRowBand(height, pixelCount(image), [&](int top, int bottom) {
            std::uint8_t* copy = copies.take();
            for (int y = top; y < bottom; ++y) {
                const int r = height - 1 - y;
                const double phase = 2.0 * std::numbers::pi * frequency * r / height;
                const auto offset = static_cast<int>(std::lround(swing * std::sin(phase)));
                if (offset != 0) {
                    BYTE* row = image.getScanLine(static_cast<unsigned>(y));
                    std::memcpy(copy, row, rowBytes);
                    shiftRow(row, copy, width, offset, bytes);
                }
            }
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace tarn
