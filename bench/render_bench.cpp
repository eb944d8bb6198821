// Painting the image view at full-HD size: the first fitted paint of a 24-megapixel photo (the
// smoothed display cache is made), a repaint from the cache, a pan step at 100 %, a repaint at
// 400 %, a repaint while the zoom slider is dragged, and the first fitted paint of a
// 300-megapixel image. Each figure is the median of its rounds, in milliseconds.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/brush.h>
#include <wx/dcmemory.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "bench_support.h"
#include "imaging/fip_super_image.h"
#include "viewer/image_renderer.h"
#include "viewer/view_geometry.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWindowW = 1920;
constexpr int kWindowH = 1080;
constexpr int kScrollBar = 15;

// A photo-like 24-bit picture: gradients with a fine pattern, so that neither scaler meets
// long runs of equal pixels.
fipImage photo(int width, int height) {
    fipImage image(FIT_BITMAP, width, height, 24);
    for (int y = 0; y < height; ++y) {
        BYTE* p = image.getScanLine(y);
        const auto base = static_cast<std::uint8_t>(y * 255 / height);
        for (int x = 0; x < width; ++x, p += 3) {
            p[FI_RGBA_RED] = static_cast<BYTE>(base + (x >> 4));
            p[FI_RGBA_GREEN] = static_cast<BYTE>((x ^ y) & 0xff);
            p[FI_RGBA_BLUE] = static_cast<BYTE>(255 - base);
        }
    }
    return image;
}

const fipImage& photo24() {
    static const fipImage image = photo(6000, 4000);
    return image;
}

tarn::ViewGeometry fullHdView(int imageW, int imageH) {
    tarn::ViewGeometry view;
    view.setScrollBarSize(kScrollBar, kScrollBar);
    view.setWindowSize(kWindowW, kWindowH);
    view.openImage(imageW, imageH);
    return view;
}

// Runs prepare then paint for each round, times the paint alone and reports the median.
void measure(
    benchmark::State& state, const fipImage& image, int rounds,
    const std::function<void(int round, tarn::ViewGeometry&, tarn::ImageRenderer&)>& prepare,
    tarn::ViewGeometry view, bool dragging = false) {
    if (!tarn::bench::startToolkit()) {
        state.SkipWithError("no display");
        return;
    }
    if (!image.isValid()) {
        state.SkipWithError("the picture could not be made");
        return;
    }
    wxBitmap target(kWindowW, kWindowH, 24);
    wxMemoryDC dc(target);
    const wxColour untouched(255, 0, 255);
    dc.SetBackground(wxBrush(untouched));
    dc.Clear();
    const wxColour backdrop(138, 138, 138);
    tarn::ImageRenderer renderer;
    for (auto _ : state) {
        std::vector<double> times;
        for (int round = 0; round < rounds; ++round) {
            prepare(round, view, renderer);
            const Clock::time_point start = Clock::now();
            renderer.paint(dc, view, &image, "/pictures/photo.jpg", dragging, backdrop);
            times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        }
        std::nth_element(times.begin(), times.begin() + rounds / 2, times.end());
        state.SetIterationTime(times[rounds / 2]);
    }
    // The image lies under the centre of the window in every case.
    wxColour centre;
    if (!dc.GetPixel(kWindowW / 2, kWindowH / 2 - kScrollBar, &centre) || centre == untouched ||
        centre == backdrop) {
        state.SkipWithError("the image was not drawn");
    }
}

void BM_FitFirst(benchmark::State& state) {
    measure(
        state, photo24(), 7,
        [](int, tarn::ViewGeometry&, tarn::ImageRenderer& renderer) { renderer.invalidate(); },
        fullHdView(6000, 4000));
}

void BM_FitCached(benchmark::State& state) {
    measure(
        state, photo24(), 31, [](int, tarn::ViewGeometry&, tarn::ImageRenderer&) {},
        fullHdView(6000, 4000));
}

void BM_Pan100(benchmark::State& state) {
    tarn::ViewGeometry view = fullHdView(6000, 4000);
    view.setFixedZoom(1);
    view.setScroll(2000, 1500);
    measure(
        state, photo24(), 31,
        [](int round, tarn::ViewGeometry& v, tarn::ImageRenderer&) {
            // A drag step of a few pixels, back and forth.
            const double step = round % 2 == 0 ? 24 : -17;
            v.setScroll(v.scrollX() + step, v.scrollY() + step / 2);
        },
        view);
}

void BM_Zoom400(benchmark::State& state) {
    tarn::ViewGeometry view = fullHdView(6000, 4000);
    view.setFixedZoom(4);
    measure(
        state, photo24(), 31,
        [](int round, tarn::ViewGeometry& v, tarn::ImageRenderer&) {
            v.setScroll(v.scrollX() + (round % 2 == 0 ? 37 : -29), v.scrollY());
        },
        view);
}

void BM_SliderDrag(benchmark::State& state) {
    measure(
        state, photo24(), 31,
        [](int round, tarn::ViewGeometry& v, tarn::ImageRenderer&) {
            // The slider moves a little between paints.
            v.setCustomZoom(0.3 + 0.001 * round);
        },
        fullHdView(6000, 4000), true);
}

void BM_FitHuge(benchmark::State& state) {
    // 900 MB of pixels, made once only for this figure and freed after it.
    const fipImage image = photo(20000, 15000);
    measure(
        state, image, 3,
        [](int, tarn::ViewGeometry&, tarn::ImageRenderer& renderer) { renderer.invalidate(); },
        fullHdView(20000, 15000));
}

}  // namespace

BENCHMARK(BM_FitFirst)
    ->Name("render.fit_first")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitCached)
    ->Name("render.fit_cached")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pan100)
    ->Name("render.pan_100")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zoom400)
    ->Name("render.zoom_400")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SliderDrag)
    ->Name("render.slider_drag")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitHuge)
    ->Name("render.fit_20000x15000_first")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
