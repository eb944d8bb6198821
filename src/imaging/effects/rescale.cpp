#include <algorithm>
#include <cstddef>
#include <cstdint>
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

// Buffers of one band, made before the bands start.
struct BandRows {
    std::vector<float> columns;  // one target row filtered down the columns, source width wide
    std::vector<Float4> pixels;  // the same, four floats a pixel
};

// Filters source rows down into one row: sums[i] = sum of weight[k] * rows[k][i].
__attribute__((target_clones("avx2", "default"))) void filterDown(const BYTE* const* rows,
                                                                  const float* weight,
                                                                  unsigned taps, std::size_t count,
                                                                  float* __restrict sums) {
    const BYTE* row = rows[0];
    const float w0 = weight[0];
    for (std::size_t i = 0; i < count; ++i) {
        sums[i] = w0 * static_cast<float>(row[i]);
    }
    for (unsigned k = 1; k < taps; ++k) {
        const float w = weight[k];
        if (w == 0.0f) {
            continue;
        }
        const BYTE* __restrict next = rows[k];
        for (std::size_t i = 0; i < count; ++i) {
            sums[i] += w * static_cast<float>(next[i]);
        }
    }
}

// Filters one row of four-float pixels across into channels bytes a target pixel.
template <unsigned Channels>
void filterAcross(const Float4* pixels, const ResampleTaps& taps, unsigned width, BYTE* out) {
    const Float4 low = {0.0f, 0.0f, 0.0f, 0.0f};
    const Float4 high = {255.0f, 255.0f, 255.0f, 255.0f};
    const Float4 half = {0.5f, 0.5f, 0.5f, 0.5f};
    for (unsigned x = 0; x < width; ++x, out += Channels) {
        const float* w = &taps.weight[static_cast<std::size_t>(x) * taps.count];
        const Float4* p = pixels + taps.first[x];
        Float4 sum = low;
        for (unsigned k = 0; k < taps.count; ++k) {
            sum += w[k] * p[k];
        }
        sum += half;
        sum = sum < low ? low : sum;
        sum = sum > high ? high : sum;
        for (unsigned c = 0; c < Channels; ++c) {
            out[c] = static_cast<BYTE>(sum[c]);
        }
    }
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
        band.columns.resize(rowValues);
        band.pixels.resize(sourceWidth);
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
            const float* c = band.columns.data();
            for (unsigned x = 0; x < sourceWidth; ++x, c += channels) {
                band.pixels[x] = Float4{c[0], c[1], c[2], channels == 4 ? c[3] : 0.0f};
            }
            BYTE* out = FreeImage_GetScanLine(result.get(), y);
            if (channels == 4) {
                filterAcross<4>(band.pixels.data(), across, width, out);
            } else {
                filterAcross<3>(band.pixels.data(), across, width, out);
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
