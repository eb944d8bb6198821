#include "browser/thumbnail_worker.h"

#include <algorithm>
#include <utility>

namespace tarn {

ThumbnailWorker::ThumbnailWorker(Ready ready, Maker maker)
    : m_ready(std::move(ready)), m_maker(std::move(maker)) {
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
}

void ThumbnailWorker::request(const FolderModel& model, int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, model.count() - 1);
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stop || last < first) {
        return;
    }
    std::vector<std::string> batch;
    for (int i = first; i <= last; ++i) {
        const FolderItem* item = model.item(i);
        if (!item->thumbnailPending || item->path.empty() || m_queue.contains(item->path) ||
            m_handedBack.count(item->path) != 0) {
            continue;
        }
        batch.push_back(item->path);
        m_requests[item->path] =
            Request{item->kind == kKindShortcut ? item->targetPath : item->path, item->modified,
                    item->size};
    }
    if (m_queue.pushBatchFront(batch) > 0) {
        m_wake.notify_one();
    }
}

void ThumbnailWorker::clear() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_queue.clear();
    m_requests.clear();
    m_handedBack.clear();
    // The thumbnail in hand and those on their way back now belong to an earlier hand-over.
    ++m_handOver;
}

void ThumbnailWorker::setBox(unsigned width, unsigned height) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_boxWidth = width;
    m_boxHeight = height;
}

int ThumbnailWorker::store(FolderModel& model, ThumbnailResult result) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (result.handOver != m_handOver) {
            return -1;
        }
        m_handedBack.erase(result.path);
    }
    // A record replaced by a refresh meanwhile (the file was rewritten) must not get the old
    // picture: it is recognised by its file facts.
    FolderItem* item = model.itemByPath(result.path);
    if (item == nullptr || item->modified != result.modified || item->size != result.size) {
        return -1;
    }
    item->thumbnail = std::move(result.image);
    item->photoWidth = result.photoWidth;
    item->photoHeight = result.photoHeight;
    item->thumbnailPending = false;
    return model.indexOf(item);
}

std::vector<std::string> ThumbnailWorker::queued() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_queue.paths();
}

bool ThumbnailWorker::idle() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_queue.empty() && !m_busy && m_handedBack.empty();
}

void ThumbnailWorker::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_stop) {
            break;
        }
        // The path stays queued while it is served, so a request for it meanwhile is not
        // doubled.
        const std::string path = m_queue.front();
        const auto found = m_requests.find(path);
        if (found == m_requests.end()) {
            m_queue.remove(path);
            continue;
        }
        const Request request = found->second;
        const std::uint64_t handOver = m_handOver;
        const unsigned boxWidth = m_boxWidth;
        const unsigned boxHeight = m_boxHeight;
        m_busy = true;
        lock.unlock();

        ThumbnailResult result;
        bool attempted = false;
        {
            Thumbnail made =
                request.source.empty() ? Thumbnail{} : m_maker(request.source, boxWidth, boxHeight);
            attempted = made.attempted;
            if (made.image.isValid()) {
                result.image.reset(FreeImage_Clone(made.image));
            }
            result.photoWidth = static_cast<int>(made.photoWidth);
            result.photoHeight = static_cast<int>(made.photoHeight);
        }
        result.path = path;
        result.modified = request.modified;
        result.size = request.size;
        result.handOver = handOver;

        lock.lock();
        m_busy = false;
        if (handOver != m_handOver) {
            // Cleared meanwhile: the queue is another folder's now.
            continue;
        }
        m_queue.remove(path);
        m_requests.erase(path);
        // A file that has gone stays pending.
        if (!attempted || !m_ready) {
            continue;
        }
        m_handedBack.insert(path);
        lock.unlock();
        m_ready(std::move(result));
        lock.lock();
    }
    m_queue.clear();
    m_requests.clear();
}

}  // namespace tarn
