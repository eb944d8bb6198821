// The editor's quarter turn and halving resize of a 24-MP photo beside one copy of the same
// pixels, with the library's own rotate and Lanczos rescale of it for comparison.
#include <FreeImagePlus.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "imaging/effects/geometry.h"
#include "imaging/freeimage_ptr.h"

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double millisecondsOf(const std::function<void()>& work) {
    const Clock::time_point start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Smooth shading with grain, as a photo has.
fipImage makePhoto24mp() {
    fipImage photo(FIT_BITMAP, 6000, 4000, 24);
    std::uint32_t seed = 12345;
    for (unsigned y = 0; y < 4000; ++y) {
        BYTE* p = photo.getScanLine(y);
        for (unsigned x = 0; x < 6000 * 3; ++x) {
            seed = seed * 1664525u + 1013904223u;
            p[x] = static_cast<BYTE>((x / 3 + y) / 40 + (seed >> 28));
        }
    }
    return photo;
}

// Times ours, one memcpy of the source pixels and the library's call, each round in turn.
void compare(benchmark::State& state, const std::function<void(fipImage&)>& ours,
             const std::function<FIBITMAP*(FIBITMAP*)>& library) {
    fipImage photo = makePhoto24mp();
    const std::size_t size = static_cast<std::size_t>(photo.getScanWidth()) * photo.getHeight();
    std::vector<std::uint8_t> copy(size);
    std::vector<double> oursTimes, copyTimes, libraryTimes;
    for (auto _ : state) {
        for (int round = 0; round < 5; ++round) {
            copyTimes.push_back(millisecondsOf([&] {
                std::memcpy(copy.data(), photo.accessPixels(), size);
                benchmark::DoNotOptimize(copy.data());
            }));
            fipImage image(photo);
            oursTimes.push_back(millisecondsOf([&] { ours(image); }));
            tarn::FreeImageBitmap theirs;
            libraryTimes.push_back(millisecondsOf([&] { theirs.reset(library(photo)); }));
            benchmark::DoNotOptimize(theirs.get());
        }
        state.SetIterationTime(median(oursTimes) / 1000.0);
    }
    state.counters["ref"] = median(copyTimes);
    state.counters["ratio"] = median(oursTimes) / median(copyTimes);
    state.counters["library"] = median(libraryTimes);
}

void rotate90(benchmark::State& state) {
    compare(
        state, [](fipImage& image) { tarn::rotateImage(image, 90); },
        [](FIBITMAP* dib) { return FreeImage_Rotate(dib, 90, nullptr); });
}

void resizeLanczosHalf(benchmark::State& state) {
    compare(
        state,
        [](fipImage& image) {
            tarn::rescaleImage(image, {3000, 2000, FILTER_LANCZOS3});
        },
        [](FIBITMAP* dib) { return FreeImage_Rescale(dib, 3000, 2000, FILTER_LANCZOS3); });
}

}  // namespace

BENCHMARK(rotate90)
    ->Name("effect.rotate90")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(resizeLanczosHalf)
    ->Name("effect.resize_lanczos_half")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
