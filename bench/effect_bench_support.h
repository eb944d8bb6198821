#pragma once

// What the effect benchmarks share: a 24-MP photo in memory and timing beside one copy of it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "bench_support.h"
#include "imaging/fip_super_image.h"

namespace tarn::bench {

// A 6000 x 4000 24-bit picture with smooth shading and grain, as a photo has.
inline const fipImage& photo24mp() {
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

// Times work on a fresh copy of the photo (made untimed) and one memcpy of its pixels, in
// turns: the iteration time is the work's median, the counter "ref" the copy's.
inline void timeAgainstCopy(benchmark::State& state, const std::function<bool(fipImage&)>& work,
                            int rounds = 5) {
    const fipImage& photo = photo24mp();
    const std::size_t size = static_cast<std::size_t>(photo.getScanWidth()) * photo.getHeight();
    std::vector<std::uint8_t> copy(size);
    std::vector<double> times;
    std::vector<double> copyTimes;
    for (auto _ : state) {
        for (int round = 0; round < rounds; ++round) {
            Clock::time_point start = Clock::now();
            std::memcpy(copy.data(), photo.accessPixels(), size);
            benchmark::DoNotOptimize(copy.data());
            copyTimes.push_back(millisecondsSince(start));
            fipImage image(photo);
            start = Clock::now();
            if (!work(image)) {
                state.SkipWithError("the operation failed");
                return;
            }
            benchmark::DoNotOptimize(image.accessPixels());
            times.push_back(millisecondsSince(start));
        }
        state.SetIterationTime(median(times) / 1000.0);
    }
    state.counters["ref"] = median(copyTimes);
}

}  // namespace tarn::bench
