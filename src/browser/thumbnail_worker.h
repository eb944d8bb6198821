#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "browser/folder_model.h"
#include "browser/thumbnail_queue.h"
#include "imaging/thumbnail_maker.h"

namespace tarn {

// Makes the thumbnails of the items the list is about to show, on its own thread. It owns the
// list mutex, which guards the model (item order, thumbnails, photo sizes, pending flags) and
// the request queue: the owner holds it while it changes the model or reads thumbnails. The
// slow image work runs outside the mutex.
class ThumbnailWorker {
public:
    using Maker =
        std::function<Thumbnail(const std::string& path, unsigned boxWidth, unsigned boxHeight)>;
    // Runs on the worker thread with the mutex held, once per thumbnail stored; it must only
    // post (never wait for the owner's thread).
    using Ready = std::function<void(int index)>;

    // Starts the thread. The model must outlive the worker.
    ThumbnailWorker(FolderModel& model, Ready ready, Maker maker = makeFileThumbnail);
    ~ThumbnailWorker();
    ThumbnailWorker(const ThumbnailWorker&) = delete;
    ThumbnailWorker& operator=(const ThumbnailWorker&) = delete;

    std::mutex& mutex() { return m_mutex; }

    // Ends the thread after the thumbnail in hand; no request is queued afterwards. Waits.
    void stop();

    // The calls below need the mutex held by the caller.

    // Queues the pending items first..last (cut to the model) ahead of older requests.
    void requestLocked(int first, int last);
    // Empties the queue and waits until the worker holds nothing: from then on no thumbnail of
    // the old items can be stored. Call before the model is emptied for another folder.
    void clearLocked(std::unique_lock<std::mutex>& lock);
    // The box of the thumbnails made from now on.
    void setBoxLocked(unsigned width, unsigned height);
    std::vector<std::string> queuedLocked() const { return m_queue.paths(); }
    // True when nothing is queued and no thumbnail is being made.
    bool idleLocked() const { return m_queue.empty() && !m_busy; }

private:
    void run();

    FolderModel& m_model;
    const Ready m_ready;
    const Maker m_maker;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_cleared;
    ThumbnailQueue m_queue;
    unsigned m_boxWidth = 85;
    unsigned m_boxHeight = 85;
    bool m_stop = false;
    bool m_clearRequest = false;
    bool m_busy = false;
    std::thread m_thread;
};

}  // namespace tarn
