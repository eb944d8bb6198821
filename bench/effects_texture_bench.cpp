// The texture and noise effects on a 24-MP picture, each beside one copy of the same pixels:
// the counter "ref" is the copy's time and "ratio" the effect's time over it.
#include <benchmark/benchmark.h>

#include <FreeImagePlus.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <vector>

#include "imaging/effects/texture_effects.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

fipImage photo24mp() {
    fipImage image(FIT_BITMAP, 6000, 4000, 24);
    std::uint32_t seed = 12345;
    for (unsigned y = 0; y < 4000; ++y) {
        BYTE* p = image.getScanLine(y);
        for (unsigned x = 0; x < 6000 * 3; ++x) {
            seed = seed * 1664525u + 1013904223u;
            p[x] = static_cast<BYTE>((x / 3 + y) / 40 + (seed >> 28));
        }
    }
    return image;
}

void runEffect(benchmark::State& state, const std::function<bool(fipImage&)>& effect) {
    static const fipImage source = photo24mp();
    const std::size_t size = static_cast<std::size_t>(source.getScanWidth()) * 4000;
    std::vector<std::uint8_t> copy(size);
    std::vector<double> ours;
    std::vector<double> reference;
    for (auto _ : state) {
        for (int round = 0; round < 5; ++round) {
            fipImage image(source);
            Clock::time_point start = Clock::now();
            std::memcpy(copy.data(), source.accessPixels(), size);
            benchmark::DoNotOptimize(copy.data());
            reference.push_back(millisecondsSince(start));
            start = Clock::now();
            if (!effect(image)) {
                state.SkipWithError("the effect failed");
                return;
            }
            benchmark::DoNotOptimize(image.accessPixels());
            ours.push_back(millisecondsSince(start));
        }
        state.SetIterationTime(median(ours) / 1000.0);
    }
    state.counters["ref"] = median(reference);
    state.counters["ratio"] = median(ours) / median(reference);
}

}  // namespace

BENCHMARK_CAPTURE(runEffect, noise,
                  [](fipImage& i) {
                      return tarn::addNoise(i, {128, 1});
                  })
    ->Name("effect.add_noise_24mp")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runEffect, mosaic, [](fipImage& i) { return tarn::mosaic(i, {5}); })
    ->Name("effect.mosaic_24mp")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runEffect, spread,
                  [](fipImage& i) {
                      return tarn::spread(i, {5, 1});
                  })
    ->Name("effect.spread_24mp")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runEffect, stripe,
                  [](fipImage& i) {
                      return tarn::stripe(i, {25, 35});
                  })
    ->Name("effect.stripe_24mp")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runEffect, wind,
                  [](fipImage& i) {
                      return tarn::wind(i, {10, 0, false});
                  })
    ->Name("effect.wind_24mp")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runEffect, wind_smooth,
                  [](fipImage& i) {
                      return tarn::wind(i, {10, 0, true});
                  })
    ->Name("effect.wind_smooth_24mp")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
