#include <algorithm>
#include <cstdint>
#include <new>
#include <type_traits>
#include <vector>

#include "imaging/effects/channel_planes.h"
#include "imaging/effects/convolution.h"
#include "imaging/effects/parallel_rows.h"
#include "imaging/effects/sliding_rows.h"

namespace tarn {

namespace {

constexpr int kMaxBlurRadius = 10000;
constexpr int kMaxErodeSize = 31;
// Up to this radius a window of bytes, and 256 times its count, fit 32 bits.
constexpr int kShortSumRadius = 1000;

// The mean of count values, halves away from zero as convolute; integers through a double
// estimate that is then put right, as a 64-bit division per value is slow.
template <typename Sum>
Sum roundedMean(Sum sum, std::int64_t count, double inverse) {
    if constexpr (std::is_floating_point_v<Sum>) {
        return sum / static_cast<Sum>(count);
    } else {
        const std::int64_t magnitude = (sum < 0 ? -sum : sum) + count / 2;
        std::int64_t quotient;
        if (magnitude < (std::int64_t{1} << 50)) {
            // Off by at most one there.
            quotient = static_cast<std::int64_t>(static_cast<double>(magnitude) * inverse);
            quotient -= quotient * count > magnitude;
            quotient += (quotient + 1) * count <= magnitude;
        } else {
            quotient = magnitude / count;
        }
        return sum < 0 ? -quotient : quotient;
    }
}

// The sum of get(clamp(j, 0, last)) for j in first..final, in O(min(final - first, last)).
template <typename Sum, typename Get>
Sum clampedRangeSum(int first, int final, int last, Get&& get) {
    const int from = std::max(first, 0);
    const int to = std::min(final, last);
    Sum sum = 0;
    for (int j = from; j <= to; ++j) {
        sum += get(j);
    }
    const int below = std::max(0, std::min(final, -1) - first + 1);
    const int above = std::max(0, final - std::max(first, last + 1) + 1);
    return sum + static_cast<Sum>(below) * get(0) + static_cast<Sum>(above) * get(last);
}

// Running sums down the columns and along each row, reading a copy of the source. Sums of
// bytes may be unsigned 32-bit: the differences along a row come out right modulo 2^32.
template <typename V, typename Sum>
void boxBlur(const ChannelPlane<V>& plane, int radius) {
    const int width = plane.width;
    const int height = plane.height;
    const int channels = plane.channels;
    const std::size_t values = plane.values();
    std::vector<V> source(values * height);
    for (int y = 0; y < height; ++y) {
        std::copy(plane.row(y), plane.row(y) + values, source.begin() + values * y);
    }
    const auto sourceRow = [&](int y) {
        return source.data() + values * std::clamp(y, 0, height - 1);
    };
    const std::int64_t count = static_cast<std::int64_t>(2 * radius + 1) * (2 * radius + 1);
    const std::int64_t work = static_cast<std::int64_t>(width) * height * 4;
    const int bands = rowBandCount(height, work);
    // Per band: the column sums, and them again along a row padded by radius + 1 columns.
    const std::size_t paddedValues = static_cast<std::size_t>(width + 2 * radius + 1) * channels;
    std::vector<std::vector<Sum>> columns(bands, std::vector<Sum>(values));
    std::vector<std::vector<Sum>> paddedColumns(bands, std::vector<Sum>(paddedValues));
    std::vector<int> tops(bands);
    for (int i = 0; i < bands; ++i) {
        tops[i] = static_cast<int>(static_cast<std::int64_t>(height) * i / bands);
    }
    const double inverse = 1.0 / static_cast<double>(count);
    const float shortInverse = 1.0f / static_cast<float>(count);
    const auto mean = [&](Sum sum) {
        if constexpr (std::is_same_v<Sum, std::uint32_t>) {
            // Off by at most one, then put right; all in 32-bit lanes.
            const std::uint32_t magnitude = sum + static_cast<std::uint32_t>(count / 2);
            std::uint32_t quotient =
                static_cast<std::uint32_t>(static_cast<float>(magnitude) * shortInverse);
            const auto n = static_cast<std::uint32_t>(count);
            quotient -= quotient * n > magnitude;
            quotient += (quotient + 1) * n <= magnitude;
            return static_cast<V>(quotient);
        } else {
            return static_cast<V>(roundedMean(sum, count, inverse));
        }
    };
    forEachRowBand(height, work, [&](int top, int bottom) {
        const std::size_t band = std::find(tops.begin(), tops.end(), top) - tops.begin();
        std::vector<Sum>& column = columns[band];
        Sum* padded = paddedColumns[band].data();
        for (std::size_t i = 0; i < values; ++i) {
            column[i] = clampedRangeSum<Sum>(top - radius, top + radius, height - 1, [&](int y) {
                return static_cast<Sum>(source[values * y + i]);
            });
        }
        for (int y = top; y < bottom; ++y) {
            if (y > top) {
                const V* entering = sourceRow(y + radius);
                const V* leaving = sourceRow(y - radius - 1);
                for (std::size_t i = 0; i < values; ++i) {
                    column[i] += static_cast<Sum>(entering[i]) - static_cast<Sum>(leaving[i]);
                }
            }
            for (int x = 0; x < width + 2 * radius + 1; ++x) {
                const Sum* from =
                    column.data() +
                    static_cast<std::size_t>(std::clamp(x - radius, 0, width - 1)) * channels;
                std::copy(from, from + channels, padded + static_cast<std::size_t>(x) * channels);
            }
            // Running totals along the row, so that each window is a difference of two.
            for (std::size_t j = channels; j < paddedValues; ++j) {
                padded[j] += padded[j - channels];
            }
            V* out = plane.row(y);
            const Sum* ahead = padded + 2 * radius * channels;
            for (int c = 0; c < channels; ++c) {
                out[c] = mean(ahead[c]);
            }
            for (std::size_t i = channels; i < values; ++i) {
                out[i] = mean(ahead[i] - padded[i - channels]);
            }
        }
    });
}

// The darkest value of each channel in the window: down the window's rows, then along them.
void erodeRows(const ChannelPlane<std::uint8_t>& plane, int radius) {
    const int channels = plane.channels;
    const int values = plane.values();
    const int window = 2 * radius + 1;
    const int padded = values + 2 * radius * channels;
    filterRowsInPlace(
        plane, radius, padded, 2 * window,
        [&](const std::uint8_t* const* rows, std::uint8_t* out, unsigned char* darkest) {
            std::copy(rows[0], rows[0] + padded, darkest);
            for (int k = 1; k < window; ++k) {
                const std::uint8_t* row = rows[k];
                for (int i = 0; i < padded; ++i) {
                    darkest[i] = std::min(darkest[i], row[i]);
                }
            }
            std::copy(darkest, darkest + values, out);
            for (int k = 1; k < window; ++k) {
                const std::uint8_t* from = darkest + k * channels;
                for (int i = 0; i < values; ++i) {
                    out[i] = std::min(out[i], from[i]);
                }
            }
            if (channels == 4) {
                const std::uint8_t* centre = rows[radius] + radius * channels;
                for (int i = 3; i < values; i += 4) {
                    out[i] = centre[i];
                }
            }
        });
}

}  // namespace

bool averageBlur(fipImage& image, const AverageBlurParams& params) {
    const int radius = std::clamp(params.radius, 0, kMaxBlurRadius);
    FIBITMAP* dib = image;
    try {
        return withChannelPlane(dib, [&](const auto& plane) {
            using V = std::remove_cv_t<std::remove_pointer_t<decltype(plane.row(0))>>;
            if (radius == 0) {
                return true;
            }
            if constexpr (std::is_floating_point_v<V>) {
                boxBlur<V, double>(plane, radius);
            } else if (std::is_same_v<V, std::uint8_t> && radius <= kShortSumRadius) {
                boxBlur<V, std::uint32_t>(plane, radius);
            } else {
                boxBlur<V, std::int64_t>(plane, radius);
            }
            return true;
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool erode(fipImage& image, const ErodeParams& params) {
    FIBITMAP* dib = image;
    if (dib == nullptr || FreeImage_GetImageType(dib) != FIT_BITMAP ||
        (FreeImage_GetBPP(dib) != 24 && FreeImage_GetBPP(dib) != 32) ||
        planeKind(dib) != PlaneKind::Bytes) {
        return false;
    }
    const int radius = (std::clamp(params.size, 1, kMaxErodeSize) | 1) / 2;
    try {
        erodeRows(planeOf<std::uint8_t>(dib, static_cast<int>(FreeImage_GetBPP(dib) / 8)), radius);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace tarn
