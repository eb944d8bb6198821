#include "browser/thumbnail_worker.h"

#include <algorithm>
#include <utility>

namespace tarn {

ThumbnailWorker::ThumbnailWorker(FolderModel& model, Ready ready, Maker maker)
    : m_model(model), m_ready(std::move(ready)), m_maker(std::move(maker)) {
    m_thread = std::thread([this] { run(); });
}

ThumbnailWorker::~ThumbnailWorker() {
    stop();
}

void ThumbnailWorker::stop() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    // Someone waiting for a clear must not wait for a thread that has gone.
    m_cleared.notify_all();
}

void ThumbnailWorker::requestLocked(int first, int last) {
    if (m_stop) {
        return;
    }
    first = std::max(first, 0);
    last = std::min(last, m_model.count() - 1);
    if (last < first) {
        return;
    }
    std::vector<std::string> batch;
    for (int i = first; i <= last; ++i) {
        const FolderItem* item = m_model.item(i);
        if (item->thumbnailPending && !item->path.empty()) {
            batch.push_back(item->path);
        }
    }
    if (m_queue.pushBatchFront(batch) > 0) {
        m_wake.notify_one();
    }
}

void ThumbnailWorker::clearLocked(std::unique_lock<std::mutex>& lock) {
    if (m_stop) {
        m_queue.clear();
        return;
    }
    m_clearRequest = true;
    m_wake.notify_one();
    m_cleared.wait(lock, [this] { return !m_clearRequest || m_stop; });
    m_queue.clear();
}

void ThumbnailWorker::setBoxLocked(unsigned width, unsigned height) {
    m_boxWidth = width;
    m_boxHeight = height;
}

void ThumbnailWorker::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || m_clearRequest || !m_queue.empty(); });
        if (m_stop) {
            break;
        }
        if (m_clearRequest) {
            m_queue.clear();
            m_clearRequest = false;
            m_cleared.notify_all();
            continue;
        }
        // The node stays queued while it is served.
        const std::string path = m_queue.front();
        FolderItem* item = m_model.itemByPath(path);
        if (item == nullptr) {
            m_queue.remove(path);
            continue;
        }
        const std::string source = item->kind == kKindShortcut ? item->targetPath : path;
        // A record replaced by a refresh meanwhile (the file was rewritten) must not get the
        // old picture: it is recognised by its address and its file facts.
        const FolderItem* const served = item;
        const std::int64_t modified = item->modified;
        const std::uint64_t size = item->size;
        const unsigned boxWidth = m_boxWidth;
        const unsigned boxHeight = m_boxHeight;
        m_busy = true;
        lock.unlock();

        Thumbnail made = source.empty() ? Thumbnail{} : m_maker(source, boxWidth, boxHeight);

        lock.lock();
        m_busy = false;
        if (made.attempted) {
            FolderItem* again = m_model.itemByPath(path);
            if (again != nullptr && again == served && again->modified == modified &&
                again->size == size) {
                if (made.image.isValid()) {
                    again->thumbnail.reset(FreeImage_Clone(made.image));
                } else {
                    again->thumbnail.reset();
                }
                again->photoWidth = static_cast<int>(made.photoWidth);
                again->photoHeight = static_cast<int>(made.photoHeight);
                again->thumbnailPending = false;
                if (m_ready) {
                    m_ready(m_model.indexOf(again));
                }
            }
        }
        m_queue.remove(path);
    }
    m_queue.clear();
}

}  // namespace tarn
