#include "imaging/effects/convolution_rows.h"

#include <algorithm>
#include <cstdlib>

#include <immintrin.h>

#include "imaging/effects/multiversion.h"

#define TARN_HOT TARN_CLONES("avx2", "default")
#define TARN_INLINE inline __attribute__((always_inline))

namespace tarn::rows8 {

namespace {

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

// sums[i] = sum over k of weights[k] * rows[k][i].
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

std::uint8_t divideOne(int sum, const Division& d) {
    const unsigned magnitude = (static_cast<unsigned>(sum < 0 ? -sum : sum) + d.half) << d.pre;
    const int quotient = static_cast<int>(((magnitude * d.multiplier) >> 16) >> d.post);
    const int rounded = sum < 0 ? -quotient : quotient;
    return static_cast<std::uint8_t>(std::clamp<int>(rounded, d.low, d.high) + d.bias);
}

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

// The sums along the row of factor[kx] * column[kx][i], sixteen at a time; returns how many.
__attribute__((target("avx2"))) int alongRowAvx2(const std::int16_t* const* column,
                                                 const std::int16_t* factor, int side,
                                                 const Division& division, std::uint8_t* out,
                                                 int count) {
    const DivisionLanes d = lanesOf(division);
    __m256i weight[15];
    for (int k = 0; k < side; ++k) {
        weight[k] = _mm256_set1_epi16(factor[k]);
    }
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        __m256i sum = _mm256_setzero_si256();
        for (int k = 0; k < side; ++k) {
            if (factor[k] != 0) {
                const __m256i v =
                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(column[k] + i));
                sum = _mm256_add_epi16(sum, _mm256_mullo_epi16(weight[k], v));
            }
        }
        storeDivided(sum, d, out + i);
    }
    return i;
}

// Every base column down the rows, sixteen values at a time, each row read once; rows that
// the same weights take in every base (a kernel symmetric top to bottom) are added first.
// Returns how many values it did.
template <int Side, bool Symmetric, int Bases>
__attribute__((target("avx2"))) int columnsAvx2(const std::uint8_t* const* rows,
                                                const std::int16_t* bases, std::int16_t* scratch,
                                                int span) {
    constexpr int kUsed = Symmetric ? Side / 2 + 1 : Side;
    __m256i weight[Bases][kUsed];
    for (int b = 0; b < Bases; ++b) {
        for (int k = 0; k < kUsed; ++k) {
            weight[b][k] = _mm256_set1_epi16(bases[b * Side + k]);
        }
    }
    int i = 0;
    for (; i + 16 <= span; i += 16) {
        __m256i v[Side];
        for (int k = 0; k < Side; ++k) {
            v[k] = bytesAt(rows[k] + i);
        }
        if constexpr (Symmetric) {
            for (int k = 0; k < Side / 2; ++k) {
                v[k] = _mm256_add_epi16(v[k], v[Side - 1 - k]);
            }
        }
        for (int b = 0; b < Bases; ++b) {
            __m256i sum = _mm256_mullo_epi16(weight[b][0], v[0]);
            for (int k = 1; k < kUsed; ++k) {
                sum = _mm256_add_epi16(sum, _mm256_mullo_epi16(weight[b][k], v[k]));
            }
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(scratch + b * span + i), sum);
        }
    }
    return i;
}

template <int Side, bool Symmetric>
int columnsBySide(const std::uint8_t* const* rows, const KernelColumns& columns,
                  std::int16_t* scratch, int span) {
    const std::int16_t* bases = columns.bases.data();
    switch (columns.baseCount) {
        case 1:
            return columnsAvx2<Side, Symmetric, 1>(rows, bases, scratch, span);
        case 2:
            return columnsAvx2<Side, Symmetric, 2>(rows, bases, scratch, span);
        case 3:
            return columnsAvx2<Side, Symmetric, 3>(rows, bases, scratch, span);
        default:
            return 0;
    }
}

// The fused pass down the rows for the common kernels; 0 where there is none.
int columnsFast(const std::uint8_t* const* rows, const KernelColumns& columns, bool symmetric,
                std::int16_t* scratch, int span) {
    if (columns.side == 3) {
        return symmetric ? columnsBySide<3, true>(rows, columns, scratch, span)
                         : columnsBySide<3, false>(rows, columns, scratch, span);
    }
    if (columns.side == 5) {
        return symmetric ? columnsBySide<5, true>(rows, columns, scratch, span)
                         : columnsBySide<5, false>(rows, columns, scratch, span);
    }
    return 0;
}

bool symmetricRows(const KernelColumns& columns) {
    const int side = columns.side;
    for (int b = 0; b < columns.baseCount; ++b) {
        for (int k = 0; k < side / 2; ++k) {
            if (columns.bases[b * side + k] != columns.bases[b * side + side - 1 - k]) {
                return false;
            }
        }
    }
    return true;
}

bool hasAvx2() {
    static const bool available = __builtin_cpu_supports("avx2") != 0;
    return available;
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

KernelColumns splitColumns(const std::vector<int>& taps, int side) {
    KernelColumns columns;
    columns.side = side;
    columns.source.assign(side, 0);
    columns.factor.assign(side, 0);
    for (int kx = 0; kx < side; ++kx) {
        int lead = 0;
        while (lead < side && taps[lead * side + kx] == 0) {
            ++lead;
        }
        if (lead == side) {
            continue;  // a column of zeros adds nothing
        }
        for (int b = 0; b < columns.baseCount && columns.factor[kx] == 0; ++b) {
            const std::int16_t* base = &columns.bases[b * side];
            if (base[lead] == 0 || taps[lead * side + kx] % base[lead] != 0) {
                continue;
            }
            const int multiple = taps[lead * side + kx] / base[lead];
            bool same = true;
            for (int ky = 0; ky < side; ++ky) {
                same = same && taps[ky * side + kx] == multiple * base[ky];
            }
            if (same) {
                columns.source[kx] = b;
                columns.factor[kx] = static_cast<std::int16_t>(multiple);
            }
        }
        if (columns.factor[kx] == 0) {
            for (int ky = 0; ky < side; ++ky) {
                columns.bases.push_back(static_cast<std::int16_t>(taps[ky * side + kx]));
            }
            columns.source[kx] = columns.baseCount++;
            columns.factor[kx] = 1;
        }
    }
    return columns;
}

int scratchValues(const KernelColumns& columns, int channels, int count) {
    return columns.baseCount * (count + (columns.side - 1) * channels);
}

void convolveColumns(const std::uint8_t* const* rows, const KernelColumns& columns, int channels,
                     const Division& division, std::int16_t* scratch, std::uint8_t* out,
                     int count) {
    const int side = columns.side;
    const int span = count + (side - 1) * channels;
    int down = 0;
    if (hasAvx2()) {
        down = columnsFast(rows, columns, symmetricRows(columns), scratch, span);
    }
    if (down < span) {
        const std::uint8_t* rest[15];
        for (int k = 0; k < side; ++k) {
            rest[k] = rows[k] + down;
        }
        for (int b = 0; b < columns.baseCount; ++b) {
            sumColumns(rest, side, &columns.bases[b * side], scratch + b * span + down,
                       span - down);
        }
    }
    const std::int16_t* column[15];
    for (int kx = 0; kx < side; ++kx) {
        column[kx] =
            columns.factor[kx] == 0 ? nullptr : scratch + columns.source[kx] * span + kx * channels;
    }
    const int done =
        hasAvx2() ? alongRowAvx2(column, columns.factor.data(), side, division, out, count) : 0;
    for (int i = done; i < count; ++i) {
        int sum = 0;
        for (int kx = 0; kx < side; ++kx) {
            sum += column[kx] != nullptr ? columns.factor[kx] * column[kx][i] : 0;
        }
        out[i] = divideOne(sum, division);
    }
}

}  // namespace tarn::rows8
