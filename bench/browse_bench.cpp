// Browsing a large folder of camera files: enumerate, classify, stat, build records and sort
// by name. The reference is find reading the same entries with their sizes and times.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "browser/folder_model.h"
#include "platform/shell_namespace.h"

namespace {

namespace fs = std::filesystem;

// A folder of n empty files named IMG_0001.JPG and on, removed with the object.
class CameraFolder {
public:
    explicit CameraFolder(int n) {
        m_path = fs::temp_directory_path() /
                 ("tarn-bench-browse-" + std::to_string(::getpid()) + "-" + std::to_string(n));
        fs::create_directories(m_path);
        const std::string base = m_path.string() + "/";
        char name[32];
        for (int i = 1; i <= n; ++i) {
            std::snprintf(name, sizeof name, "IMG_%04d.JPG", i);
            const int fd = ::open((base + name).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    ~CameraFolder() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    std::string path() const { return m_path.string(); }

private:
    fs::path m_path;
};

double findMilliseconds(const std::string& folder) {
    const std::string command =
        "find '" + folder + "' -maxdepth 1 -printf '%s %T@ %f\\n' > /dev/null";
    // Best of three, as the benchmark itself reports a steady figure.
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            return 0;
        }
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void browseBench(benchmark::State& state, int n) {
    const CameraFolder folder(n);
    const tarn::platform::ShellNamespace shell("/nonexistent-home", {});
    const auto id = shell.idFromPath(folder.path());
    tarn::FolderModel model(shell, tarn::ImageExtensions::fromFreeImage());
    // Both sides are measured with the folder's entries in the cache: the reference runs
    // after the browse, so the browse gets one untimed run first.
    model.browse(*id, tarn::kBrowseFromTree, false);
    for (auto _ : state) {
        if (!model.browse(*id, tarn::kBrowseFromTree, false) || model.count() != n) {
            state.SkipWithError("browse failed");
            break;
        }
    }
    state.counters["ref"] = findMilliseconds(folder.path());
}

void BM_Browse10k(benchmark::State& state) {
    browseBench(state, 10000);
}
BENCHMARK(BM_Browse10k)->Name("browse.10k")->Unit(benchmark::kMillisecond);

void BM_Browse100k(benchmark::State& state) {
    browseBench(state, 100000);
}
BENCHMARK(BM_Browse100k)->Name("browse.100k")->Unit(benchmark::kMillisecond);

}  // namespace
