#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "imaging/freeimage_ptr.h"
#include "imaging/thumbnail_maker.h"

namespace tarn {

// The desktop's shared thumbnail cache, so that a folder seen by this program, a file manager or
// another viewer shows its thumbnails at once. Entries are PNGs named after the MD5 of the file's
// URI, in normal/ (128 px) or large/ (256 px), carrying the URI and the file's last write; files
// that could not be thumbnailed get an entry under fail/. Anything odd about an entry (damaged,
// too big, not ours, stale) makes it a miss, never an error.
//
// read() may be called from any number of threads at once. Writes go to a queue that a thread
// of low priority of its own works off.
class ThumbnailCache {
public:
    static constexpr unsigned kNormalSize = 128;
    static constexpr unsigned kLargeSize = 256;

    // $XDG_CACHE_HOME/thumbnails, else ~/.cache/thumbnails; empty when neither is known.
    static std::string defaultRoot();

    // An empty root reads and writes nothing.
    explicit ThumbnailCache(std::string root);
    // Finishes the write in hand; the queued ones are dropped.
    ~ThumbnailCache();
    ThumbnailCache(const ThumbnailCache&) = delete;
    ThumbnailCache& operator=(const ThumbnailCache&) = delete;

    const std::string& root() const { return m_root; }

    // The side of the cached pictures that serve the box (the smallest not below it), or 0 when
    // the cache does not serve it: a box above 256, which they would have to be scaled up to,
    // or a file inside the cache itself.
    unsigned cacheSizeFor(const std::string& path, unsigned boxWidth, unsigned boxHeight) const;

    // The cached thumbnail of the file, fitted into the box (never enlarged), when there is one
    // valid for the file's last write (seconds since 1970). A failure entry gives a Thumbnail
    // without image. Nothing when the thumbnail is to be made.
    std::optional<Thumbnail> read(const std::string& path, std::int64_t modifiedTime,
                                  unsigned boxWidth, unsigned boxHeight) const;

    // Queues the entry of a thumbnail made at cacheSize; one without image is written as a
    // failure entry. Returns at once, unless the queue is full: then the caller writes the
    // oldest entry first.
    void write(const std::string& path, std::int64_t modifiedTime, std::uint64_t fileSize,
               unsigned cacheSize, const Thumbnail& thumbnail);

    // Scales a thumbnail of a cache size down into the box, to the size the picture itself would
    // take there when its size is known (so no rounding is compounded). False when it fails.
    static bool fitIntoBox(Thumbnail& thumbnail, unsigned boxWidth, unsigned boxHeight);

    // Waits until every queued entry is written (or given up).
    void waitUntilWritten();

    // Where the entries of the file go (empty when the path has no URI).
    std::string entryPath(const std::string& path, unsigned cacheSize) const;
    std::string failEntryPath(const std::string& path) const;

private:
    struct Entry {
        std::string path;
        std::int64_t modifiedTime = 0;
        std::uint64_t fileSize = 0;
        unsigned cacheSize = 0;
        FreeImageBitmap image;  // as it is written: 24-bit unless transparent; null for a failure
                                // entry
        unsigned photoWidth = 0;
        unsigned photoHeight = 0;
    };

    void run();
    void store(Entry& entry) const;

    const std::string m_root;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_written;
    std::deque<Entry> m_queue;
    // Entries being written, by the writer or by a caller of a full queue.
    int m_writing = 0;
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace tarn
