#include "imaging/effects/parallel_rows.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace tarn {

namespace {

// Below this many pixels a thread costs more than it saves.
constexpr std::int64_t kPixelsPerThread = 500'000;
constexpr unsigned kMaxThreads = 8;

}  // namespace

int rowBandCount(int rows, std::int64_t work) {
    if (rows <= 1 || work < 2 * kPixelsPerThread) {
        return 1;
    }
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads);
    const std::int64_t byWork = work / kPixelsPerThread;
    return static_cast<int>(std::min<std::int64_t>({cores, byWork, rows}));
}

void forEachRowBand(int rows, std::int64_t work,
                    const std::function<void(int top, int bottom)>& band) {
    if (rows <= 0) {
        return;
    }
    const int bands = rowBandCount(rows, work);
    std::vector<std::thread> workers;
    workers.reserve(
        static_cast<std::size_t>(bands));  // so that adding a started thread never throws
    for (int i = 1; i < bands; ++i) {
        const int top = static_cast<int>(static_cast<std::int64_t>(rows) * i / bands);
        const int bottom = static_cast<int>(static_cast<std::int64_t>(rows) * (i + 1) / bands);
        try {
            workers.emplace_back(band, top, bottom);
        } catch (const std::system_error&) {
            band(top, bottom);  // no thread to be had: do it here
        }
    }
    band(0, static_cast<int>(static_cast<std::int64_t>(rows) / bands));
    for (std::thread& worker : workers) {
        worker.join();
    }
}

}  // namespace tarn
