#pragma once

#include <cstdint>

// The hot loops of the 8-bit convolution: sums of a kernel over rows of bytes in 16-bit lanes,
// then the division, bias and clamp in 32-bit lanes. Callers make sure no sum passes +-16383.
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

// sums[i] = sum over the side x side taps of taps[ky * side + kx] * rows[ky][i + kx * channels].
void sumWindow(const std::uint8_t* const* rows, int side, const std::int16_t* taps, int channels,
               std::int16_t* sums, int count);

// sums[i] = sum over ky of weights[ky] * rows[ky][i].
void sumColumns(const std::uint8_t* const* rows, int side, const std::int16_t* weights,
                std::int16_t* sums, int count);

// sums[i] = sum over kx of weights[kx] * values[i + kx * channels].
void sumAlongRow(const std::int16_t* values, int side, const std::int16_t* weights, int channels,
                 std::int16_t* sums, int count);

void divideSums(const std::int16_t* sums, std::uint8_t* out, int count, const Division& division);

// The kernel over count values into out: sumWindow then divideSums, fused in one pass where
// the processor has AVX2 and the side is 3 or 5. sums holds count values.
void convolveWindow(const std::uint8_t* const* rows, int side, const std::int16_t* taps,
                    int channels, const Division& division, std::int16_t* sums, std::uint8_t* out,
                    int count);

// A rank-one kernel: sumColumns over count + (side - 1) * channels values into across, then
// sumAlongRow and divideSums, the last two fused as above.
void convolveSeparable(const std::uint8_t* const* rows, int side, const std::int16_t* column,
                       const std::int16_t* row, int channels, const Division& division,
                       std::int16_t* across, std::int16_t* sums, std::uint8_t* out, int count);

}  // namespace tarn::rows8
