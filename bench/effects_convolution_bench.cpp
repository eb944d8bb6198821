// The convolution effects on a 24-MP picture, each beside one copy of the same pixels (ref),
// and the 3 x 3 Gaussian beside the vips command doing the same kernel on the same picture:
// the whole command, and the time vips reports for its own pass.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "effect_bench_support.h"
#include "imaging/effects/convolution.h"
#include "imaging/freeimage_ptr.h"

namespace {

using tarn::bench::Clock;
using tarn::bench::median;
using tarn::bench::millisecondsSince;
using tarn::bench::timeAgainstCopy;
constexpr int kRounds = 7;

void effectAgainstCopy(benchmark::State& state, const tarn::ConvolutionParams& params) {
    timeAgainstCopy(
        state, [&](fipImage& image) { return tarn::convolute(image, params); }, kRounds);
}

// Runs a command with its error output, returning that output.
std::string runCommand(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen((command + " 2>&1").c_str(), "r")) {
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            output += buffer;
        }
        if (::pclose(pipe) != 0) {
            output = "failed";
        }
    }
    return output;
}

// The seconds vips reports for writing its output file, from its progress lines.
double vipsOwnMilliseconds(const std::string& output, const std::string& name) {
    const std::string key = name + ": done in ";
    const std::size_t at = output.rfind(key);
    return at == std::string::npos ? -1 : std::atof(output.c_str() + at + key.size()) * 1000.0;
}

struct VipsTimes {
    double process = -1;  // the whole command, as a user would run it
    double own = -1;      // what vips reports for its pass over the picture
    std::string error;
};

// vips conv with the same kernel on the same picture, read from and written to its own format
// in a temporary folder; measured once for both benchmarks that show it.
const VipsTimes& vipsGauss3(const fipImage& source) {
    static const VipsTimes times = [&] {
        namespace fs = std::filesystem;
        VipsTimes result;
        if (std::system("which vips > /dev/null 2>&1") != 0) {
            result.error = "vips is not installed";
            return result;
        }
        const fs::path folder =
            fs::temp_directory_path() / ("tarn-convolution-bench-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        const std::string ppm = (folder / "in.ppm").string();
        const std::string in = (folder / "in.v").string();
        const std::string out = (folder / "out.v").string();
        const std::string matrix = (folder / "gauss3.mat").string();
        std::ofstream(matrix) << "3 3 16 0\n1 2 1\n2 4 2\n1 2 1\n";
        fipImage written(source);
        if (!written.save(ppm.c_str()) || runCommand("vips copy " + ppm + " " + in) == "failed") {
            result.error = "the vips input could not be written";
            return result;
        }
        const std::string command =
            "vips conv " + in + " " + out + " " + matrix + " --precision integer --vips-progress";
        std::vector<double> process;
        std::vector<double> own;
        for (int round = 0; round < kRounds; ++round) {
            const Clock::time_point start = Clock::now();
            const std::string output = runCommand(command);
            process.push_back(millisecondsSince(start));
            own.push_back(vipsOwnMilliseconds(output, "out.v"));
        }
        result.process = median(process);
        result.own = median(own);
        if (result.own < 0) {
            result.error = "vips did not run: " + runCommand(command);
        }
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        return result;
    }();
    return times;
}

// Ours against vips run as a process, or against the time vips reports for its own pass.
void gauss3AgainstVips(benchmark::State& state, bool ownTime) {
    const VipsTimes& vips = vipsGauss3(tarn::bench::photo24mp());
    if (!vips.error.empty()) {
        state.SkipWithError(vips.error.c_str());
        return;
    }
    effectAgainstCopy(state, tarn::kGaussian3());
    state.counters["ref"] = ownTime ? vips.own : vips.process;
}

}  // namespace

BENCHMARK_CAPTURE(effectAgainstCopy, gauss3, tarn::kGaussian3())
    ->Name("effect.gauss3")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(effectAgainstCopy, gauss5, tarn::kGaussian5())
    ->Name("effect.gauss5")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(effectAgainstCopy, sharpen, tarn::kSharpen())
    ->Name("effect.sharpen")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(gauss3AgainstVips, process, false)
    ->Name("effect.gauss3.vs_vips")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(gauss3AgainstVips, own, true)
    ->Name("effect.gauss3.vs_vips_own_time")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
