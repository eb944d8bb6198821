// The editor's quarter turn and halving resize of a 24-MP photo, and the library's own rotate
// and Lanczos rescale of it, each beside one copy of the same pixels in the same run. A fresh
// bitmap of the turned picture's size alone is timed too: first touching its pages is a large
// part of any operation that makes a new picture.
#include "effect_bench_support.h"
#include "imaging/effects/geometry.h"
#include "imaging/freeimage_ptr.h"

namespace {

using tarn::bench::timeAgainstCopy;

void rotate90(benchmark::State& state) {
    timeAgainstCopy(state, [](fipImage& image) { return tarn::rotateImage(image, 90); });
}

void rotate90Library(benchmark::State& state) {
    timeAgainstCopy(state, [](fipImage& image) {
        const tarn::FreeImageBitmap turned(FreeImage_Rotate(image, 90, nullptr));
        return turned != nullptr;
    });
}

void resizeLanczosHalf(benchmark::State& state) {
    timeAgainstCopy(state, [](fipImage& image) {
        return tarn::rescaleImage(image, {3000, 2000, FILTER_LANCZOS3});
    });
}

void resizeLanczosHalfLibrary(benchmark::State& state) {
    timeAgainstCopy(state, [](fipImage& image) {
        const tarn::FreeImageBitmap smaller(FreeImage_Rescale(image, 3000, 2000, FILTER_LANCZOS3));
        return smaller != nullptr;
    });
}

void freshBitmap24mp(benchmark::State& state) {
    timeAgainstCopy(state, [](fipImage&) {
        const tarn::FreeImageBitmap fresh(FreeImage_Allocate(4000, 6000, 24));
        return fresh != nullptr;
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
