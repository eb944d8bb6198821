// Copying a folder of big camera files with the browser's file operation, side by side with
// cp -r of the same folder in the same run. TARN_FILEOPS_BENCH_FILES sets the number of 4 MB
// files (1000 when unset) for quick runs.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "browser/file_operations.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileSize = 4u << 20;

int fileCount() {
    const char* text = std::getenv("TARN_FILEOPS_BENCH_FILES");
    const int n = text != nullptr ? std::atoi(text) : 0;
    return n > 0 ? n : 1000;
}

// A folder of n files of 4 MB of noise (no two alike), removed with the object.
class BigFileFolder {
public:
    explicit BigFileFolder(int n) {
        m_root = fs::temp_directory_path() / ("tarn-bench-fileops-" + std::to_string(::getpid()));
        fs::create_directories(m_root / "photos");
        std::vector<char> bytes(kFileSize);
        std::minstd_rand random(7);
        std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(random()); });
        char name[32];
        for (int i = 0; i < n; ++i) {
            std::snprintf(name, sizeof name, "IMG_%04d.CR2", i);
            std::copy_n(reinterpret_cast<const char*>(&i), sizeof i, bytes.begin());
            const int fd = ::open((m_root / "photos" / name).c_str(),
                                  O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd < 0 ||
                ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(kFileSize)) {
                m_ok = false;
            }
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    ~BigFileFolder() {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    bool ok() const { return m_ok; }
    std::string photos() const { return (m_root / "photos").string(); }
    // An empty folder to copy into, emptied again first.
    std::string freshTarget() const {
        const fs::path target = m_root / "target";
        std::error_code ec;
        fs::remove_all(target, ec);
        fs::create_directories(target);
        // Both sides start with the source in the cache and nothing waiting to be written.
        ::sync();
        return target.string();
    }

private:
    fs::path m_root;
    bool m_ok = true;
};

class QuietObserver : public tarn::FileOpObserver {
public:
    tarn::ConflictAnswer askConflict(const std::string&, const std::string&) override {
        return {tarn::ConflictChoice::Cancel, false};
    }
};

using tarn::bench::Clock;
using tarn::bench::millisecondsSince;
double copyMilliseconds(const BigFileFolder& folder) {
    const std::string target = folder.freshTarget();
    QuietObserver observer;
    const auto start = Clock::now();
    const tarn::FileOpResult result =
        tarn::runFileOperation({tarn::FileOpKind::Copy, {folder.photos()}, target}, observer);
    // Until the copy is on disk: what is still waiting to be written would otherwise slow
    // down whichever side comes next.
    ::sync();
    const double ms = millisecondsSince(start);
    return result.ok() ? ms : -1;
}

double cpMilliseconds(const BigFileFolder& folder) {
    const std::string target = folder.freshTarget();
    const std::string command = "cp -r '" + folder.photos() + "' '" + target + "/'";
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    ::sync();
    const double ms = millisecondsSince(start);
    return status == 0 ? ms : -1;
}

void BM_CopyBigFiles(benchmark::State& state) {
    const BigFileFolder folder(fileCount());
    if (!folder.ok()) {
        state.SkipWithError("cannot write the source files");
        return;
    }
    // Best of two for each side, taken in turns so that neither always goes first.
    double best = 1e300;
    double reference = 1e300;
    for (auto _ : state) {
        for (int round = 0; round < 2; ++round) {
            const double ours = copyMilliseconds(folder);
            const double cp = cpMilliseconds(folder);
            if (ours < 0 || cp < 0) {
                state.SkipWithError("copy failed");
                return;
            }
            best = std::min(best, ours);
            reference = std::min(reference, cp);
        }
        state.SetIterationTime(best / 1000.0);
    }
    state.counters["ref"] = reference;
    state.counters["files"] = fileCount();
}
BENCHMARK(BM_CopyBigFiles)
    ->Name("fileops.copy_1000")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
