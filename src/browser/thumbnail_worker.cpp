#include "browser/thumbnail_worker.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "browser/thumbnail_queue.h"

namespace tarn {

namespace {

std::atomic<int> g_strayThreads{0};

}  // namespace

// What the threads share with their worker. A thread holds it too, so that one left inside the
// maker by stop() finds it alive when it comes back.
struct ThumbnailWorker::Shared {
    // What a thread needs of a queued item.
    struct Request {
        std::string source;
        std::int64_t modified = 0;
        std::uint64_t size = 0;
    };
    // Where each thread is, as stop() needs to know it.
    enum class Place { Idle, Making, HandingBack };

    Shared(Ready readyCall, Maker makerCall, unsigned threads)
        : ready(std::move(readyCall)),
          maker(std::move(makerCall)),
          places(threads, Place::Idle),
          strays(threads, false) {}

    void run(std::size_t index);

    const Ready ready;
    const Maker maker;

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable handedBack;
    ThumbnailQueue queue;
    std::unordered_map<std::string, Request> requests;
    // Paths of the current hand-over that a thread is making.
    std::unordered_set<std::string> inHand;
    // Paths whose result was handed to Ready and not stored yet.
    std::unordered_set<std::string> awaitingStore;
    std::vector<Place> places;
    // Threads that stop() left inside the maker.
    std::vector<bool> strays;
    std::uint64_t handOver = 0;
    unsigned boxWidth = 85;
    unsigned boxHeight = 85;
    bool stopped = false;
};

unsigned ThumbnailWorker::defaultThreadCount() {
    return std::clamp(std::thread::hardware_concurrency(), 2u, 8u);
}

int ThumbnailWorker::strayThreads() {
    return g_strayThreads.load();
}

ThumbnailWorker::ThumbnailWorker(Ready ready, Maker maker, unsigned threads)
    : m_shared(
          std::make_shared<Shared>(std::move(ready), std::move(maker), std::max(threads, 1u))) {
    for (std::size_t i = 0; i < m_shared->places.size(); ++i) {
        m_threads.emplace_back([shared = m_shared, i] { shared->run(i); });
    }
}

ThumbnailWorker::~ThumbnailWorker() {
    stop();
}

void ThumbnailWorker::stop() {
    std::vector<bool> leave;
    {
        std::unique_lock<std::mutex> lock(m_shared->mutex);
        m_shared->stopped = true;
        m_shared->wake.notify_all();
        // A result being handed over may still reach the owner; wait for that, it is quick.
        m_shared->handedBack.wait(lock, [this] {
            return std::none_of(m_shared->places.begin(), m_shared->places.end(),
                                [](Shared::Place p) { return p == Shared::Place::HandingBack; });
        });
        for (std::size_t i = 0; i < m_threads.size(); ++i) {
            const bool making = m_shared->places[i] == Shared::Place::Making;
            leave.push_back(making);
            if (making && m_threads[i].joinable()) {
                m_shared->strays[i] = true;
                ++g_strayThreads;
            }
        }
        m_shared->queue.clear();
        m_shared->requests.clear();
    }
    for (std::size_t i = 0; i < m_threads.size(); ++i) {
        if (!m_threads[i].joinable()) {
            continue;
        }
        if (leave[i]) {
            m_threads[i].detach();
        } else {
            m_threads[i].join();
        }
    }
}

void ThumbnailWorker::request(const FolderModel& model, const std::vector<IndexRange>& ranges) {
    Shared& shared = *m_shared;
    const std::lock_guard<std::mutex> lock(shared.mutex);
    if (shared.stopped) {
        return;
    }
    std::vector<std::string> batch;
    for (const IndexRange& range : ranges) {
        const int first = std::max(range.first, 0);
        const int last = std::min(range.last, model.count() - 1);
        for (int i = first; i <= last; ++i) {
            const FolderItem* item = model.item(i);
            if (!item->thumbnailPending || item->path.empty() ||
                shared.queue.contains(item->path) || shared.awaitingStore.count(item->path) != 0 ||
                shared.requests.count(item->path) != 0) {
                continue;
            }
            batch.push_back(item->path);
            shared.requests[item->path] =
                Shared::Request{item->kind == kKindShortcut ? item->targetPath : item->path,
                                item->modified, item->size};
        }
    }
    if (shared.queue.pushBatchFront(batch) > 0) {
        shared.wake.notify_all();
    }
}

void ThumbnailWorker::clear() {
    Shared& shared = *m_shared;
    const std::lock_guard<std::mutex> lock(shared.mutex);
    shared.queue.clear();
    shared.requests.clear();
    shared.inHand.clear();
    shared.awaitingStore.clear();
    // The thumbnails in hand and those on their way back now belong to an earlier hand-over.
    ++shared.handOver;
}

void ThumbnailWorker::setBox(unsigned width, unsigned height) {
    const std::lock_guard<std::mutex> lock(m_shared->mutex);
    m_shared->boxWidth = width;
    m_shared->boxHeight = height;
}

int ThumbnailWorker::store(FolderModel& model, ThumbnailResult result) {
    {
        const std::lock_guard<std::mutex> lock(m_shared->mutex);
        if (result.handOver != m_shared->handOver) {
            return -1;
        }
        m_shared->awaitingStore.erase(result.path);
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
    const std::lock_guard<std::mutex> lock(m_shared->mutex);
    return m_shared->queue.paths();
}

bool ThumbnailWorker::idle() const {
    const std::lock_guard<std::mutex> lock(m_shared->mutex);
    return m_shared->queue.empty() && m_shared->inHand.empty() && m_shared->awaitingStore.empty();
}

void ThumbnailWorker::Shared::run(std::size_t index) {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        const std::string* next = nullptr;
        wake.wait(lock, [&] {
            next = stopped ? nullptr : queue.firstExcept(inHand);
            return stopped || next != nullptr;
        });
        if (stopped) {
            break;
        }
        // The path stays queued while it is made, so a request for it meanwhile is not doubled.
        const std::string path = *next;
        const auto found = requests.find(path);
        if (found == requests.end()) {
            queue.remove(path);
            continue;
        }
        const Request request = found->second;
        const std::uint64_t madeFor = handOver;
        const unsigned width = boxWidth;
        const unsigned height = boxHeight;
        inHand.insert(path);
        places[index] = Place::Making;
        lock.unlock();

        ThumbnailResult result;
        bool attempted = false;
        {
            Thumbnail made =
                request.source.empty() ? Thumbnail{} : maker(request.source, width, height);
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
        result.handOver = madeFor;

        lock.lock();
        places[index] = Place::Idle;
        if (stopped) {
            if (strays[index]) {
                --g_strayThreads;
            }
            break;
        }
        if (madeFor != handOver) {
            // Cleared meanwhile: the queue is another folder's now.
            continue;
        }
        inHand.erase(path);
        queue.remove(path);
        requests.erase(path);
        // A file that has gone stays pending.
        if (!attempted || !ready) {
            continue;
        }
        awaitingStore.insert(path);
        places[index] = Place::HandingBack;
        lock.unlock();
        ready(std::move(result));
        lock.lock();
        places[index] = Place::Idle;
        handedBack.notify_all();
    }
}

}  // namespace tarn
