#include "browser/cached_thumbnail_maker.h"

#include <sys/stat.h>

#include <ctime>
#include <utility>

namespace tarn {

namespace {

constexpr std::int64_t kRecentSeconds = 2;

}  // namespace

CachedThumbnailMaker::CachedThumbnailMaker(std::shared_ptr<ThumbnailCache> cache)
    : m_cache(std::move(cache)) {}

Thumbnail CachedThumbnailMaker::operator()(const std::string& path, unsigned boxWidth,
                                           unsigned boxHeight) const {
    // The last write is taken before the picture is read: a change in between leaves an entry
    // older than the file, which the next visit remakes.
    struct stat st {};
    const unsigned cacheSize = m_cache ? m_cache->cacheSizeFor(path, boxWidth, boxHeight) : 0;
    if (cacheSize == 0 || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return makeFileThumbnail(path, boxWidth, boxHeight);
    }
    // Entries know the last write to the second only: a file written just now may change again
    // within that second, and its entry would then hide the change.
    const std::int64_t modified = st.st_mtim.tv_sec;
    if (modified >= static_cast<std::int64_t>(std::time(nullptr)) - kRecentSeconds) {
        return makeFileThumbnail(path, boxWidth, boxHeight);
    }
    if (std::optional<Thumbnail> cached = m_cache->read(path, modified, boxWidth, boxHeight)) {
        return std::move(*cached);
    }
    // Made at the cache's size, so the entry serves every box up to it. The fast paths decode at
    // the same reduced scale for 128 px as for the list's usual boxes, so this costs little.
    Thumbnail made = makeFileThumbnail(path, cacheSize, cacheSize);
    if (!made.attempted) {
        return made;
    }
    m_cache->write(path, modified, static_cast<std::uint64_t>(st.st_size), cacheSize, made);
    if (made.image.isValid() && !ThumbnailCache::fitIntoBox(made, boxWidth, boxHeight)) {
        made.image.clear();
    }
    return made;
}

ThumbnailWorker::Maker listThumbnailMaker(const SettingsStore& settings,
                                          const std::string& cacheRoot) {
    if (!settings.get(settings::kUseSharedCache) || cacheRoot.empty()) {
        return makeFileThumbnail;
    }
    return CachedThumbnailMaker(std::make_shared<ThumbnailCache>(cacheRoot));
}

}  // namespace tarn
