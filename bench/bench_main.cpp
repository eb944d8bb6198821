// Runs every benchmark and prints one line per figure:
//   BENCH <name> <value> <unit> [ref=<reference value> ratio=<value/reference>]
// A benchmark reports a reference by setting the counter "ref" (same unit as its value).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

class BenchLineReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                std::printf("BENCH %s error %s\n", run.benchmark_name().c_str(),
                            run.error_message.c_str());
                continue;
            }
            // The given name (and arguments), without run settings such as "/iterations:5".
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) {
                name += "/" + run.run_name.args;
            }
            double value = run.GetAdjustedRealTime();
            std::string unit = benchmark::GetTimeUnitString(run.time_unit);
            // Throughput benchmarks report items per second instead of time.
            if (const auto it = run.counters.find("items_per_second"); it != run.counters.end()) {
                value = it->second;
                unit = "items/s";
            }
            std::printf("BENCH %s %.4g %s", name.c_str(), value, unit.c_str());
            if (const auto ref = run.counters.find("ref"); ref != run.counters.end()) {
                std::printf(" ref=%.4g ratio=%.3f", ref->second.value, value / ref->second.value);
            }
            std::printf("\n");
            std::fflush(stdout);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    BenchLineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
