// The colour effects on a 24-MP picture beside one copy of the same pixels.
#include "effect_bench_support.h"
#include "imaging/effects/color_effects.h"

namespace {

void effectAdjustHsl(benchmark::State& state) {
    tarn::bench::timeAgainstCopy(
        state,
        [](fipImage& image) {
            return tarn::adjustHSL(image, {30, 20, -10});
        },
        7);
}

}  // namespace

BENCHMARK(effectAdjustHsl)
    ->Name("effect.adjust_hsl")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
