#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "imaging/decode_limits.h"
#include "imaging/effects/bitmap_like.h"
#include "imaging/effects/geometry.h"
#include "imaging/effects/parallel_rows.h"
#include "imaging/effects/resample_filters.h"

namespace tarn {

namespace {

using Float4 = float __attribute__((vector_size(16)));

// One target row filtered down the source columns, source width wide, with a spare float.
struct BandRows {
    std::vector<float> columns;
};

// Filters source rows down into one row: sums[i] = sum of weight[k] * rows[k][i], a block at a
// time so that the sums stay in the first-level cache.
__attribute__((target_clones("arch=haswell", "default"))) void filterDown(const BYTE* const* rows,
                                                                          const float* weight,
                                                                          unsigned taps,
                                                                          std::size_t count,
                                                                          float* __restrict sums) {
    constexpr std::size_t kBlock = 1024;
    for (std::size_t start = 0; start < count; start += kBlock) {
        const std::size_t end = std::min(count, start + kBlock);
        const BYTE* __restrict row = rows[0];
        const float w0 = weight[0];
        for (std::size_t i = start; i < end; ++i) {
            sums[i] = w0 * static_cast<float>(row[i]);
        }
        for (unsigned k = 1; k < taps; ++k) {
            const float w = weight[k];
            if (w == 0.0f) {
                continue;
            }
            const BYTE* __restrict next = rows[k];
            for (std::size_t i = start; i < end; ++i) {
                sums[i] += w * static_cast<float>(next[i]);
            }
        }
    }
}

template <unsigned Channels>
__attribute__((always_inline)) inline void storePixel(Float4 sum, BYTE* out) {
    const Float4 low = {0.0f, 0.0f, 0.0f, 0.0f};
    const Float4 high = {255.0f, 255.0f, 255.0f, 255.0f};
    sum += Float4{0.5f, 0.5f, 0.5f, 0.5f};
    sum = sum < low ? low : sum;
    sum = sum > high ? high : sum;
    for (unsigned c = 0; c < Channels; ++c) {
        out[c] = static_cast<BYTE>(sum[c]);
    }
}

// Filters one row of four-float pixels across into channels bytes a target pixel. Four target
// pixels at a time, so that their sums do not wait on each other.
// Four floats from p; for three channels the fourth is the next pixel's first, which the store
// leaves out (the row has one spare float at its end).
__attribute__((always_inline)) inline Float4 loadPixel(const float* p) {
    Float4 value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// Filters one row of float pixels across into channels bytes a target pixel. Four target
// pixels at a time, so that their sums do not wait on each other.
template <unsigned Channels>
__attribute__((always_inline)) inline void filterAcross(const float* row, const int* first,
                                                        const float* weight, unsigned count,
                                                        unsigned width, BYTE* out) {
    const std::size_t n = count;
    unsigned x = 0;
    for (; x + 4 <= width; x += 4, out += 4 * Channels) {
        const float* w0 = weight + static_cast<std::size_t>(x) * n;
        const float* w1 = w0 + n;
        const float* w2 = w1 + n;
        const float* w3 = w2 + n;
        const float* p0 = row + static_cast<std::size_t>(first[x]) * Channels;
        const float* p1 = row + static_cast<std::size_t>(first[x + 1]) * Channels;
        const float* p2 = row + static_cast<std::size_t>(first[x + 2]) * Channels;
        const float* p3 = row + static_cast<std::size_t>(first[x + 3]) * Channels;
        Float4 s0 = {}, s1 = {}, s2 = {}, s3 = {};
        for (std::size_t k = 0; k < n; ++k) {
            s0 += w0[k] * loadPixel(p0 + k * Channels);
            s1 += w1[k] * loadPixel(p1 + k * Channels);
            s2 += w2[k] * loadPixel(p2 + k * Channels);
            s3 += w3[k] * loadPixel(p3 + k * Channels);
        }
        storePixel<Channels>(s0, out);
        storePixel<Channels>(s1, out + Channels);
        storePixel<Channels>(s2, out + 2 * Channels);
        storePixel<Channels>(s3, out + 3 * Channels);
    }
    for (; x < width; ++x, out += Channels) {
        const float* w = weight + static_cast<std::size_t>(x) * n;
        const float* p = row + static_cast<std::size_t>(first[x]) * Channels;
        Float4 sum = {};
        for (std::size_t k = 0; k < n; ++k) {
            sum += w[k] * loadPixel(p + k * Channels);
        }
        storePixel<Channels>(sum, out);
    }
}

__attribute__((target_clones("arch=haswell", "default"))) void filterAcross3(
    const float* row, const int* first, const float* weight, unsigned count, unsigned width,
    BYTE* out) {
    filterAcross<3>(row, first, weight, count, width, out);
}

__attribute__((target_clones("arch=haswell", "default"))) void filterAcross4(
    const float* row, const int* first, const float* weight, unsigned count, unsigned width,
    BYTE* out) {
    filterAcross<4>(row, first, weight, count, width, out);
}

// Our separable resampler for 24- and 32-bit bitmaps: each target row is filtered down the
// source columns in floats, then across, and rounded once.
FreeImageBitmap resampleTrueColour(FIBITMAP* dib, unsigned width, unsigned height,
                                   const ResampleFilter& filter) {
    const unsigned sourceWidth = FreeImage_GetWidth(dib);
    const unsigned sourceHeight = FreeImage_GetHeight(dib);
    const unsigned channels = FreeImage_GetBPP(dib) / 8;
    const ResampleTaps across = resampleTaps(sourceWidth, width, filter);
    const ResampleTaps down = resampleTaps(sourceHeight, height, filter);
    FreeImageBitmap result = allocateLike(dib, width, height);
    if (!result) {
        return result;
    }
    const std::int64_t work =
        static_cast<std::int64_t>(width) * height * std::max(across.count, down.count);
    const int bandCount = rowBandCount(static_cast<int>(height), work);
    std::vector<BandRows> bands(static_cast<std::size_t>(bandCount));
    const std::size_t rowValues = static_cast<std::size_t>(sourceWidth) * channels;
    for (BandRows& band : bands) {
        band.columns.resize(rowValues + 1);
    }
    std::vector<const BYTE*> sourceRows(static_cast<std::size_t>(bandCount) * down.count);
    forEachRowBand(static_cast<int>(height), work, [&](int top, int bottom) {
        int index = 0;
        while (index + 1 < bandCount &&
               static_cast<std::int64_t>(height) * (index + 1) / bandCount <= top) {
            ++index;
        }
        BandRows& band = bands[static_cast<std::size_t>(index)];
        const BYTE** rows = &sourceRows[static_cast<std::size_t>(index) * down.count];
        for (int y = top; y < bottom; ++y) {
            for (unsigned k = 0; k < down.count; ++k) {
                rows[k] = FreeImage_GetScanLine(dib, down.first[y] + static_cast<int>(k));
            }
            filterDown(rows, &down.weight[static_cast<std::size_t>(y) * down.count], down.count,
                       rowValues, band.columns.data());
            BYTE* out = FreeImage_GetScanLine(result.get(), y);
            if (channels == 4) {
                filterAcross4(band.columns.data(), across.first.data(), across.weight.data(),
                              across.count, width, out);
            } else {
                filterAcross3(band.columns.data(), across.first.data(), across.weight.data(),
                              across.count, width, out);
            }
        }
    });
    return result;
}

bool libraryResamples(FIBITMAP* dib) {
    switch (FreeImage_GetImageType(dib)) {
        case FIT_BITMAP:
        case FIT_UINT16:
        case FIT_FLOAT:
        case FIT_RGB16:
        case FIT_RGBA16:
        case FIT_RGBF:
        case FIT_RGBAF:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool rescaleImage(fipImage& image, const RescaleParams& params) {
    ResampleFilter filter{};
    if (!image.isValid() || image.getWidth() == 0 || image.getHeight() == 0 || params.width == 0 ||
        params.height == 0 || !resampleFilter(params.filter, filter)) {
        return false;
    }
    FIBITMAP* dib = image;
    if (!libraryResamples(dib)) {
        return false;
    }
    const unsigned bpp = FreeImage_GetBPP(dib);
    const bool ours = FreeImage_GetImageType(dib) == FIT_BITMAP && (bpp == 24 || bpp == 32);
    // Palette and 16-bit bitmaps come back as 24-bit at most.
    const unsigned resultBpp = FreeImage_GetImageType(dib) == FIT_BITMAP ? std::max(bpp, 24u) : bpp;
    if (!fitsDecodeLimit(params.width, params.height, resultBpp)) {
        return false;
    }
    FreeImageBitmap result;
    try {
        if (ours) {
            result = resampleTrueColour(dib, params.width, params.height, filter);
        } else {
            result.reset(FreeImage_Rescale(dib, static_cast<int>(params.width),
                                           static_cast<int>(params.height), params.filter));
            if (result) {
                copyAttributes(dib, result.get());
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!result) {
        return false;
    }
    image = result.release();
    return true;
}

}  // namespace tarn
