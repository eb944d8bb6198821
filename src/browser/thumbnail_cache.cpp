#include "browser/thumbnail_cache.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "common/atomic_file.h"
#include "common/program_name.h"
#include "imaging/png_text.h"
#include "platform/file_uri.h"

namespace tarn {

namespace {

namespace fs = std::filesystem;

// Cached pictures are at most 256 px a side; anything much bigger is not a thumbnail.
constexpr unsigned kMaxEntrySide = 512;
constexpr off_t kMaxEntryBytes = 4 * 1024 * 1024;
// Pictures waiting to be written take at most 8 MB: 128 normal entries (a first screen at the
// usual box) or 32 large ones.
constexpr std::size_t kMaxQueuedPixels = std::size_t{1} << 21;

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return ec ? std::string() : absolute.lexically_normal().string();
}

bool isInside(const std::string& path, const std::string& folder) {
    return !folder.empty() && path.size() > folder.size() &&
           path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
}

// The bytes of an entry that is a regular file of ours and of a sane size; links are not followed.
bool readEntryBytes(const std::string& file, std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
              st.st_size > 0 && st.st_size <= kMaxEntryBytes;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(st.st_size));
        std::size_t done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            ok = got > 0;
            done += ok ? static_cast<std::size_t>(got) : 0;
        }
    }
    ::close(fd);
    return ok;
}

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

// A PNG whose header gives a small picture; checked before the decoder sees any of it.
bool isSmallPng(const std::vector<std::uint8_t>& bytes) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 33 || !std::equal(kSignature, kSignature + 8, bytes.begin()) ||
        std::string(bytes.begin() + 12, bytes.begin() + 16) != "IHDR") {
        return false;
    }
    const std::uint32_t width = bigEndian32(bytes.data() + 16);
    const std::uint32_t height = bigEndian32(bytes.data() + 20);
    return width > 0 && height > 0 && width <= kMaxEntrySide && height <= kMaxEntrySide;
}

std::string textKey(FIBITMAP* dib, const char* key) {
    FITAG* tag = nullptr;
    if (!FreeImage_GetMetadata(FIMD_COMMENTS, dib, key, &tag) || tag == nullptr ||
        FreeImage_GetTagValue(tag) == nullptr) {
        return {};
    }
    std::string value(static_cast<const char*>(FreeImage_GetTagValue(tag)),
                      FreeImage_GetTagLength(tag));
    value.erase(std::find(value.begin(), value.end(), '\0'), value.end());
    return value;
}

template <typename T>
std::optional<T> number(const std::string& text) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// The entry's picture when it belongs to this URI and this last write.
FreeImageBitmap loadEntry(const std::string& file, const std::string& uri,
                          std::int64_t modifiedTime) {
    std::vector<std::uint8_t> bytes;
    if (!readEntryBytes(file, bytes) || !isSmallPng(bytes)) {
        return nullptr;
    }
    FIMEMORY* memory = FreeImage_OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size()));
    if (memory == nullptr) {
        return nullptr;
    }
    FreeImageBitmap dib(FreeImage_LoadFromMemory(FIF_PNG, memory, PNG_DEFAULT));
    FreeImage_CloseMemory(memory);
    if (!dib || textKey(dib.get(), "Thumb::URI") != uri ||
        number<std::int64_t>(textKey(dib.get(), "Thumb::MTime")) != modifiedTime) {
        return nullptr;
    }
    return dib;
}

// Makes the missing folders of the path, for this user only.
bool makeFolders(const fs::path& folder) {
    fs::path partial;
    for (const fs::path& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::uint8_t> encodePng(FIBITMAP* dib) {
    std::vector<std::uint8_t> bytes;
    FIMEMORY* memory = FreeImage_OpenMemory();
    BYTE* data = nullptr;
    DWORD size = 0;
    if (memory != nullptr && FreeImage_SaveToMemory(FIF_PNG, dib, memory, PNG_DEFAULT) &&
        FreeImage_AcquireMemory(memory, &data, &size)) {
        bytes.assign(data, data + size);
    }
    FreeImage_CloseMemory(memory);
    return bytes;
}

}  // namespace

std::string ThumbnailCache::defaultRoot() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') {
        return (fs::path(cache) / "thumbnails").lexically_normal().string();
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return (fs::path(home) / ".cache/thumbnails").lexically_normal().string();
    }
    return {};
}

ThumbnailCache::ThumbnailCache(std::string root)
    : m_root(root.empty() ? std::string() : absolutePath(root)) {
    if (!m_root.empty()) {
        m_thread = std::thread([this] { run(); });
    }
}

ThumbnailCache::~ThumbnailCache() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

unsigned ThumbnailCache::cacheSizeFor(const std::string& path, unsigned boxWidth,
                                      unsigned boxHeight) const {
    const unsigned side = std::max(boxWidth, boxHeight);
    if (m_root.empty() || side == 0 || side > kLargeSize) {
        return 0;
    }
    // Thumbnails of the cache's own pictures would feed on themselves.
    const std::string absolute = absolutePath(path);
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(absolute, ec);
    const fs::path realRoot = fs::weakly_canonical(m_root, ec);
    if (absolute.empty() || isInside(absolute, m_root) ||
        isInside(real.string(), realRoot.string())) {
        return 0;
    }
    return side <= kNormalSize ? kNormalSize : kLargeSize;
}

std::string ThumbnailCache::entryPath(const std::string& path, unsigned cacheSize) const {
    const std::string uri = platform::fileUri(absolutePath(path));
    if (uri.empty() || m_root.empty()) {
        return {};
    }
    const char* folder = cacheSize <= kNormalSize ? "normal" : "large";
    return m_root + "/" + folder + "/" + platform::md5Hex(uri) + ".png";
}

std::string ThumbnailCache::failEntryPath(const std::string& path) const {
    const std::string uri = platform::fileUri(absolutePath(path));
    if (uri.empty() || m_root.empty()) {
        return {};
    }
    return m_root + "/fail/tarnview-" + std::string(kProgramVersion) + "/" + platform::md5Hex(uri) +
           ".png";
}

std::optional<Thumbnail> ThumbnailCache::read(const std::string& path, std::int64_t modifiedTime,
                                              unsigned boxWidth, unsigned boxHeight) const {
    const unsigned cacheSize = cacheSizeFor(path, boxWidth, boxHeight);
    const std::string uri = platform::fileUri(absolutePath(path));
    if (cacheSize == 0 || uri.empty()) {
        return std::nullopt;
    }
    if (FreeImageBitmap dib = loadEntry(entryPath(path, cacheSize), uri, modifiedTime)) {
        Thumbnail result;
        result.attempted = true;
        result.photoWidth = number<unsigned>(textKey(dib.get(), "Thumb::Image::Width")).value_or(0);
        result.photoHeight =
            number<unsigned>(textKey(dib.get(), "Thumb::Image::Height")).value_or(0);
        if (result.photoWidth == 0 || result.photoHeight == 0) {
            result.photoWidth = result.photoHeight = 0;
        } else {
            // Another program's picture made smaller than this size would show too small.
            unsigned fitWidth = 0;
            unsigned fitHeight = 0;
            fitInside(result.photoWidth, result.photoHeight, cacheSize, cacheSize, fitWidth,
                      fitHeight);
            const unsigned side =
                std::max(FreeImage_GetWidth(dib.get()), FreeImage_GetHeight(dib.get()));
            if (side + 2 < std::max(fitWidth, fitHeight)) {
                return std::nullopt;
            }
        }
        result.image = dib.release();
        if (!fitIntoBox(result, boxWidth, boxHeight) ||
            (result.image.getBPP() != 32 && !result.image.convertTo32Bits())) {
            return std::nullopt;
        }
        return result;
    }
    if (loadEntry(failEntryPath(path), uri, modifiedTime)) {
        Thumbnail failed;
        failed.attempted = true;
        return failed;
    }
    return std::nullopt;
}

bool ThumbnailCache::fitIntoBox(Thumbnail& thumbnail, unsigned boxWidth, unsigned boxHeight) {
    fipSuperImage& image = thumbnail.image;
    if (!image.isValid()) {
        return false;
    }
    unsigned fitWidth = 0;
    unsigned fitHeight = 0;
    if (thumbnail.photoWidth > 0 && thumbnail.photoHeight > 0) {
        fitInside(thumbnail.photoWidth, thumbnail.photoHeight, boxWidth, boxHeight, fitWidth,
                  fitHeight);
    }
    if (fitWidth == 0 || fitWidth > image.getWidth() || fitHeight > image.getHeight() ||
        FreeImage_GetImageType(image) != FIT_BITMAP) {
        return image.makeThumbnail(boxWidth, boxHeight, TRUE) != FALSE;
    }
    if (fitWidth == image.getWidth() && fitHeight == image.getHeight()) {
        return true;
    }
    FIBITMAP* scaled = FreeImage_Rescale(image, static_cast<int>(fitWidth),
                                         static_cast<int>(fitHeight), FILTER_BILINEAR);
    if (scaled == nullptr) {
        return false;
    }
    image = scaled;
    return true;
}

void ThumbnailCache::write(const std::string& path, std::int64_t modifiedTime,
                           std::uint64_t fileSize, unsigned cacheSize, const Thumbnail& thumbnail) {
    if (m_root.empty() || (cacheSize != kNormalSize && cacheSize != kLargeSize)) {
        return;
    }
    Entry entry;
    entry.path = absolutePath(path);
    entry.modifiedTime = modifiedTime;
    entry.fileSize = fileSize;
    entry.cacheSize = cacheSize;
    entry.photoWidth = thumbnail.photoWidth;
    entry.photoHeight = thumbnail.photoHeight;
    if (thumbnail.image.isValid()) {
        // Queued as it will be written, which for opaque pictures is a quarter smaller. The
        // library reads the bitmap only.
        FIBITMAP* const made = const_cast<fipSuperImage&>(thumbnail.image);
        const unsigned bpp = FreeImage_GetBPP(made);
        const bool keptAsIs = bpp == 24 || (bpp == 32 && FreeImage_IsTransparent(made));
        entry.image.reset(keptAsIs ? FreeImage_Clone(made) : FreeImage_ConvertTo24Bits(made));
        if (!entry.image) {
            return;
        }
    }
    std::optional<Entry> overflow;
    {
        const std::lock_guard lock(m_mutex);
        if (m_stop) {
            return;
        }
        // The writer runs only when the makers leave a core free, which on a busy machine is
        // rarely; rather than grow or drop entries, the maker writes the oldest one itself.
        if (m_queue.size() >= kMaxQueuedPixels / (std::size_t{cacheSize} * cacheSize)) {
            overflow = std::move(m_queue.front());
            m_queue.pop_front();
            ++m_writing;
        }
        m_queue.push_back(std::move(entry));
    }
    m_wake.notify_one();
    if (overflow) {
        store(*overflow);
        const std::lock_guard lock(m_mutex);
        --m_writing;
        m_written.notify_all();
    }
}

void ThumbnailCache::waitUntilWritten() {
    std::unique_lock lock(m_mutex);
    m_written.wait(lock, [this] { return (m_queue.empty() && m_writing == 0) || m_stop; });
}

void ThumbnailCache::run() {
    // Writing the cache must never slow the list down.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 19);
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_stop) {
            break;
        }
        Entry entry = std::move(m_queue.front());
        m_queue.pop_front();
        ++m_writing;
        lock.unlock();
        store(entry);
        lock.lock();
        --m_writing;
        m_written.notify_all();
    }
    m_written.notify_all();
}

void ThumbnailCache::store(Entry& entry) const {
    const std::string target =
        entry.image ? entryPath(entry.path, entry.cacheSize) : failEntryPath(entry.path);
    if (target.empty() || !makeFolders(fs::path(target).parent_path())) {
        return;
    }
    // A link or a folder in the entry's place is left alone.
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        return;
    }
    FreeImageBitmap dib =
        entry.image ? std::move(entry.image) : FreeImageBitmap(FreeImage_Allocate(1, 1, 32));
    if (!dib) {
        return;
    }
    std::vector<std::pair<std::string, std::string>> keys{
        {"Thumb::URI", platform::fileUri(entry.path)},
        {"Thumb::MTime", std::to_string(entry.modifiedTime)},
        {"Thumb::Size", std::to_string(entry.fileSize)},
        {"Software", "tarnview " + std::string(kProgramVersion)},
    };
    if (entry.photoWidth > 0 && entry.photoHeight > 0) {
        keys.emplace_back("Thumb::Image::Width", std::to_string(entry.photoWidth));
        keys.emplace_back("Thumb::Image::Height", std::to_string(entry.photoHeight));
    }
    const std::vector<std::uint8_t> png = withPngText(encodePng(dib.get()), keys);
    if (png.empty()) {
        return;
    }
    writeFileAtomically(target, [&](const std::string& temp) {
        // Private before a byte is written: the temporary file starts with the umask's mode.
        if (::chmod(temp.c_str(), 0600) != 0) {
            return false;
        }
        std::FILE* file = std::fopen(temp.c_str(), "wb");
        if (file == nullptr) {
            return false;
        }
        const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
        return std::fclose(file) == 0 && written;
    });
}

}  // namespace tarn
