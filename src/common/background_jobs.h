#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace tarn {

// Runs one-off jobs, each on a thread of its own that this object joins: a job never outlives
// its owner, so it may use what the owner holds. Threads that have finished are joined when the
// next job starts. Used from one thread (the owner's).
class BackgroundJobs {
public:
    BackgroundJobs() = default;
    // Waits for every job.
    ~BackgroundJobs();
    BackgroundJobs(const BackgroundJobs&) = delete;
    BackgroundJobs& operator=(const BackgroundJobs&) = delete;

    // The job must not throw.
    void start(std::function<void()> job);
    // Waits until every job started so far has ended.
    void waitAll();
    // Jobs started and not yet ended.
    int running() const;

private:
    struct Job {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void joinFinished();

    std::vector<Job> m_jobs;
};

}  // namespace tarn
