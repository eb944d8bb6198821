#pragma once

#include <memory>
#include <string>

#include "app/settings.h"
#include "browser/thumbnail_cache.h"
#include "browser/thumbnail_worker.h"

namespace tarn {

// Makes the list's thumbnails through the shared cache: a valid cached one is used; else the
// thumbnail is made at the cache's size (128 or 256 px), queued for the cache and fitted to the
// box. Files written in the last two seconds bypass the cache. Safe to call from several threads at
// once; copies share the cache.
class CachedThumbnailMaker {
public:
    explicit CachedThumbnailMaker(std::shared_ptr<ThumbnailCache> cache);

    Thumbnail operator()(const std::string& path, unsigned boxWidth, unsigned boxHeight) const;

private:
    std::shared_ptr<ThumbnailCache> m_cache;
};

// The maker of the list's thumbnails: through the cache at cacheRoot when the settings allow it,
// else straight from the files.
ThumbnailWorker::Maker listThumbnailMaker(const SettingsStore& settings,
                                          const std::string& cacheRoot);

}  // namespace tarn
