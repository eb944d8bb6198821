#pragma once

#include <FreeImage.h>

#include <vector>

namespace tarn {

struct ConvolutionParams;

// A kernel ready to run: side odd 1..15, taps clamped, a divisor made positive by turning the
// signs of the taps when it was negative.
struct PreparedKernel {
    int side = 1;
    std::vector<int> taps;
    int divisor = 1;
    int bias = 0;
    // 32-bit bitmaps: leave the alpha channel as it was.
    bool keepAlpha = false;
};

PreparedKernel prepareKernel(const ConvolutionParams& params);

// Filters the bitmap in place with the kernel; false, untouched, for a layout it does not take.
// Throws std::bad_alloc before it changes anything.
bool runKernel(FIBITMAP* dib, const PreparedKernel& kernel);

}  // namespace tarn
