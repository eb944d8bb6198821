#include "common/background_jobs.h"

#include <algorithm>
#include <utility>

namespace tarn {

BackgroundJobs::~BackgroundJobs() {
    waitAll();
}

void BackgroundJobs::start(std::function<void()> job) {
    joinFinished();
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([job = std::move(job), done]() mutable {
        job();
        // The job's captures go before it counts as done.
        job = nullptr;
        done->store(true, std::memory_order_release);
    });
    m_jobs.push_back(Job{std::move(thread), std::move(done)});
}

void BackgroundJobs::waitAll() {
    for (Job& job : m_jobs) {
        job.thread.join();
    }
    m_jobs.clear();
}

int BackgroundJobs::running() const {
    return static_cast<int>(std::count_if(m_jobs.begin(), m_jobs.end(), [](const Job& job) {
        return !job.done->load(std::memory_order_acquire);
    }));
}

void BackgroundJobs::joinFinished() {
    const auto finished = std::partition(m_jobs.begin(), m_jobs.end(), [](const Job& job) {
        return !job.done->load(std::memory_order_acquire);
    });
    for (auto it = finished; it != m_jobs.end(); ++it) {
        it->thread.join();
    }
    m_jobs.erase(finished, m_jobs.end());
}

}  // namespace tarn
