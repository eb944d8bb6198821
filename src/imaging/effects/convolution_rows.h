#pragma once

#include <cstdint>
#include <vector>

// The hot loops of the 8-bit convolution, all in 16-bit lanes: AVX2 where the processor has
// it, else loops the compiler vectorises. Callers make sure no sum passes +-16383.
namespace tarn::rows8 {

// round(sum / divisor) + bias, clamped to a byte, all in 16-bit lanes: q = sign * (((|sum| +
// half) << pre) * multiplier >> (16 + post)), exact for |sum| <= 16383 and divisor <= 32767;
// low and high clamp q before the bias is added so that the result is 0..255.
struct Division {
    std::uint16_t half = 0;
    std::uint16_t multiplier = 32768;
    int pre = 1;
    int post = 0;
    std::int16_t low = 0;
    std::int16_t high = 255;
    std::int16_t bias = 0;
};

Division makeDivision(int divisor, int bias, int largestSum);

// A kernel by its columns: column kx (down the rows) = factor[kx] * base number source[kx].
// Kernels whose columns repeat or are multiples of one another (symmetric or rank-one ones)
// then take fewer passes down the rows.
struct KernelColumns {
    int side = 1;
    int baseCount = 0;
    std::vector<std::int16_t> bases;  // baseCount columns of side weights
    std::vector<int> source;
    std::vector<std::int16_t> factor;
};

KernelColumns splitColumns(const std::vector<int>& taps, int side);

// The number of 16-bit values convolveColumns needs in its scratch for count outputs.
int scratchValues(const KernelColumns& columns, int channels, int count);

// out[i] for count values from rows[0..side) (each padded by side / 2 pixels): each base
// column down the rows, then the columns' sum along the row, divided as Division says.
void convolveColumns(const std::uint8_t* const* rows, const KernelColumns& columns, int channels,
                     const Division& division, std::int16_t* scratch, std::uint8_t* out, int count);

}  // namespace tarn::rows8
