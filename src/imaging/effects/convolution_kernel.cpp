#include "imaging/effects/convolution_kernel.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <type_traits>

#include "imaging/effects/convolution.h"
#include "imaging/effects/convolution_rows.h"
#include "imaging/effects/sliding_rows.h"

namespace tarn {

namespace {

constexpr int kTapLimit = 32768;
constexpr int kMaxSide = 15;
// Sums of bytes up to this fit 16-bit lanes and the exact multiply of rows8::Division.
constexpr int kShortSumLimit = 16383;
// Values per pass over a row, so that the sums stay in the first-level cache.
constexpr int kChunk = 4096;

void restoreAlpha(const std::uint8_t* centre, std::uint8_t* out, int values) {
    for (int i = 3; i < values; i += 4) {
        out[i] = centre[i];
    }
}

// Bytes with small sums: 16-bit lanes, a pass down the rows per distinct column.
void runShortSums(const ChannelPlane<std::uint8_t>& plane, const PreparedKernel& kernel,
                  int largestSum) {
    const int side = kernel.side;
    const int radius = side / 2;
    const int channels = plane.channels;
    const int values = plane.values();
    const rows8::KernelColumns columns = rows8::splitColumns(kernel.taps, side);
    const rows8::Division division = rows8::makeDivision(kernel.divisor, kernel.bias, largestSum);
    const bool keepAlpha = kernel.keepAlpha && channels == 4;
    const std::size_t scratch =
        sizeof(std::int16_t) * rows8::scratchValues(columns, channels, kChunk);
    filterRowsInPlace(
        plane, radius, scratch, (columns.baseCount + 1) * side,
        [&](const std::uint8_t* const* rows, std::uint8_t* out, unsigned char* memory) {
            auto* sums = reinterpret_cast<std::int16_t*>(memory);
            const std::uint8_t* window[kMaxSide];
            for (int x = 0; x < values; x += kChunk) {
                for (int k = 0; k < side; ++k) {
                    window[k] = rows[k] + x;
                }
                rows8::convolveColumns(window, columns, channels, division, sums, out + x,
                                       std::min(kChunk, values - x));
            }
            if (keepAlpha) {
                restoreAlpha(rows[radius] + radius * channels, out, values);
            }
        });
}

template <typename V>
V finish(std::conditional_t<std::is_floating_point_v<V>, double, std::int64_t> sum,
         const PreparedKernel& kernel) {
    if constexpr (std::is_floating_point_v<V>) {
        return static_cast<V>(sum / kernel.divisor + kernel.bias);
    } else {
        const std::int64_t d = kernel.divisor;
        const std::int64_t quotient = sum < 0 ? -((-sum + d / 2) / d) : (sum + d / 2) / d;
        return static_cast<V>(std::clamp<std::int64_t>(quotient + kernel.bias,
                                                       std::numeric_limits<V>::lowest(),
                                                       std::numeric_limits<V>::max()));
    }
}

// Any type: 64-bit integer or double sums, tap by tap in kernel order.
template <typename V>
void runWide(const ChannelPlane<V>& plane, const PreparedKernel& kernel) {
    using Sum = std::conditional_t<std::is_floating_point_v<V>, double, std::int64_t>;
    const int side = kernel.side;
    const int channels = plane.channels;
    const int values = plane.values();
    const bool keepAlpha = kernel.keepAlpha && channels == 4 && std::is_same_v<V, std::uint8_t>;
    filterRowsInPlace(plane, side / 2, 0, side * side,
                      [&](const V* const* rows, V* out, unsigned char*) {
                          for (int i = 0; i < values; ++i) {
                              Sum sum = 0;
                              for (int ky = 0; ky < side; ++ky) {
                                  for (int kx = 0; kx < side; ++kx) {
                                      sum += static_cast<Sum>(kernel.taps[ky * side + kx]) *
                                             static_cast<Sum>(rows[ky][i + kx * channels]);
                                  }
                              }
                              out[i] = finish<V>(sum, kernel);
                          }
                          if constexpr (std::is_same_v<V, std::uint8_t>) {
                              if (keepAlpha) {
                                  restoreAlpha(rows[side / 2] + side / 2 * channels, out, values);
                              }
                          }
                      });
}

}  // namespace

PreparedKernel prepareKernel(const ConvolutionParams& params) {
    PreparedKernel kernel;
    kernel.side = std::clamp(params.side, 1, kMaxSide) | 1;
    const int count = kernel.side * kernel.side;
    kernel.taps.assign(count, 0);
    const int given = static_cast<int>(std::min<std::size_t>(params.kernel.size(), count));
    for (int i = 0; i < given; ++i) {
        kernel.taps[i] = std::clamp(params.kernel[i], -kTapLimit, kTapLimit);
    }
    kernel.divisor = params.divisor == 0 ? 1 : params.divisor;
    if (kernel.divisor < 0) {
        kernel.divisor = kernel.divisor == std::numeric_limits<int>::min()
                             ? std::numeric_limits<int>::max()
                             : -kernel.divisor;
        for (int& tap : kernel.taps) {
            tap = -tap;
        }
    }
    kernel.bias = params.bias;
    return kernel;
}

bool runKernel(FIBITMAP* dib, const PreparedKernel& kernel) {
    return withChannelPlane(dib, [&](const auto& plane) {
        using V = std::remove_cv_t<std::remove_pointer_t<decltype(plane.row(0))>>;
        if constexpr (std::is_same_v<V, std::uint8_t>) {
            std::int64_t weight = 0;
            for (const int tap : kernel.taps) {
                weight += std::abs(tap);
            }
            if (weight * 255 <= kShortSumLimit) {
                runShortSums(plane, kernel, static_cast<int>(weight * 255));
                return true;
            }
        }
        runWide(plane, kernel);
        return true;
    });
}

}  // namespace tarn
