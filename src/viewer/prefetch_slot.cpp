#include "viewer/prefetch_slot.h"

#include <system_error>
#include <utility>

#include "common/path_rules.h"

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace tarn {

namespace {

// Reading ahead must never take time from the thread the user is waiting on. On Linux a nice
// value of 19 for this thread alone (the nice value is per thread there); SCHED_IDLE would
// starve the loader completely on a busy machine, and the user does wait for it when moving on.
void lowerThisThreadsPriority() {
#ifdef __linux__
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 19);
#endif
}

}  // namespace

PrefetchSlot::~PrefetchSlot() {
    wait();
}

void PrefetchSlot::preload(const std::string& path, int page, std::function<void()> done) {
    wait();
    {
        const std::lock_guard lock(m_mutex);
        if (m_finished && !m_path.empty() && samePath(m_path, path) && m_page == page) {
            return;
        }
        m_path = path;
        m_page = page;
        m_result = {};
        m_finished = false;
        m_running = !path.empty();
    }
    if (path.empty()) {
        return;
    }
    try {
        m_loader = std::thread([this, path, page, done = std::move(done)] {
            lowerThisThreadsPriority();
            LoadedImage result = loadImageFile(path, page);
            {
                const std::lock_guard lock(m_mutex);
                m_result = std::move(result);
                m_finished = true;
                m_running = false;
            }
            if (done) {
                done();
            }
        });
    } catch (const std::system_error&) {
        // No thread to be had: the slot stays empty and the file is read when it is opened.
        const std::lock_guard lock(m_mutex);
        m_finished = false;
        m_running = false;
        m_path.clear();
    }
}

std::optional<LoadedImage> PrefetchSlot::take(const std::string& path, int page) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_path.empty() || !samePath(m_path, path) || m_page != page) {
            return std::nullopt;
        }
    }
    // The loader reads exactly this: its result is worth the wait.
    wait();
    const std::lock_guard lock(m_mutex);
    if (!m_finished) {
        return std::nullopt;
    }
    std::optional<LoadedImage> taken(std::move(m_result));
    m_result = {};
    m_finished = false;
    m_path.clear();
    m_page = 0;
    return taken;
}

bool PrefetchSlot::keep(const std::string& path, int page, int pageCount,
                        std::unique_ptr<fipSuperImage> image) {
    if (path.empty() || !image || !image->isValid()) {
        return false;
    }
    {
        const std::lock_guard lock(m_mutex);
        if (m_running) {
            return false;
        }
    }
    joinFinished();
    const std::lock_guard lock(m_mutex);
    m_path = path;
    m_page = page;
    m_result.image = std::move(image);
    m_result.pageCount = pageCount;
    m_finished = true;
    return true;
}

bool PrefetchSlot::discard() {
    {
        const std::lock_guard lock(m_mutex);
        if (m_running) {
            return false;
        }
    }
    joinFinished();
    const std::lock_guard lock(m_mutex);
    m_path.clear();
    m_page = 0;
    m_result = {};
    m_finished = false;
    return true;
}

void PrefetchSlot::wait() {
    joinFinished();
}

bool PrefetchSlot::loading() const {
    const std::lock_guard lock(m_mutex);
    return m_running;
}

std::string PrefetchSlot::path() const {
    const std::lock_guard lock(m_mutex);
    return m_path;
}

int PrefetchSlot::page() const {
    const std::lock_guard lock(m_mutex);
    return m_page;
}

bool PrefetchSlot::hasResult() const {
    const std::lock_guard lock(m_mutex);
    return m_finished;
}

// Only the owner's thread starts and joins the loader, so the thread object needs no lock.
void PrefetchSlot::joinFinished() {
    if (m_loader.joinable()) {
        m_loader.join();
    }
}

}  // namespace tarn
