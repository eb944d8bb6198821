// The thumbnail list window on a folder of 1,000 photo-like 12-megapixel JPEGs without embedded
// thumbnails, at box 85:
//   browser.first_screen  milliseconds from the browse to the first screenful of thumbnails
//                         drawn; ref = that many thumbnails made one after another + 100 ms
//   browser.rate_1000     thumbnails per second until all 1,000 are made while the view pages
//                         down as each screen completes; ref = the thumbnail maker alone,
//                         single-threaded, on the same files
//   browser.rss_1000      peak resident memory after all 1,000 (printed, no reference)
// Needs a display (make bench runs it under Xvfb); without one it reports an error line.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/sizer.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "bench_support.h"
#include "browser/image_list_ctrl.h"
#include "imaging/thumbnail_maker.h"
#include "platform/special_folders.h"

// After the toolkit headers: FreeImage.h defines a name they take for the Windows headers.
#include <FreeImage.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using tarn::CImageListCtrl;

constexpr int kFiles = 1000;
constexpr int kDistinct = 24;
constexpr int kBox = 85;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The folder of photos, made once for all three figures and removed at exit.
class PhotoFolder {
public:
    PhotoFolder() {
        m_root = fs::temp_directory_path() / ("tarn-bench-list-" + std::to_string(::getpid()));
        fs::create_directories(m_root / "home" / "photos");
        std::vector<std::string> sources;
        for (int i = 0; i < kDistinct; ++i) {
            const std::string path = (m_root / ("source" + std::to_string(i) + ".jpg")).string();
            if (!tarn::bench::writePhoto(path, 4000, 3000, static_cast<unsigned>(i + 1))) {
                return;
            }
            sources.push_back(path);
        }
        char name[32];
        for (int i = 0; i < kFiles; ++i) {
            std::snprintf(name, sizeof name, "IMG_%04d.JPG", i + 1);
            const fs::path target = m_root / "home" / "photos" / name;
            fs::copy_file(sources[static_cast<std::size_t>(i % kDistinct)], target);
            m_files.push_back(target.string());
        }
        for (const auto& s : sources) {
            fs::remove(s);
        }
        m_ok = true;
    }
    ~PhotoFolder() {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }

    bool ok() const { return m_ok; }
    std::string home() const { return (m_root / "home").string(); }
    std::string folder() const { return (m_root / "home" / "photos").string(); }
    std::string settingsFile() const { return (m_root / "Config.ini").string(); }
    const std::vector<std::string>& files() const { return m_files; }

private:
    fs::path m_root;
    std::vector<std::string> m_files;
    bool m_ok = false;
};

class BenchSpecialFolders final : public tarn::platform::SpecialFolders {
public:
    explicit BenchSpecialFolders(std::string home) : m_home(std::move(home)) {}
    std::optional<std::string> configFolder() const override { return std::nullopt; }
    std::optional<std::string> picturesFolder() const override { return std::nullopt; }
    std::optional<std::string> homeFolder() const override { return m_home; }
    std::optional<std::string> programFile() const override { return std::nullopt; }

private:
    std::string m_home;
};

// One round of the event loop; a running loop would block while idle, so this does not spin.
void pump() {
    wxYield();
    wxTheApp->ProcessPendingEvents();
    wxMilliSleep(2);
}

long residentPeakKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

struct Results {
    bool ok = false;
    std::string error;
    double firstScreenMs = 0;
    int firstScreenItems = 0;
    double rate = 0;
    double peakMb = 0;
    double referenceRate = 0;
    double referenceFirstScreenMs = 0;
};

bool pendingIn(CImageListCtrl& list, int first, int last) {
    for (int i = first; i <= last && i < list.model().count(); ++i) {
        if (list.model().item(i)->thumbnailPending) {
            return true;
        }
    }
    return false;
}

const Results& measure() {
    static Results results = [] {
        Results r;
        if (!tarn::bench::startToolkit()) {
            r.error = "needs a display";
            return r;
        }
        const PhotoFolder photos;
        if (!photos.ok()) {
            r.error = "could not write the photos";
            return r;
        }
        wxGUIEventLoop loop;
        const wxEventLoopActivator active(&loop);
        tarn::AppFolders folders;
        folders.settingsFile = photos.settingsFile();
        tarn::AppContext context(folders, std::make_unique<BenchSpecialFolders>(photos.home()));
        tarn::CSystemImageLists icons;
        icons.attach();
        auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(1024, 768));
        auto* list = new CImageListCtrl(frame, CImageListCtrl::kControlId, context, icons);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(list, 1, wxEXPAND);
        frame->SetSizer(sizer);
        frame->Show();
        for (int i = 0; i < 100 && !frame->IsShownOnScreen(); ++i) {
            pump();
            wxMilliSleep(10);
        }
        list->setThumbSize(kBox, kBox);
        const auto id = context.shell.idFromPath(photos.folder());
        // Only what this run does counts towards the peak.
        std::ofstream("/proc/self/clear_refs") << "5";

        const Clock::time_point start = Clock::now();
        if (!id || !list->browse(*id, tarn::kBrowseFromTree)) {
            r.error = "could not browse";
            frame->Destroy();
            return r;
        }
        const int perScreen =
            list->columns() * std::max(list->GetClientSize().y / list->geometry().cellHeight, 1);
        const int firstLast = std::min(perScreen, kFiles) - 1;
        while (pendingIn(*list, 0, firstLast)) {
            pump();
        }
        list->Update();
        r.firstScreenMs = secondsSince(start) * 1000.0;
        r.firstScreenItems = firstLast + 1;

        // Page down whenever the shown screen is complete.
        int top = 0;
        while (pendingIn(*list, 0, kFiles - 1)) {
            if (!pendingIn(*list, top, top + perScreen - 1) && top + perScreen < kFiles) {
                top += perScreen;
                list->ensureVisible(std::min(top + perScreen - 1, kFiles - 1));
                list->Update();
            }
            pump();
        }
        r.rate = kFiles / secondsSince(start);
        r.peakMb = static_cast<double>(residentPeakKb()) / 1024.0;
        frame->Destroy();
        pump();

        // The maker alone, one file after another.
        const Clock::time_point refStart = Clock::now();
        double firstScreenSeconds = 0;
        for (int i = 0; i < kFiles; ++i) {
            const tarn::Thumbnail t = tarn::makeFileThumbnail(photos.files()[i], kBox, kBox);
            benchmark::DoNotOptimize(t.photoWidth);
            if (i == r.firstScreenItems - 1) {
                firstScreenSeconds = secondsSince(refStart);
            }
        }
        r.referenceRate = kFiles / secondsSince(refStart);
        r.referenceFirstScreenMs = firstScreenSeconds * 1000.0 + 100.0;
        r.ok = true;
        return r;
    }();
    return results;
}

void BM_FirstScreen(benchmark::State& state) {
    const Results& r = measure();
    for (auto _ : state) {
        state.SetIterationTime(r.firstScreenMs / 1000.0);
    }
    if (!r.ok) {
        state.SkipWithError(r.error.c_str());
        return;
    }
    state.counters["ref"] = r.referenceFirstScreenMs;
}
BENCHMARK(BM_FirstScreen)
    ->Name("browser.first_screen")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

void BM_Rate1000(benchmark::State& state) {
    const Results& r = measure();
    for (auto _ : state) {
        state.SetIterationTime(r.rate > 0 ? kFiles / r.rate : 1.0);
    }
    if (!r.ok) {
        state.SkipWithError(r.error.c_str());
        return;
    }
    state.counters["items_per_second"] = r.rate;
    state.counters["ref"] = r.referenceRate;
    // The peak memory has no reference to compare with; it is printed in the same form.
    std::printf("BENCH browser.rss_1000 %.1f MB\n", r.peakMb);
}
BENCHMARK(BM_Rate1000)
    ->Name("browser.rate_1000")
    ->Unit(benchmark::kSecond)
    ->UseManualTime()
    ->Iterations(1);

}  // namespace
