#include "common/background_jobs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tarn {
namespace {

TEST(BackgroundJobs, JobsRunSideBySideAndHaveAllEndedWhenTheOwnerGoes) {
    std::mutex mutex;
    std::condition_variable changed;
    int started = 0;
    bool open = false;
    std::atomic<int> ended{0};
    {
        BackgroundJobs jobs;
        for (int i = 0; i < 3; ++i) {
            jobs.start([&] {
                std::unique_lock<std::mutex> lock(mutex);
                ++started;
                changed.notify_all();
                // Each waits until all three are running at once.
                changed.wait(lock, [&] { return open || started == 3; });
                ++ended;
            });
        }
        {
            std::unique_lock<std::mutex> lock(mutex);
            ASSERT_TRUE(
                changed.wait_for(lock, std::chrono::seconds(10), [&] { return started == 3; }));
        }
        jobs.waitAll();
        EXPECT_EQ(ended.load(), 3);
        EXPECT_EQ(jobs.running(), 0);

        // One that is still held when the owner goes is waited for.
        jobs.start([&] {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] { return open; });
            ++ended;
        });
        EXPECT_EQ(jobs.running(), 1);
        const std::lock_guard<std::mutex> lock(mutex);
        open = true;
        changed.notify_all();
    }
    EXPECT_EQ(ended.load(), 4);
}

}  // namespace
}  // namespace tarn
