#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "browser/folder_model.h"
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

// A run of item indices, first..last, both included.
struct IndexRange {
    int first = 0;
    int last = -1;
};

// Makes the thumbnails of the items the list is about to show, on a few threads of its own that
// serve one queue. The threads never touch the model: requests carry copies of the item facts
// they need, and each thumbnail goes back as a ThumbnailResult that the model's own thread stores
// with store(). The mutex guards only the request queue and the hand-off state.
//
// Neither a folder switch nor stopping waits for a thread inside a slow decode: its late result
// is dropped, and a stopped worker leaves such a thread to finish on its own (see
// strayThreads()).
//
// Every member function except the Ready callback is for the thread that owns the model.
class ThumbnailWorker {
public:
    using Maker =
        std::function<Thumbnail(const std::string& path, unsigned boxWidth, unsigned boxHeight)>;
    // Runs on a worker thread once per thumbnail made; it must only pass the result on to the
    // owner's thread (never wait for that thread). It is never called once stop() has returned.
    using Ready = std::function<void(ThumbnailResult result)>;

    // One thread per core, at least 2 and at most 8.
    static unsigned defaultThreadCount();
    // Threads of stopped workers that are still inside a thumbnail maker. At process exit they
    // are not waited for (nor are the libraries they are inside shut down under them).
    static int strayThreads();

    // Starts the threads.
    explicit ThumbnailWorker(Ready ready, Maker maker = makeFileThumbnail,
                             unsigned threads = defaultThreadCount());
    ~ThumbnailWorker();
    ThumbnailWorker(const ThumbnailWorker&) = delete;
    ThumbnailWorker& operator=(const ThumbnailWorker&) = delete;

    // Ends the threads; no request is queued afterwards, and no result is handed back. Waits for
    // the threads that are idle or handing back, not for those inside the maker.
    void stop();

    // Queues the pending items of the ranges (cut to the model) ahead of older requests, the
    // first range first. An item whose thumbnail is queued, being made or on its way back is not
    // queued again.
    void request(const FolderModel& model, const std::vector<IndexRange>& ranges);
    void request(const FolderModel& model, int first, int last) {
        request(model, {IndexRange{first, last}});
    }
    // Empties the queue; no result of what was asked before can be stored from now on. Call
    // before the model is emptied for another folder. Does not wait for the threads.
    void clear();
    // The box of the thumbnails made from now on.
    void setBox(unsigned width, unsigned height);
    // Puts a result into the model when its item is still there unchanged (same path, last
    // write and size) and the result is of the current hand-over. Returns the item's index, or
    // -1 when the result was dropped.
    int store(FolderModel& model, ThumbnailResult result);

    // The paths waiting or being made, in the order they are served.
    std::vector<std::string> queued() const;
    // True when nothing of the current hand-over is queued, being made or on its way back.
    bool idle() const;

private:
    struct Shared;

    std::shared_ptr<Shared> m_shared;
    std::vector<std::thread> m_threads;
};

}  // namespace tarn
