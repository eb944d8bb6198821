#pragma once

#include <FreeImage.h>

#include <vector>

#include "imaging/freeimage_ptr.h"

#ifndef _WIN32
#undef _WINDOWS_  // FreeImage defines it, and wx then takes this for a Windows build
#endif

namespace tarn {

// A resampling kernel: weight(t) for a distance t in source pixels (at scale 1), zero where
// |t| >= support.
struct ResampleFilter {
    double support;
    double (*weight)(double t);
};

// The kernels of the six filters the resize dialog offers; false for any other value.
//   box:          1 on [-1/2, 1/2), support 1/2 (nearest pixel when enlarging)
//   bilinear:     1 - |t|, support 1 (the tent)
//   B-spline:     the cubic B-spline, support 2 (smooth, blurs)
//   bicubic:      Mitchell-Netravali cubic with B = C = 1/3, support 2
//   Catmull-Rom:  the cubic with B = 0, C = 1/2, support 2 (interpolates)
//   Lanczos3:     sinc(t) sinc(t / 3), support 3
bool resampleFilter(FREE_IMAGE_FILTER filter, ResampleFilter& out);

// The weights of one axis from source to target pixels: target pixel i is centred on source
// position (i + 1/2) * source / target; when shrinking the kernel is stretched by that ratio.
// Weights are cut to the image and scaled to add up to one. Every target pixel has count taps
// from first[i] (zero-padded where it needs fewer), so that first[i] + count <= source.
struct ResampleTaps {
    unsigned count = 0;
    std::vector<int> first;
    std::vector<float> weight;  // count per target pixel
};

// Throws std::bad_alloc when memory runs out.
ResampleTaps resampleTaps(unsigned source, unsigned target, const ResampleFilter& filter);

// Whether the processor has the 512-bit vectors the wide path of the resampler needs.
bool hasWideVectors();

// Our separable resampler for 24- and 32-bit bitmaps, behind rescaleImage: each target row is
// filtered down the source columns in floats, then across, and rounded once. wide picks the
// 512-bit path (only where hasWideVectors()). Null when the result cannot be allocated; throws
// std::bad_alloc when the weights cannot.
FreeImageBitmap resampleTrueColour(FIBITMAP* dib, unsigned width, unsigned height,
                                   const ResampleFilter& filter, bool wide);

}  // namespace tarn
