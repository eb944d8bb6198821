// The texture and noise effects on a 24-MP picture, each beside one copy of the same pixels:
// the counter "ref" is the copy's time and "ratio" the effect's time over it.
#include <functional>

#include "effect_bench_support.h"
#include "imaging/effects/texture_effects.h"

namespace {

void runEffect(benchmark::State& state, const std::function<bool(fipImage&)>& effect) {
    tarn::bench::timeAgainstCopy(state, effect);
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
