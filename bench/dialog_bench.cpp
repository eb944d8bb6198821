// The effect dialogs' live preview on a 24-MP source: from a value typed into the first box to
// the repainted preview, for each of the thirteen dialogs (median of several values).
#include <benchmark/benchmark.h>
#include <wx/frame.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/dlg_effects.h"
#include "effect_bench_support.h"

namespace {

using tarn::bench::Clock;
using tarn::bench::median;
using tarn::bench::millisecondsSince;

using MakeDialog =
    std::function<tarn::CEffectDialog*(const tarn::fipSuperImage* source, wxWindow* parent)>;

template <class Dialog>
MakeDialog make() {
    return [](const tarn::fipSuperImage* source, wxWindow* parent) {
        return new Dialog(source, parent);  // owned by the toolkit, destroyed below
    };
}

void previewStep(benchmark::State& state, const MakeDialog& makeDialog,
                 const std::vector<std::string>& values) {
    if (!tarn::bench::startToolkit()) {
        state.SkipWithError("no display");
        return;
    }
    static const tarn::fipSuperImage source(tarn::bench::photo24mp());
    auto* frame = new wxFrame(nullptr, wxID_ANY, "dialogs");
    tarn::CEffectDialog* dialog = makeDialog(&source, frame);
    dialog->Show();
    wxTheApp->ProcessPendingEvents();
    wxYield();
    std::vector<double> times;
    for (auto _ : state) {
        for (int round = 0; round < 3; ++round) {
            for (const std::string& value : values) {
                const Clock::time_point start = Clock::now();
                dialog->box(0)->SetValue(value);  // as typed: the preview repaints at once
                times.push_back(millisecondsSince(start));
            }
        }
        state.SetIterationTime(median(times) / 1000.0);
    }
    dialog->Destroy();
    frame->Destroy();
    wxTheApp->ProcessPendingEvents();
}

}  // namespace

#define TARN_PREVIEW_BENCH(name, Dialog, ...)                  \
    BENCHMARK_CAPTURE(previewStep, name, make<tarn::Dialog>(), \
                      std::vector<std::string>{__VA_ARGS__})   \
        ->Name("dialog.preview_step." #name)                   \
        ->UseManualTime()                                      \
        ->Iterations(1)                                        \
        ->Unit(benchmark::kMillisecond)

TARN_PREVIEW_BENCH(add_noise, CDlgAddNoise, "40", "200", "90");
TARN_PREVIEW_BENCH(threshold, CDlgThreshold, "40", "200", "90");
TARN_PREVIEW_BENCH(solarize, CDlgSolarize, "40", "200", "90");
TARN_PREVIEW_BENCH(spread, CDlgSpread, "3", "30", "12");
TARN_PREVIEW_BENCH(stripe, CDlgStripe, "10", "80", "45");
TARN_PREVIEW_BENCH(emboss, CDlgEmboss, "2", "14", "7");
TARN_PREVIEW_BENCH(average_blur, CDlgAverageBlur, "3", "20", "11");
TARN_PREVIEW_BENCH(adjust_hsl, CDlgAdjustHSL, "-60", "80", "25");
TARN_PREVIEW_BENCH(enhance_colors, CDlgEnhanceColors, "-60", "80", "25");
TARN_PREVIEW_BENCH(mosaic, CDlgMosaic, "3", "20", "9");
TARN_PREVIEW_BENCH(rotate, CDlgRotate, "12.5", "-80", "33");
TARN_PREVIEW_BENCH(wind, CDlgWind, "2", "40", "17");
TARN_PREVIEW_BENCH(colorize, CDlgColorize, "10", "90", "55");
