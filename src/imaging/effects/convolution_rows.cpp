#include "imaging/effects/convolution_rows.h"

#include <algorithm>
#include <cstdlib>

#define TARN_HOT __attribute__((target_clones("avx2", "default")))
#define TARN_INLINE inline __attribute__((always_inline))

namespace tarn::rows8 {

namespace {

template <int Side>
TARN_INLINE void sumWindowFixed(const std::uint8_t* const* rows, const std::int16_t* taps,
                                int channels, std::int16_t* __restrict sums, int count) {
    const std::uint8_t* r[Side];
    std::int16_t t[Side * Side];
    for (int ky = 0; ky < Side; ++ky) {
        r[ky] = rows[ky];
        for (int kx = 0; kx < Side; ++kx) {
            t[ky * Side + kx] = taps[ky * Side + kx];
        }
    }
    for (int i = 0; i < count; ++i) {
        std::int16_t sum = 0;
        for (int ky = 0; ky < Side; ++ky) {
            for (int kx = 0; kx < Side; ++kx) {
                sum = static_cast<std::int16_t>(sum + t[ky * Side + kx] * r[ky][i + kx * channels]);
            }
        }
        sums[i] = sum;
    }
}

TARN_INLINE void sumWindowAny(const std::uint8_t* const* rows, int side, const std::int16_t* taps,
                              int channels, std::int16_t* __restrict sums, int count) {
    std::fill(sums, sums + count, std::int16_t{0});
    for (int ky = 0; ky < side; ++ky) {
        for (int kx = 0; kx < side; ++kx) {
            const std::int16_t tap = taps[ky * side + kx];
            if (tap == 0) {
                continue;
            }
            const std::uint8_t* __restrict row = rows[ky] + kx * channels;
            for (int i = 0; i < count; ++i) {
                sums[i] = static_cast<std::int16_t>(sums[i] + tap * row[i]);
            }
        }
    }
}

template <int Side>
TARN_INLINE void sumColumnsFixed(const std::uint8_t* const* rows, const std::int16_t* weights,
                                 std::int16_t* __restrict sums, int count) {
    const std::uint8_t* r[Side];
    std::int16_t w[Side];
    for (int k = 0; k < Side; ++k) {
        r[k] = rows[k];
        w[k] = weights[k];
    }
    for (int i = 0; i < count; ++i) {
        std::int16_t sum = 0;
        for (int k = 0; k < Side; ++k) {
            sum = static_cast<std::int16_t>(sum + w[k] * r[k][i]);
        }
        sums[i] = sum;
    }
}

template <int Side>
TARN_INLINE void sumAlongFixed(const std::int16_t* __restrict values, const std::int16_t* weights,
                               int channels, std::int16_t* __restrict sums, int count) {
    std::int16_t w[Side];
    for (int k = 0; k < Side; ++k) {
        w[k] = weights[k];
    }
    for (int i = 0; i < count; ++i) {
        std::int16_t sum = 0;
        for (int k = 0; k < Side; ++k) {
            sum = static_cast<std::int16_t>(sum + w[k] * values[i + k * channels]);
        }
        sums[i] = sum;
    }
}

}  // namespace

Division makeDivision(int divisor, int bias, int largestSum) {
    Division division;
    // A divisor past twice the largest sum rounds every sum to 0, as the largest such one does.
    const int d = std::clamp(divisor, 1, 2 * largestSum + 1);
    division.half = static_cast<std::uint32_t>(d / 2);
    const std::uint64_t largest = static_cast<std::uint64_t>(largestSum) + division.half;
    // The smallest 2^shift >= largest * d makes the multiply exact with no 32-bit overflow.
    while ((std::uint64_t{1} << division.shift) < std::max<std::uint64_t>(largest * d, 1)) {
        ++division.shift;
    }
    division.multiplier =
        static_cast<std::uint32_t>(((std::uint64_t{1} << division.shift) + d - 1) / d);
    // Past largestSum + 255 the bias saturates every result.
    const int reach = largestSum + 256;
    division.bias = std::clamp(bias, -reach, reach);
    division.low = -division.bias;
    division.high = 255 - division.bias;
    return division;
}

TARN_HOT void sumWindow(const std::uint8_t* const* rows, int side, const std::int16_t* taps,
                        int channels, std::int16_t* sums, int count) {
    switch (side) {
        case 3:
            sumWindowFixed<3>(rows, taps, channels, sums, count);
            break;
        case 5:
            sumWindowFixed<5>(rows, taps, channels, sums, count);
            break;
        default:
            sumWindowAny(rows, side, taps, channels, sums, count);
    }
}

TARN_HOT void sumColumns(const std::uint8_t* const* rows, int side, const std::int16_t* weights,
                         std::int16_t* sums, int count) {
    switch (side) {
        case 3:
            sumColumnsFixed<3>(rows, weights, sums, count);
            break;
        case 5:
            sumColumnsFixed<5>(rows, weights, sums, count);
            break;
        default:
            std::fill(sums, sums + count, std::int16_t{0});
            for (int k = 0; k < side; ++k) {
                const std::uint8_t* __restrict row = rows[k];
                const std::int16_t w = weights[k];
                for (int i = 0; i < count; ++i) {
                    sums[i] = static_cast<std::int16_t>(sums[i] + w * row[i]);
                }
            }
    }
}

TARN_HOT void sumAlongRow(const std::int16_t* values, int side, const std::int16_t* weights,
                          int channels, std::int16_t* sums, int count) {
    switch (side) {
        case 3:
            sumAlongFixed<3>(values, weights, channels, sums, count);
            break;
        case 5:
            sumAlongFixed<5>(values, weights, channels, sums, count);
            break;
        default:
            std::fill(sums, sums + count, std::int16_t{0});
            for (int k = 0; k < side; ++k) {
                const std::int16_t* __restrict from = values + k * channels;
                const std::int16_t w = weights[k];
                for (int i = 0; i < count; ++i) {
                    sums[i] = static_cast<std::int16_t>(sums[i] + w * from[i]);
                }
            }
    }
}

TARN_HOT void divideSums(const std::int16_t* __restrict sums, std::uint8_t* __restrict out,
                         int count, const Division& division) {
    const std::uint32_t half = division.half;
    const std::uint32_t multiplier = division.multiplier;
    const int shift = division.shift;
    const int low = division.low;
    const int high = division.high;
    const int bias = division.bias;
    for (int i = 0; i < count; ++i) {
        const int sum = sums[i];
        const std::uint32_t magnitude = static_cast<std::uint32_t>(sum < 0 ? -sum : sum) + half;
        const int quotient = static_cast<int>((magnitude * multiplier) >> shift);
        const int rounded = sum < 0 ? -quotient : quotient;
        out[i] = static_cast<std::uint8_t>(std::clamp(rounded, low, high) + bias);
    }
}

}  // namespace tarn::rows8
