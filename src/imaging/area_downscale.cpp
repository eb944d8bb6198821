#include "imaging/area_downscale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

namespace tarn {

namespace {

// Box-filter (area average) weights from source to target pixels along one axis. Each target
// pixel covers source/target source pixels; the weights of one target pixel add up to kOne.
struct AxisWeights {
    static constexpr int kShift = 14;
    static constexpr std::uint32_t kOne = 1u << kShift;
    std::vector<int> first;   // first source pixel of each target pixel
    std::vector<int> count;   // how many source pixels it covers
    std::vector<int> offset;  // where its weights start in weight
    std::vector<std::uint16_t> weight;

    AxisWeights(int source, int target) {
        first.resize(static_cast<std::size_t>(target));
        count.resize(first.size());
        offset.resize(first.size());
        weight.reserve(static_cast<std::size_t>(source) + 2 * static_cast<std::size_t>(target));
        const double scale = static_cast<double>(source) / target;
        for (int i = 0; i < target; ++i) {
            const double a = i * scale;
            const double b = std::min<double>(source, (i + 1) * scale);
            const int from = std::min(static_cast<int>(a), source - 1);
            const int to = std::clamp(static_cast<int>(std::ceil(b)), from + 1, source);
            first[i] = from;
            count[i] = to - from;
            offset[i] = static_cast<int>(weight.size());
            // Cumulative rounding keeps the sum exact.
            std::uint32_t done = 0;
            for (int j = from; j < to; ++j) {
                const double covered = std::min<double>(b, j + 1) - a;
                const auto cumulative =
                    j + 1 == to ? kOne
                                : static_cast<std::uint32_t>(std::lround(covered / (b - a) * kOne));
                weight.push_back(static_cast<std::uint16_t>(cumulative - done));
                done = cumulative;
            }
        }
    }
};

// Adds a source row, weighted, into the running column sums of one target row.
void accumulate(const unsigned char* row, std::size_t bytes, std::uint32_t weight,
                std::uint32_t* sums) {
    for (std::size_t i = 0; i < bytes; ++i) {
        sums[i] += weight * row[i];
    }
}

// Averages the column sums of one target row across to the target width. The sums carry the
// weights of one axis (kShift bits); the result carries those of both.
void averageAcross(const std::uint32_t* sums, int step, int red, int green, int blue,
                   const std::uint32_t* alphaSums, int alphaStep, const AxisWeights& across,
                   unsigned char* rgb, unsigned char* alpha) {
    constexpr int kShift = 2 * AxisWeights::kShift;
    constexpr std::uint64_t kRound = std::uint64_t{1} << (kShift - 1);
    const int target = static_cast<int>(across.first.size());
    for (int x = 0; x < target; ++x, rgb += 3) {
        const std::uint16_t* w = &across.weight[static_cast<std::size_t>(across.offset[x])];
        const int n = across.count[x];
        const std::uint32_t* p = sums + static_cast<std::ptrdiff_t>(across.first[x]) * step;
        std::uint64_t r = 0, g = 0, b = 0;
        for (int k = 0; k < n; ++k, p += step) {
            r += std::uint64_t{w[k]} * p[red];
            g += std::uint64_t{w[k]} * p[green];
            b += std::uint64_t{w[k]} * p[blue];
        }
        rgb[0] = static_cast<unsigned char>((r + kRound) >> kShift);
        rgb[1] = static_cast<unsigned char>((g + kRound) >> kShift);
        rgb[2] = static_cast<unsigned char>((b + kRound) >> kShift);
        if (alpha != nullptr) {
            const std::uint32_t* q =
                alphaSums + static_cast<std::ptrdiff_t>(across.first[x]) * alphaStep;
            std::uint64_t a = 0;
            for (int k = 0; k < n; ++k, q += alphaStep) {
                a += std::uint64_t{w[k]} * *q;
            }
            alpha[x] = static_cast<unsigned char>((a + kRound) >> kShift);
        }
    }
}

// Averages the target rows [top, bottom) of the whole image into the RGB (and alpha) planes of
// the target image: first down, summing whole source rows (a plain loop the compiler
// vectorises), then across each summed row.
void downscaleRows(const PixelRowReader& reader, const AxisWeights& across, const AxisWeights& down,
                   int top, int bottom, unsigned char* rgb, unsigned char* alpha) {
    const int target = static_cast<int>(across.first.size());
    const auto sourceWidth = static_cast<std::size_t>(reader.width());
    int step = 0;
    const bool direct = reader.directRow(0, step) != nullptr;
    // Layouts other than plain 24/32-bit pass through a converted copy of each row.
    std::vector<unsigned char> rowRgb;
    std::vector<unsigned char> rowAlpha;
    if (!direct) {
        step = 3;
        rowRgb.resize(sourceWidth * 3);
        rowAlpha.resize(alpha != nullptr ? sourceWidth : 0);
    }
    const std::size_t rowBytes = sourceWidth * step;
    std::vector<std::uint32_t> sums(rowBytes);
    std::vector<std::uint32_t> alphaSums(direct ? 0 : rowAlpha.size());

    for (int y = top; y < bottom; ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        std::fill(alphaSums.begin(), alphaSums.end(), 0u);
        const std::uint16_t* w = &down.weight[static_cast<std::size_t>(down.offset[y])];
        for (int k = 0; k < down.count[y]; ++k) {
            if (w[k] == 0) {
                continue;
            }
            const int row = down.first[y] + k;
            if (direct) {
                accumulate(reader.directRow(row, step), rowBytes, w[k], sums.data());
                continue;
            }
            reader.readRow(row, rowRgb.data(), alphaSums.empty() ? nullptr : rowAlpha.data());
            accumulate(rowRgb.data(), rowBytes, w[k], sums.data());
            if (!alphaSums.empty()) {
                accumulate(rowAlpha.data(), sourceWidth, w[k], alphaSums.data());
            }
        }
        unsigned char* outRgb = rgb + static_cast<std::size_t>(y) * target * 3;
        unsigned char* outAlpha =
            alpha != nullptr ? alpha + static_cast<std::size_t>(y) * target : nullptr;
        if (direct && step == 3) {
            averageAcross(sums.data(), step, FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE, nullptr,
                          step, across, outRgb, nullptr);
            if (outAlpha != nullptr) {
                std::fill(outAlpha, outAlpha + target, static_cast<unsigned char>(255));
            }
        } else if (direct) {
            averageAcross(sums.data(), step, FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE,
                          sums.data() + FI_RGBA_ALPHA, step, across, outRgb, outAlpha);
        } else {
            averageAcross(sums.data(), 3, 0, 1, 2, alphaSums.data(), 1, across, outRgb, outAlpha);
        }
    }
}

}  // namespace

int downscaleThreads(int sourceWidth, int sourceHeight, int targetHeight) {
    const std::int64_t work = static_cast<std::int64_t>(sourceWidth) * sourceHeight;
    if (work < 1'000'000 || targetHeight <= 1) {
        return 1;
    }
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u,
                                       std::min(8u, static_cast<unsigned>(targetHeight))));
}

void downscaleArea(const PixelRowReader& reader, int width, int height, unsigned char* rgb,
                   unsigned char* alpha, int threads) {
    if (!reader.valid() || reader.width() <= 0 || reader.height() <= 0 || width <= 0 ||
        height <= 0) {
        return;
    }
    const AxisWeights across(reader.width(), width);
    const AxisWeights down(reader.height(), height);
    threads = std::clamp(threads, 1, height);
    std::vector<std::thread> workers;
    for (int i = 1; i < threads; ++i) {
        const int top = height * i / threads;
        const int bottom = height * (i + 1) / threads;
        try {
            workers.emplace_back(downscaleRows, std::cref(reader), std::cref(across),
                                 std::cref(down), top, bottom, rgb, alpha);
        } catch (const std::system_error&) {
            downscaleRows(reader, across, down, top, bottom, rgb, alpha);  // no thread to be had
        }
    }
    downscaleRows(reader, across, down, 0, height / threads, rgb, alpha);
    for (std::thread& worker : workers) {
        worker.join();
    }
}

}  // namespace tarn
