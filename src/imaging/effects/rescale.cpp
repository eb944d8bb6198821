#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "imaging/decode_limits.h"
#include "imaging/effects/bitmap_like.h"
#include "imaging/effects/geometry.h"
#include "imaging/effects/multiversion.h"
#include "imaging/effects/parallel_rows.h"
#include "imaging/effects/resample_filters.h"

namespace tarn {

namespace {

using Float4 = float __attribute__((vector_size(16)));
using Float8 = float __attribute__((vector_size(32)));
using Float16 = float __attribute__((vector_size(64)));
using Int16 = std::int32_t __attribute__((vector_size(64)));
using Byte16 = std::uint8_t __attribute__((vector_size(16)));

// One target row filtered down the source columns, source width wide, with a spare float.
struct BandRows {
    std::vector<float> columns;
};

// The weights across for four target pixels at a time, side by side, each repeated over the
// four lanes of its pixel: group g, tap k at g * count + k.
std::vector<Float16> groupedWeights(const ResampleTaps& taps, unsigned width) {
    const unsigned groups = width / 4;
    std::vector<Float16> grouped(static_cast<std::size_t>(groups) * taps.count);
    for (unsigned g = 0; g < groups; ++g) {
        for (unsigned k = 0; k < taps.count; ++k) {
            Float16& w = grouped[static_cast<std::size_t>(g) * taps.count + k];
            for (unsigned lane = 0; lane < 16; ++lane) {
                w[lane] = taps.weight[static_cast<std::size_t>(g * 4 + lane / 4) * taps.count + k];
            }
        }
    }
    return grouped;
}

// Filters source rows down into one row: sums[i] = sum of weight[k] * rows[k][i], a block at a
// time so that the sums stay in the first-level cache, four rows to a pass over them.
TARN_CLONES("arch=x86-64-v4", "arch=haswell", "default")
void filterDown(const BYTE* const* rows, const float* weight, unsigned taps, std::size_t count,
                float* __restrict sums) {
    constexpr std::size_t kBlock = 1024;
    for (std::size_t start = 0; start < count; start += kBlock) {
        const std::size_t end = std::min(count, start + kBlock);
        for (std::size_t i = start; i < end; ++i) {
            sums[i] = 0.0f;
        }
        unsigned k = 0;
        for (; k + 4 <= taps; k += 4) {
            const BYTE* __restrict a = rows[k];
            const BYTE* __restrict b = rows[k + 1];
            const BYTE* __restrict c = rows[k + 2];
            const BYTE* __restrict d = rows[k + 3];
            const float wa = weight[k], wb = weight[k + 1], wc = weight[k + 2], wd = weight[k + 3];
            for (std::size_t i = start; i < end; ++i) {
                sums[i] += wa * static_cast<float>(a[i]) + wb * static_cast<float>(b[i]) +
                           wc * static_cast<float>(c[i]) + wd * static_cast<float>(d[i]);
            }
        }
        for (; k < taps; ++k) {
            const BYTE* __restrict a = rows[k];
            const float w = weight[k];
            for (std::size_t i = start; i < end; ++i) {
                sums[i] += w * static_cast<float>(a[i]);
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

// Four floats from p; for three channels the fourth is the next pixel's first, which the store
// leaves out (the row has one spare float at its end).
__attribute__((always_inline)) inline Float4 loadPixel(const float* p) {
    Float4 value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// Filters one row of float pixels across into Channels bytes a target pixel. Four target
// pixels at a time, so that their sums do not wait on each other.
template <unsigned Channels>
__attribute__((always_inline)) inline void filterAcross(const float* row, const int* first,
                                                        const float* weight, unsigned count,
                                                        unsigned width, unsigned x, BYTE* out) {
    const std::size_t n = count;
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

// With 512-bit vectors, four target pixels side by side in one wide sum.
#define TARN_WIDE __attribute__((target("arch=x86-64-v4")))

TARN_WIDE __attribute__((always_inline)) inline Float16 loadFour(const float* p0, const float* p1,
                                                                 const float* p2, const float* p3) {
    const Float8 low =
        __builtin_shufflevector(loadPixel(p0), loadPixel(p1), 0, 1, 2, 3, 4, 5, 6, 7);
    const Float8 high =
        __builtin_shufflevector(loadPixel(p2), loadPixel(p3), 0, 1, 2, 3, 4, 5, 6, 7);
    return __builtin_shufflevector(low, high, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
}

// Four target pixels' sums rounded to bytes, Channels of each.
template <unsigned Channels>
TARN_WIDE __attribute__((always_inline)) inline void storeFour(Float16 sum, BYTE* out) {
    const Float16 low = {};
    const Float16 high = low + 255.0f;
    sum += 0.5f;
    sum = sum < low ? low : sum;
    sum = sum > high ? high : sum;
    const Byte16 bytes = __builtin_convertvector(__builtin_convertvector(sum, Int16), Byte16);
    if constexpr (Channels == 4) {
        std::memcpy(out, &bytes, 16);
    } else {
        const Byte16 packed = __builtin_shufflevector(bytes, bytes, 0, 1, 2, 4, 5, 6, 8, 9, 10, 12,
                                                      13, 14, 0, 0, 0, 0);
        std::memcpy(out, &packed, 12);
    }
}

template <unsigned Channels>
TARN_WIDE void filterAcrossWide(const float* row, const int* first, const float* weight,
                                const Float16* grouped, unsigned count, unsigned width, BYTE* out) {
    const std::size_t n = count;
    unsigned x = 0;
    for (; x + 4 <= width; x += 4, out += 4 * Channels) {
        const Float16* w = grouped + static_cast<std::size_t>(x / 4) * n;
        const float* p0 = row + static_cast<std::size_t>(first[x]) * Channels;
        const float* p1 = row + static_cast<std::size_t>(first[x + 1]) * Channels;
        const float* p2 = row + static_cast<std::size_t>(first[x + 2]) * Channels;
        const float* p3 = row + static_cast<std::size_t>(first[x + 3]) * Channels;
        Float16 sum = {};
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t at = k * Channels;
            sum += w[k] * loadFour(p0 + at, p1 + at, p2 + at, p3 + at);
        }
        storeFour<Channels>(sum, out);
    }
    filterAcross<Channels>(row, first, weight, count, width, x, out);
}

#undef TARN_WIDE

TARN_CLONES("arch=haswell", "default")
void filterAcross3(const float* row, const int* first, const float* weight, unsigned count,
                   unsigned width, BYTE* out) {
    filterAcross<3>(row, first, weight, count, width, 0, out);
}

TARN_CLONES("arch=haswell", "default")
void filterAcross4(const float* row, const int* first, const float* weight, unsigned count,
                   unsigned width, BYTE* out) {
    filterAcross<4>(row, first, weight, count, width, 0, out);
}

}  // namespace

bool hasWideVectors() {
    static const bool wide =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl");
    return wide;
}

FreeImageBitmap resampleTrueColour(FIBITMAP* dib, unsigned width, unsigned height,
                                   const ResampleFilter& filter, bool wide) {
    const unsigned sourceWidth = FreeImage_GetWidth(dib);
    const unsigned sourceHeight = FreeImage_GetHeight(dib);
    const unsigned channels = FreeImage_GetBPP(dib) / 8;
    const ResampleTaps across = resampleTaps(sourceWidth, width, filter);
    const ResampleTaps down = resampleTaps(sourceHeight, height, filter);
    const std::vector<Float16> grouped =
        wide ? groupedWeights(across, width) : std::vector<Float16>();
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
            const int* first = across.first.data();
            const float* weight = across.weight.data();
            const float* row = band.columns.data();
            if (wide) {
                if (channels == 4) {
                    filterAcrossWide<4>(row, first, weight, grouped.data(), across.count, width,
                                        out);
                } else {
                    filterAcrossWide<3>(row, first, weight, grouped.data(), across.count, width,
                                        out);
                }
            } else if (channels == 4) {
                filterAcross4(row, first, weight, across.count, width, out);
            } else {
                filterAcross3(row, first, weight, across.count, width, out);
            }
        }
    });
    return result;
}

bool canRescaleType(FREE_IMAGE_TYPE type) {
    switch (type) {
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

bool rescaleImage(fipImage& image, const RescaleParams& params) {
    ResampleFilter filter{};
    if (!image.isValid() || image.getWidth() == 0 || image.getHeight() == 0 || params.width == 0 ||
        params.height == 0 || !resampleFilter(params.filter, filter)) {
        return false;
    }
    FIBITMAP* dib = image;
    if (!canRescaleType(FreeImage_GetImageType(dib))) {
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
            result = resampleTrueColour(dib, params.width, params.height, filter, hasWideVectors());
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
