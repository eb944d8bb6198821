// The colour effects on a 24-MP picture beside one copy of the same pixels.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/effects/color_effects.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A photo-like 6000 x 4000 picture: smooth ramps with a little noise.
fipImage makePicture24mp() {
    fipImage image(FIT_BITMAP, 6000, 4000, 24);
    std::uint32_t seed = 12345;
    const unsigned width = image.getWidth();
    for (unsigned y = 0; y < image.getHeight(); ++y) {
        BYTE* p = image.getScanLine(y);
        for (unsigned x = 0; x < width * 3; ++x) {
            seed = seed * 1664525u + 1013904223u;
            p[x] = static_cast<BYTE>((x / 3 + y * (x % 3 + 1)) / 40 + (seed >> 28));
        }
    }
    return image;
}

void effectAdjustHsl(benchmark::State& state) {
    fipImage image = makePicture24mp();
    const std::size_t size = static_cast<std::size_t>(image.getLine()) * image.getHeight();
    std::vector<std::uint8_t> copy(size);
    std::vector<double> ours;
    std::vector<double> reference;
    for (auto _ : state) {
        for (int round = 0; round < 7; ++round) {
            Clock::time_point start = Clock::now();
            std::memcpy(copy.data(), image.getScanLine(0), size);
            benchmark::DoNotOptimize(copy.data());
            reference.push_back(millisecondsSince(start));
            start = Clock::now();
            const bool done = tarn::adjustHSL(image, {30, 20, -10});
            benchmark::DoNotOptimize(done);
            ours.push_back(millisecondsSince(start));
            std::memcpy(image.getScanLine(0), copy.data(), size);  // the same picture each round
        }
        state.SetIterationTime(median(ours) / 1000.0);
    }
    state.counters["ref"] = median(reference);
}

}  // namespace

BENCHMARK(effectAdjustHsl)
    ->Name("effect.adjust_hsl")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
