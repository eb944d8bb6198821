// The editor's quarter turn and halving resize of a 24-MP photo, and the library's own rotate
// and Lanczos rescale of it, each beside one copy of the same pixels in the same run. A fresh
// bitmap of the turned picture's size alone is timed too: first touching its pages is a large
// part of any operation that makes a new picture.
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
const fipImage& photo24mp() {
    static const fipImage photo = [] {
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
    }();
    return photo;
}

// Times work on a fresh copy of the photo (made untimed) and one memcpy of its pixels, in turns.
void timeAgainstCopy(benchmark::State& state, const std::function<void(fipImage&)>& work) {
    const fipImage& photo = photo24mp();
    const std::size_t size = static_cast<std::size_t>(photo.getScanWidth()) * photo.getHeight();
    std::vector<std::uint8_t> copy(size);
    std::vector<double> times, copyTimes;
    for (auto _ : state) {
        for (int round = 0; round < 5; ++round) {
            copyTimes.push_back(millisecondsOf([&] {
                std::memcpy(copy.data(), photo.accessPixels(), size);
                benchmark::DoNotOptimize(copy.data());
            }));
            fipImage image(photo);
            times.push_back(millisecondsOf([&] { work(image); }));
        }
        state.SetIterationTime(median(times) / 1000.0);
    }
    state.counters["ref"] = median(copyTimes);
}

void rotate90(benchmark::State& state) {
    timeAgainstCopy(state, [](fipImage& image) { tarn::rotateImage(image, 90); });
}

void rotate90Library(benchmark::State& state) {
    timeAgainstCopy(state, [](fipImage& image) {
        tarn::FreeImageBitmap turned(FreeImage_Rotate(image, 90, nullptr));
        benchmark::DoNotOptimize(turned.get());
    });
}

void resizeLanczosHalf(benchmark::State& state) {
    timeAgainstCopy(state, [](fipImage& image) {
        tarn::rescaleImage(image, {3000, 2000, FILTER_LANCZOS3});
    });
}

void resizeLanczosHalfLibrary(benchmark::State& state) {
    timeAgainstCopy(state, [](fipImage& image) {
        tarn::FreeImageBitmap smaller(FreeImage_Rescale(image, 3000, 2000, FILTER_LANCZOS3));
        benchmark::DoNotOptimize(smaller.get());
    });
}

void freshBitmap24mp(benchmark::State& state) {
    timeAgainstCopy(state, [](fipImage&) {
        tarn::FreeImageBitmap fresh(FreeImage_Allocate(4000, 6000, 24));
        benchmark::DoNotOptimize(fresh.get());
    });
}

}  // namespace

BENCHMARK(rotate90)
    ->Name("effect.rotate90")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(rotate90Library)
    ->Name("effect.rotate90_library")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(resizeLanczosHalf)
    ->Name("effect.resize_lanczos_half")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(resizeLanczosHalfLibrary)
    ->Name("effect.resize_lanczos_half_library")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(freshBitmap24mp)
    ->Name("effect.fresh_bitmap_24mp")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
