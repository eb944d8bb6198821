// The two histograms: the browser's, from setting the file to the drawn window, and the
// editor's four channels of a 24-MP picture beside one copy of the same pixels.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <wx/frame.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/settings.h"
#include "bench_support.h"
#include "imaging/histogram.h"
#include "info/histogram_wnd.h"

namespace {

using tarn::bench::Clock;
using tarn::bench::median;
using tarn::bench::millisecondsSince;

void histogramBrowser(benchmark::State& state) {
    if (!tarn::bench::startToolkit()) {
        state.SkipWithError("no display");
        return;
    }
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("tarn-histogram-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string files[] = {(folder / "a.jpg").string(), (folder / "b.jpg").string()};
    if (!tarn::bench::writePhoto(files[0], 4000, 3000, 1) ||
        !tarn::bench::writePhoto(files[1], 4000, 3000, 2)) {
        state.SkipWithError("the photos could not be written");
        return;
    }
    tarn::SettingsStore settings((folder / "Config.ini").string());
    auto* frame = new wxFrame(nullptr, wxID_ANY, "histogram", wxPoint(0, 0), wxSize(260, 240));
    auto* window = new tarn::CHistogramWnd(frame, settings);
    window->SetSize(0, 0, 200, 150);
    frame->Show();
    std::vector<double> times;
    for (auto _ : state) {
        for (int round = 0; round < 9; ++round) {
            const int before = window->finishedRequests();
            const Clock::time_point start = Clock::now();
            window->setFile(files[round % 2]);
            while (window->finishedRequests() == before) {
                wxTheApp->ProcessPendingEvents();
                wxYield();
            }
            window->Update();
            times.push_back(millisecondsSince(start));
        }
        state.SetIterationTime(median(times) / 1000.0);
    }
    // The window writes its flags to the settings when it goes, so it must go before they do.
    frame->Destroy();
    while (wxPendingDelete.Member(frame)) {
        wxYield();
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

void histogramEditor24mp(benchmark::State& state) {
    tarn::FreeImageBitmap dib(FreeImage_Allocate(6000, 4000, 24));
    std::uint32_t seed = 12345;
    for (int y = 0; y < 4000; ++y) {
        BYTE* p = FreeImage_GetScanLine(dib.get(), y);
        for (int x = 0; x < 6000 * 3; ++x) {
            seed = seed * 1664525u + 1013904223u;
            p[x] = static_cast<BYTE>((x / 3 + y) / 40 + (seed >> 28));
        }
    }
    const std::size_t size = static_cast<std::size_t>(FreeImage_GetPitch(dib.get())) * 4000;
    std::vector<std::uint8_t> copy(size);
    std::vector<double> ours;
    std::vector<double> reference;
    for (auto _ : state) {
        for (int round = 0; round < 7; ++round) {
            Clock::time_point start = Clock::now();
            std::memcpy(copy.data(), FreeImage_GetBits(dib.get()), size);
            benchmark::DoNotOptimize(copy.data());
            reference.push_back(millisecondsSince(start));
            tarn::ChannelHistograms bins{};
            start = Clock::now();
            tarn::computeHistograms(dib.get(), {true, true, true, true}, bins);
            benchmark::DoNotOptimize(bins);
            ours.push_back(millisecondsSince(start));
        }
        state.SetIterationTime(median(ours) / 1000.0);
    }
    state.counters["ref"] = median(reference);
}

}  // namespace

BENCHMARK(histogramBrowser)
    ->Name("histogram.browser")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(histogramEditor24mp)
    ->Name("histogram.editor_24mp")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
