#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "viewer/image_loading.h"

namespace tarn {

// The pre-load slot of the image view and the slide show: one file read ahead by one loader
// thread at the lowest priority, or a copy of the image just left so that going back is
// immediate. Used from the user-interface thread; the loader only fills the slot's result and
// then calls the completion callback (which must only post a message).
class PrefetchSlot {
public:
    PrefetchSlot() = default;
    // Waits for a running loader.
    ~PrefetchSlot();
    PrefetchSlot(const PrefetchSlot&) = delete;
    PrefetchSlot& operator=(const PrefetchSlot&) = delete;

    // Pre-loads path at page: waits for a running loader; nothing more when the slot already
    // holds (or is reading) that path and page; otherwise empties the slot and starts the loader.
    // done runs on the loader thread after the result is stored.
    void preload(const std::string& path, int page, std::function<void()> done = {});

    // The image for path and page: waits for a loader reading exactly that, then hands the
    // result over and empties the slot. Nothing when the slot holds something else.
    std::optional<LoadedImage> take(const std::string& path, int page);

    // Keeps a copy of the image being left, for an immediate return. Only when no loader runs
    // (returns false and keeps nothing otherwise).
    bool keep(const std::string& path, int page, int pageCount,
              std::unique_ptr<fipSuperImage> image);

    // Empties the slot. Refused (false) while the loader is still producing its image.
    bool discard();

    // Waits for a running loader to end.
    void wait();
    bool loading() const;
    // The path and page the slot holds or is reading; empty path when none.
    std::string path() const;
    int page() const;
    // Whether a finished image (possibly none, for an unreadable file) is held.
    bool hasResult() const;

private:
    void joinFinished();

    mutable std::mutex m_mutex;
    std::string m_path;
    int m_page = 0;
    LoadedImage m_result;
    bool m_finished = false;  // m_result is the outcome for m_path/m_page
    bool m_running = false;
    std::thread m_loader;
};

}  // namespace tarn
