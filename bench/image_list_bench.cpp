// The thumbnail list window, 1600 x 1000, on folders of 1,000 photo-like 12-megapixel JPEGs:
//   browser.first_screen_cold  ms from the browse to the first screenful of thumbnails drawn,
//                              nothing cached; ref = the thumbnail maker alone making those files
//                              on as many threads as the list uses; both the median of three
//                              rounds, taken in turn
//   browser.first_screen_warm  the same on the second visit, the thumbnail cache filled
//   browser.first_screen_exif  a first visit to files with 160 x 120 embedded thumbnails
//   browser.rss_1000           peak resident memory while all 1,000 are made at box 200, paging
//                              down as each screen completes
// Needs a display (make bench runs it under Xvfb); without one it reports an error line.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/sizer.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "bench_support.h"
#include "browser/image_list_ctrl.h"
#include "browser/thumbnail_worker.h"
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
constexpr int kLargestBox = 200;
constexpr int kColdRounds = 3;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A 160 x 120 JPEG thumbnail embedded into the photo, as cameras write it.
bool embedThumbnail(const std::string& path) {
    FIBITMAP* small = FreeImage_Allocate(160, 120, 24);
    FIMEMORY* memory = FreeImage_OpenMemory();
    BYTE* data = nullptr;
    DWORD size = 0;
    bool ok = small != nullptr && memory != nullptr &&
              FreeImage_SaveToMemory(FIF_JPEG, small, memory, JPEG_QUALITYGOOD) &&
              FreeImage_AcquireMemory(memory, &data, &size);
    if (ok) {
        try {
            auto image = Exiv2::ImageFactory::open(path);
            image->readMetadata();
            Exiv2::ExifThumb thumbnail(image->exifData());
            thumbnail.setJpegThumbnail(data, size);
            image->writeMetadata();
        } catch (...) {
            ok = false;
        }
    }
    FreeImage_CloseMemory(memory);
    FreeImage_Unload(small);
    return ok;
}

// The folders of photos, made once for every figure and removed at exit.
class PhotoFolders {
public:
    PhotoFolders() {
        m_root = fs::temp_directory_path() / ("tarn-bench-list-" + std::to_string(::getpid()));
        m_ok = fill("photos", false) && fill("exif", true);
    }
    ~PhotoFolders() {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }

    bool ok() const { return m_ok; }
    std::string root() const { return m_root.string(); }
    std::string home() const { return (m_root / "home").string(); }
    std::string folder(const std::string& name) const { return (m_root / "home" / name).string(); }
    std::string settingsFile() const { return (m_root / "Config.ini").string(); }
    std::string cache() const { return (m_root / "cache").string(); }
    const std::vector<std::string>& photos() const { return m_photos; }

private:
    bool fill(const std::string& name, bool withThumbnails) {
        fs::create_directories(m_root / "home" / name);
        std::vector<std::string> sources;
        for (int i = 0; i < kDistinct; ++i) {
            const std::string path = (m_root / ("source" + std::to_string(i) + ".jpg")).string();
            if (!tarn::bench::writePhoto(path, 4000, 3000, static_cast<unsigned>(i + 1)) ||
                (withThumbnails && !embedThumbnail(path))) {
                return false;
            }
            sources.push_back(path);
        }
        char file[32];
        for (int i = 0; i < kFiles; ++i) {
            std::snprintf(file, sizeof file, "IMG_%04d.JPG", i + 1);
            const fs::path target = m_root / "home" / name / file;
            fs::copy_file(sources[static_cast<std::size_t>(i % kDistinct)], target);
            if (!withThumbnails) {
                m_photos.push_back(target.string());
            }
        }
        for (const auto& s : sources) {
            fs::remove(s);
        }
        return true;
    }

    fs::path m_root;
    std::vector<std::string> m_photos;
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
    double coldMs = 0;
    double warmMs = 0;
    double exifMs = 0;
    double referenceColdMs = 0;
    double peakMb = 0;
    // Resident when the window opened: the process, the toolkit and what earlier windows left.
    double startMb = 0;
};

bool pendingIn(CImageListCtrl& list, int first, int last) {
    for (int i = first; i <= last && i < list.model().count(); ++i) {
        if (list.model().item(i)->thumbnailPending) {
            return true;
        }
    }
    return false;
}

std::size_t filesIn(const std::string& folder) {
    std::error_code ec;
    std::size_t n = 0;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        ++n;
    }
    return n;
}

// A list in a frame of its own, at the given box.
class ListWindow {
public:
    ListWindow(tarn::AppContext& context, tarn::CSystemImageLists& icons, int box) {
        m_frame = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(1600, 1000));
        m_list = new CImageListCtrl(m_frame, CImageListCtrl::kControlId, context, icons);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_list, 1, wxEXPAND);
        m_frame->SetSizer(sizer);
        m_frame->Show();
        for (int i = 0; i < 100 && !m_frame->IsShownOnScreen(); ++i) {
            pump();
            wxMilliSleep(10);
        }
        m_list->setThumbSize(box, box);
    }
    ~ListWindow() {
        m_frame->Destroy();
        pump();
    }
    CImageListCtrl& list() { return *m_list; }
    int perScreen() const {
        return m_list->columns() *
               std::max(m_list->GetClientSize().y / m_list->geometry().cellHeight, 1);
    }
    // Milliseconds from the browse to the first screen drawn, or a negative number.
    double firstScreen(tarn::AppContext& context, const std::string& folder) {
        const auto id = context.shell.idFromPath(folder);
        const Clock::time_point start = Clock::now();
        if (!id || !m_list->browse(*id, tarn::kBrowseFromTree)) {
            return -1;
        }
        const int last = std::min(perScreen(), kFiles) - 1;
        runUntil([&] { return !pendingIn(*m_list, 0, last); });
        m_list->Update();
        return msSince(start);
    }
    // Waits until the list has made what it asked for and the cache's files stop changing.
    void settle(const std::string& cache) {
        runUntil([&] { return m_list->queuedThumbnails().empty(); });
        const std::string normal = cache + "/thumbnails/normal";
        const Clock::time_point start = Clock::now();
        std::size_t seen = filesIn(normal);
        Clock::time_point changed = Clock::now();
        while (msSince(changed) < 500 && msSince(start) < 30000) {
            pump();
            if (const std::size_t now = filesIn(normal); now != seen) {
                seen = now;
                changed = Clock::now();
            }
        }
    }
    // Runs the event loop as the program does, sleeping until something comes, until done()
    // holds; it is asked whenever the loop has handled what came.
    void runUntil(const std::function<bool()>& done) {
        if (done()) {
            return;
        }
        wxGUIEventLoop loop;
        const auto check = [&](wxIdleEvent& event) {
            event.Skip();
            if (loop.IsRunning() && done()) {
                loop.Exit();
            }
        };
        m_frame->Bind(wxEVT_IDLE, check);
        loop.Run();
        m_frame->Unbind(wxEVT_IDLE, check);
    }

private:
    wxFrame* m_frame = nullptr;
    CImageListCtrl* m_list = nullptr;
};

// The maker alone on the first n photos, spread over the list's number of threads.
double referenceMs(const PhotoFolders& photos, int n) {
    std::atomic<int> next{0};
    const Clock::time_point start = Clock::now();
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < tarn::ThumbnailWorker::defaultThreadCount(); ++t) {
        threads.emplace_back([&] {
            for (int i = next++; i < n; i = next++) {
                const tarn::Thumbnail made = tarn::makeFileThumbnail(
                    photos.photos()[static_cast<std::size_t>(i)], kBox, kBox);
                benchmark::DoNotOptimize(made.photoWidth);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    return msSince(start);
}

const Results& measure() {
    static Results results = [] {
        Results r;
        if (!tarn::bench::startToolkit()) {
            r.error = "needs a display";
            return r;
        }
        const PhotoFolders photos;
        if (!photos.ok()) {
            r.error = "could not write the photos";
            return r;
        }
        // The shared thumbnail cache of this run only.
        ::setenv("XDG_CACHE_HOME", photos.cache().c_str(), 1);
        wxGUIEventLoop loop;
        const wxEventLoopActivator active(&loop);
        tarn::AppFolders folders;
        folders.settingsFile = photos.settingsFile();
        tarn::AppContext context(folders, std::make_unique<BenchSpecialFolders>(photos.home()));
        tarn::CSystemImageLists icons;
        icons.attach();
        {
            // First, so that the process is as the program is when it starts; only what this
            // window does counts towards the peak.
            std::ofstream("/proc/self/clear_refs") << "5";
            r.startMb = static_cast<double>(residentPeakKb()) / 1024.0;
            ListWindow window(context, icons, kLargestBox);
            window.firstScreen(context, photos.folder("exif"));
            CImageListCtrl& list = window.list();
            const int perScreen = window.perScreen();
            // Thumbnails far behind may be dropped again, so only the shown screen counts.
            for (int top = 0; top < kFiles; top += perScreen) {
                list.ensureVisible(std::min(top + perScreen - 1, kFiles - 1));
                list.Update();
                window.runUntil([&] { return !pendingIn(list, top, top + perScreen - 1); });
            }
            r.peakMb = static_cast<double>(residentPeakKb()) / 1024.0;
            window.settle(photos.cache());
        }
        const auto emptyCache = [&] {
            std::error_code ignored;
            fs::remove_all(photos.cache() + "/thumbnails", ignored);
        };
        emptyCache();
        int firstScreenFiles = 0;
        {
            ListWindow window(context, icons, kBox);
            firstScreenFiles = std::min(window.perScreen(), kFiles);
            // One pass is at the mercy of whatever else the machine does: the median of a few,
            // each first visit next to the maker's own time in the same conditions.
            std::vector<double> cold;
            std::vector<double> reference;
            for (int round = 0; round < kColdRounds; ++round) {
                window.settle(photos.cache());
                emptyCache();
                cold.push_back(window.firstScreen(context, photos.folder("photos")));
                window.settle(photos.cache());
                reference.push_back(referenceMs(photos, firstScreenFiles));
            }
            r.coldMs =
                *std::min_element(cold.begin(), cold.end()) < 0 ? -1 : tarn::bench::median(cold);
            r.referenceColdMs = tarn::bench::median(reference);
            r.exifMs = window.firstScreen(context, photos.folder("exif"));
            // The cache is written in the background; the second visit comes when it is done.
            window.settle(photos.cache());
            r.warmMs = window.firstScreen(context, photos.folder("photos"));
        }
        if (r.coldMs < 0 || r.exifMs < 0 || r.warmMs < 0) {
            r.error = "could not browse";
            return r;
        }
        r.ok = true;
        return r;
    }();
    return results;
}

void report(benchmark::State& state, double ms, double reference) {
    const Results& r = measure();
    for (auto _ : state) {
        state.SetIterationTime(ms / 1000.0);
    }
    if (!r.ok) {
        state.SkipWithError(r.error.c_str());
        return;
    }
    state.counters["ref"] = reference;
}

void BM_FirstScreenCold(benchmark::State& state) {
    report(state, measure().coldMs, measure().referenceColdMs);
}
void BM_FirstScreenWarm(benchmark::State& state) {
    report(state, measure().warmMs, 300);
}
void BM_FirstScreenExif(benchmark::State& state) {
    report(state, measure().exifMs, 300);
    // The peak memory is printed in the same form, its target as the reference.
    std::printf("BENCH browser.rss_1000 %.1f MB ref=100\n", measure().peakMb);
    std::printf("BENCH browser.rss_before_list %.1f MB\n", measure().startMb);
}

BENCHMARK(BM_FirstScreenCold)
    ->Name("browser.first_screen_cold")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);
BENCHMARK(BM_FirstScreenWarm)
    ->Name("browser.first_screen_warm")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);
BENCHMARK(BM_FirstScreenExif)
    ->Name("browser.first_screen_exif")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

}  // namespace
