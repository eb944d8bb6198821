#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "browser/folder_model.h"
#include "browser/thumbnail_queue.h"
#include "imaging/freeimage_ptr.h"
#include "imaging/thumbnail_maker.h"

namespace tarn {

// One thumbnail made on the worker thread, with the facts of its item as it was queued, so the
// owner can tell whether the item is still the one it was made for.
struct ThumbnailResult {
    std::string path;
    // The item's last write and size when it was queued.
    std::int64_t modified = 0;
    std::uint64_t size = 0;
    // Empty when the file could not be read as a picture (its icon shows).
    FreeImageBitmap image;
    // 0 when unknown.
    int photoWidth = 0;
    int photoHeight = 0;
    // The hand-over it belongs to; a result of an earlier folder is never stored.
    std::uint64_t handOver = 0;
};

// Makes the thumbnails of the items the list is about to show, on its own thread. The thread
// never touches the model: requests carry copies of the item facts it needs, and each thumbnail
// goes back as a ThumbnailResult that the model's own thread stores with store(). The mutex
// guards only the request queue and the hand-off state.
//
// Every member function except the Ready callback is for the thread that owns the model.
class ThumbnailWorker {
public:
    using Maker =
        std::function<Thumbnail(const std::string& path, unsigned boxWidth, unsigned boxHeight)>;
    // Runs on the worker thread once per thumbnail made; it must only pass the result on to the
    // owner's thread (never wait for that thread).
    using Ready = std::function<void(ThumbnailResult result)>;

    // Starts the thread.
    explicit ThumbnailWorker(Ready ready, Maker maker = makeFileThumbnail);
    ~ThumbnailWorker();
    ThumbnailWorker(const ThumbnailWorker&) = delete;
    ThumbnailWorker& operator=(const ThumbnailWorker&) = delete;

    // Ends the thread after the thumbnail in hand; no request is queued afterwards. Waits.
    void stop();

    // Queues the pending items first..last (cut to the model) ahead of older requests. An item
    // whose thumbnail is queued, being made or on its way back is not queued again.
    void request(const FolderModel& model, int first, int last);
    // Empties the queue; no result of what was asked before can be stored from now on. Call
    // before the model is emptied for another folder.
    void clear();
    // The box of the thumbnails made from now on.
    void setBox(unsigned width, unsigned height);
    // Puts a result into the model when its item is still there unchanged (same path, last
    // write and size) and the result is of the current hand-over. Returns the item's index, or
    // -1 when the result was dropped.
    int store(FolderModel& model, ThumbnailResult result);

    std::vector<std::string> queued() const;
    // True when nothing is queued, being made or on its way back.
    bool idle() const;

private:
    // What the thread needs of a queued item.
    struct Request {
        std::string source;
        std::int64_t modified = 0;
        std::uint64_t size = 0;
    };

    void run();

    const Ready m_ready;
    const Maker m_maker;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    ThumbnailQueue m_queue;
    std::unordered_map<std::string, Request> m_requests;
    // Paths whose result was handed to Ready and not stored yet.
    std::unordered_set<std::string> m_handedBack;
    std::uint64_t m_handOver = 0;
    unsigned m_boxWidth = 85;
    unsigned m_boxHeight = 85;
    bool m_stop = false;
    bool m_busy = false;
    std::thread m_thread;
};

}  // namespace tarn
