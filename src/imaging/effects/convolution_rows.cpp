#include "imaging/effects/convolution_rows.h"

#include <algorithm>
#include <cstdlib>

#include <immintrin.h>

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
    division.half = static_cast<std::uint16_t>(d / 2);
    if (d > 1) {
        // 2^shift >= largest * d makes the multiply exact; the multiplier then fits 16 bits.
        const std::int64_t largest = static_cast<std::int64_t>(largestSum) + d / 2;
        int shift = 16;
        while ((std::int64_t{1} << shift) < largest * d) {
            ++shift;
        }
        division.pre = 0;
        division.post = shift - 16;
        division.multiplier = static_cast<std::uint16_t>(((std::int64_t{1} << shift) + d - 1) / d);
    }
    // Past largestSum + 255 the bias saturates every result.
    const int reach = largestSum + 256;
    division.bias = static_cast<std::int16_t>(std::clamp(bias, -reach, reach));
    division.low = static_cast<std::int16_t>(-division.bias);
    division.high = static_cast<std::int16_t>(255 - division.bias);
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
    const unsigned half = division.half;
    const unsigned multiplier = division.multiplier;
    const int pre = division.pre;
    const int post = division.post;
    const int low = division.low;
    const int high = division.high;
    const int bias = division.bias;
    for (int i = 0; i < count; ++i) {
        const int sum = sums[i];
        const unsigned magnitude = (static_cast<unsigned>(sum < 0 ? -sum : sum) + half) << pre;
        const int quotient = static_cast<int>(((magnitude * multiplier) >> 16) >> post);
        const int rounded = sum < 0 ? -quotient : quotient;
        out[i] = static_cast<std::uint8_t>(std::clamp(rounded, low, high) + bias);
    }
}

namespace {

struct DivisionLanes {
    __m256i half;
    __m256i multiplier;
    __m128i pre;
    __m128i post;
    __m256i low;
    __m256i high;
    __m256i bias;
};

__attribute__((target("avx2"))) DivisionLanes lanesOf(const Division& d) {
    return {_mm256_set1_epi16(static_cast<short>(d.half)),
            _mm256_set1_epi16(static_cast<short>(d.multiplier)),
            _mm_cvtsi32_si128(d.pre),
            _mm_cvtsi32_si128(d.post),
            _mm256_set1_epi16(d.low),
            _mm256_set1_epi16(d.high),
            _mm256_set1_epi16(d.bias)};
}

// Sixteen sums to sixteen bytes, as divideSums.
__attribute__((target("avx2"))) inline void storeDivided(__m256i sums, const DivisionLanes& d,
                                                         std::uint8_t* out) {
    __m256i magnitude = _mm256_sll_epi16(_mm256_add_epi16(_mm256_abs_epi16(sums), d.half), d.pre);
    __m256i quotient = _mm256_srl_epi16(_mm256_mulhi_epu16(magnitude, d.multiplier), d.post);
    __m256i rounded = _mm256_sign_epi16(quotient, sums);
    rounded = _mm256_min_epi16(_mm256_max_epi16(rounded, d.low), d.high);
    rounded = _mm256_add_epi16(rounded, d.bias);
    const __m128i packed =
        _mm_packus_epi16(_mm256_castsi256_si128(rounded), _mm256_extracti128_si256(rounded, 1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), packed);
}

__attribute__((target("avx2"))) inline __m256i bytesAt(const std::uint8_t* p) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

template <int Side>
__attribute__((target("avx2"))) int convolveWindowAvx2(const std::uint8_t* const* rows,
                                                       const std::int16_t* taps, int channels,
                                                       const Division& division, std::uint8_t* out,
                                                       int count) {
    const DivisionLanes d = lanesOf(division);
    __m256i t[Side * Side];
    for (int k = 0; k < Side * Side; ++k) {
        t[k] = _mm256_set1_epi16(taps[k]);
    }
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        __m256i sum = _mm256_setzero_si256();
        for (int ky = 0; ky < Side; ++ky) {
            for (int kx = 0; kx < Side; ++kx) {
                sum = _mm256_add_epi16(
                    sum,
                    _mm256_mullo_epi16(t[ky * Side + kx], bytesAt(rows[ky] + i + kx * channels)));
            }
        }
        storeDivided(sum, d, out + i);
    }
    return i;
}

template <int Side>
__attribute__((target("avx2"))) int alongRowAvx2(const std::int16_t* values,
                                                 const std::int16_t* weights, int channels,
                                                 const Division& division, std::uint8_t* out,
                                                 int count) {
    const DivisionLanes d = lanesOf(division);
    __m256i w[Side];
    for (int k = 0; k < Side; ++k) {
        w[k] = _mm256_set1_epi16(weights[k]);
    }
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        __m256i sum = _mm256_setzero_si256();
        for (int k = 0; k < Side; ++k) {
            const __m256i v =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(values + i + k * channels));
            sum = _mm256_add_epi16(sum, _mm256_mullo_epi16(w[k], v));
        }
        storeDivided(sum, d, out + i);
    }
    return i;
}

bool hasAvx2() {
    static const bool available = __builtin_cpu_supports("avx2") != 0;
    return available;
}

}  // namespace

void convolveWindow(const std::uint8_t* const* rows, int side, const std::int16_t* taps,
                    int channels, const Division& division, std::int16_t* sums, std::uint8_t* out,
                    int count) {
    int done = 0;
    if (hasAvx2() && side == 3) {
        done = convolveWindowAvx2<3>(rows, taps, channels, division, out, count);
    } else if (hasAvx2() && side == 5) {
        done = convolveWindowAvx2<5>(rows, taps, channels, division, out, count);
    }
    if (done < count) {
        const std::uint8_t* rest[15];
        for (int k = 0; k < side; ++k) {
            rest[k] = rows[k] + done;
        }
        sumWindow(rest, side, taps, channels, sums, count - done);
        divideSums(sums, out + done, count - done, division);
    }
}

void convolveSeparable(const std::uint8_t* const* rows, int side, const std::int16_t* column,
                       const std::int16_t* row, int channels, const Division& division,
                       std::int16_t* across, std::int16_t* sums, std::uint8_t* out, int count) {
    sumColumns(rows, side, column, across, count + (side - 1) * channels);
    int done = 0;
    if (hasAvx2() && side == 3) {
        done = alongRowAvx2<3>(across, row, channels, division, out, count);
    } else if (hasAvx2() && side == 5) {
        done = alongRowAvx2<5>(across, row, channels, division, out, count);
    }
    if (done < count) {
        sumAlongRow(across + done, side, row, channels, sums, count - done);
        divideSums(sums, out + done, count - done, division);
    }
}

}  // namespace tarn::rows8
