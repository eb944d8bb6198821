// The image view stepping through a folder of 30 photo-like 24-megapixel JPEGs in the real main
// frame:
//   viewer.next_preloaded  median milliseconds from Next Image (Page Down) to the image drawn,
//                          with a pause of 300 ms between steps (a user glancing at a photo)
//                          while the pre-loader reads the next file; ref = viewer.next_cold
//   viewer.next_cold       the same steps with the read-ahead thrown away before each one
//   viewer.decode_24mp     median milliseconds of the plain decode of the same files
// Needs a display (make bench runs it under Xvfb).
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/system_image_lists.h"
#include "bench_support.h"
#include "browser/image_list_ctrl.h"
#include "commands/command_ids.h"
#include "frame/main_frame.h"
#include "imaging/imaging_service.h"
#include "platform/special_folders.h"
#include "viewer/image_loading.h"
#include "viewer/image_view.h"

// After the toolkit headers: FreeImage.h defines a name they take for the Windows headers.
#include <FreeImage.h>

namespace {

namespace fs = std::filesystem;
using tarn::bench::Clock;
constexpr int kFiles = 30;
constexpr int kDistinct = 5;
constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr double kGlanceMs = 300;

using tarn::bench::millisecondsSince;
double median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class BenchFolders final : public tarn::platform::SpecialFolders {
public:
    BenchFolders(std::string home, std::string pictures)
        : m_home(std::move(home)), m_pictures(std::move(pictures)) {}
    std::optional<std::string> configFolder() const override { return std::nullopt; }
    std::optional<std::string> picturesFolder() const override { return m_pictures; }
    std::optional<std::string> homeFolder() const override { return m_home; }
    std::optional<std::string> programFile() const override { return std::nullopt; }

private:
    std::string m_home;
    std::string m_pictures;
};

void pumpFor(double milliseconds) {
    const Clock::time_point start = Clock::now();
    do {
        wxYield();
        wxTheApp->ProcessPendingEvents();
        wxMilliSleep(1);
    } while (millisecondsSince(start) < milliseconds);
}

struct Results {
    std::string error;
    double nextMs = 0;
    double coldMs = 0;
    double decodeMs = 0;
};

const Results& measure() {
    static const Results results = [] {
        Results r;
        if (!tarn::bench::startToolkit()) {
            r.error = "needs a display";
            return r;
        }
        // As the frame's image mode does.
        tarn::ImagingService::keepLargeBuffers(true);
        const fs::path root =
            fs::temp_directory_path() / ("tarn-bench-viewer-" + std::to_string(::getpid()));
        const fs::path photos = root / "home" / "photos";
        fs::create_directories(photos);
        std::vector<std::string> files;
        for (int i = 0; i < kDistinct && r.error.empty(); ++i) {
            const std::string source = (root / ("source" + std::to_string(i) + ".jpg")).string();
            if (!tarn::bench::writePhoto(source, kWidth, kHeight, static_cast<unsigned>(i + 1))) {
                r.error = "could not write the photos";
            }
        }
        for (int i = 0; i < kFiles && r.error.empty(); ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "IMG_%04d.JPG", i + 1);
            fs::copy_file(root / ("source" + std::to_string(i % kDistinct) + ".jpg"),
                          photos / name);
            files.push_back((photos / name).string());
        }

        if (r.error.empty()) {
            std::vector<double> decodes;
            for (const std::string& file : files) {
                const Clock::time_point start = Clock::now();
                const tarn::LoadedImage loaded = tarn::loadImageFile(file, 0);
                decodes.push_back(millisecondsSince(start));
                benchmark::DoNotOptimize(loaded.image.get());
            }
            r.decodeMs = median(decodes);

            wxGUIEventLoop loop;
            const wxEventLoopActivator active(&loop);
            tarn::AppFolders folders;
            folders.settingsFile = (root / "Config.ini").string();
            folders.tempFolder = (root / "Temp").string();
            tarn::AppContext context(
                folders, std::make_unique<BenchFolders>((root / "home").string(), photos.string()));
            tarn::CSystemImageLists icons;
            icons.attach();
            auto* frame = new tarn::CMainFrame(context, icons);
            frame->SetSize(0, 0, 1920, 1080);
            frame->activateFirstTime();
            for (int i = 0; i < 200 && frame->imageList()->model().count() < kFiles; ++i) {
                pumpFor(10);
            }
            frame->imageList()->openItem(0);
            pumpFor(r.decodeMs * 2);
            // Next Image through the whole folder; the median time to the painted image.
            const auto stepThrough = [&](bool keepReadAhead) {
                std::vector<double> steps;
                for (int i = 1; i < kFiles; ++i) {
                    if (!keepReadAhead) {
                        frame->imageView()->prefetchSlot().wait();
                        frame->imageView()->prefetchSlot().discard();
                    }
                    const Clock::time_point start = Clock::now();
                    frame->runCommand(tarn::cmd::kNextImage);
                    frame->imageView()->Update();
                    steps.push_back(millisecondsSince(start));
                    pumpFor(kGlanceMs);
                }
                if (frame->imageView()->document().itemIndex() != kFiles - 1) {
                    r.error = "did not reach the last image";
                }
                return median(steps);
            };
            r.nextMs = stepThrough(true);
            frame->runCommand(tarn::cmd::kFirstImage);
            pumpFor(r.decodeMs * 2);
            r.coldMs = stepThrough(false);
            frame->Destroy();
            pumpFor(20);
        }
        std::error_code ignored;
        fs::remove_all(root, ignored);
        return r;
    }();
    return results;
}

void viewerNextPreloaded(benchmark::State& state) {
    const Results& r = measure();
    if (!r.error.empty()) {
        state.SkipWithError(r.error.c_str());
        return;
    }
    for (auto _ : state) {
        state.SetIterationTime(r.nextMs / 1000.0);
    }
    state.counters["ref"] = r.coldMs;
}

void viewerNextCold(benchmark::State& state) {
    const Results& r = measure();
    if (!r.error.empty()) {
        state.SkipWithError(r.error.c_str());
        return;
    }
    for (auto _ : state) {
        state.SetIterationTime(r.coldMs / 1000.0);
    }
}

void viewerDecode24mp(benchmark::State& state) {
    const Results& r = measure();
    if (!r.error.empty()) {
        state.SkipWithError(r.error.c_str());
        return;
    }
    for (auto _ : state) {
        state.SetIterationTime(r.decodeMs / 1000.0);
    }
}

}  // namespace

BENCHMARK(viewerNextPreloaded)
    ->Name("viewer.next_preloaded")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(viewerNextCold)
    ->Name("viewer.next_cold")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(viewerDecode24mp)
    ->Name("viewer.decode_24mp")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
