// Settings are read straight from the file every time (no cache), so a read must stay cheap
// on a Config.ini grown by hand and by every owner.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/settings.h"

namespace {

std::string makeConfig() {
    const auto dir =
        std::filesystem::temp_directory_path() / ("tarn-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Config.ini").string();
    std::ofstream out(path, std::ios::trunc);
    for (int s = 0; s < 20; ++s) {
        out << "[Section" << s << "]\n";
        for (int k = 0; k < 15; ++k) {
            out << "Key" << k << "=" << s * k << "\n";
        }
    }
    out << "[Thumb]\nThumbSizeWidth=120\n";
    return path;
}

void BM_SettingsReadLastKey(benchmark::State& state) {
    const std::string path = makeConfig();
    const tarn::SettingsStore store(path);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.get(tarn::settings::kThumbSizeWidth));
    }
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(BM_SettingsReadLastKey)
    ->Name("settings.read_int_320_lines")
    ->Unit(benchmark::kMicrosecond);

void BM_SettingsWrite(benchmark::State& state) {
    const std::string path = makeConfig();
    tarn::SettingsStore store(path);
    int i = 0;
    for (auto _ : state) {
        store.set(tarn::settings::kSortType, ++i % 5);
    }
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(BM_SettingsWrite)->Name("settings.write_int_320_lines")->Unit(benchmark::kMicrosecond);

}  // namespace
