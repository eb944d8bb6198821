#include "viewer/undo_history.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <new>
#include <random>
#include <set>
#include <system_error>
#include <utility>

#include "common/atomic_file.h"
#include "common/path_rules.h"

namespace tarn {

namespace {

constexpr std::size_t kNameLength = 12;

std::mutex& nameMutex() {
    static std::mutex mutex;
    return mutex;
}

// Names handed out and not yet given back, across every history of the process: a step whose
// writer has not run yet has no file, so the folder alone cannot tell that its name is taken.
std::set<std::string>& namesInUse() {
    static std::set<std::string> names;
    return names;
}

// The restored copy takes the open image's file format along, so the document keeps saving in
// the format it was loaded from.
class RestoredImage : public fipSuperImage {
public:
    void setFormat(FREE_IMAGE_FORMAT fif) { _fif = fif; }
};

void freeSnapshot(UndoEntry& entry) {
    std::vector<std::uint8_t>().swap(entry.snapshot);
}

// Runs on the writer thread; touches only its own entry.
void writeEntry(UndoEntry* entry, std::string folder) {
    try {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (!ec && std::filesystem::is_directory(folder, ec) && entry->size != 0 &&
            entry->snapshot.size() == entry->size) {
            entry->checksum = undo_detail::checksum(entry->snapshot.data(), entry->size);
            // A failed or interrupted write leaves no file, never a short one.
            entry->stored =
                writeBytesAtomically(entry->filePath, entry->snapshot.data(), entry->size);
        }
    } catch (const std::exception&) {
        entry->stored = false;
    }
    freeSnapshot(*entry);
}

}  // namespace

namespace undo_detail {

std::string drawSnapshotName() {
    static std::mt19937_64 generator = [] {
        std::random_device device;
        const auto now =
            static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        std::seed_seq seed{device(), device(), static_cast<unsigned>(now),
                           static_cast<unsigned>(now >> 32)};
        return std::mt19937_64(seed);
    }();
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    std::uniform_int_distribution<int> letter(0, 25);
    std::string name(kNameLength, 'A');
    for (char& c : name) {
        c = static_cast<char>('A' + letter(generator));
    }
    return name;
}

std::string reserveSnapshotPath(const std::string& folder,
                                const std::function<std::string()>& draw) {
    const std::lock_guard lock(nameMutex());
    for (;;) {
        const std::string path = joinPath(folder, draw());
        std::error_code ec;
        // Anything but a clear "no such file" counts as taken.
        const auto status = std::filesystem::symlink_status(path, ec);
        const bool onDisk = status.type() != std::filesystem::file_type::not_found;
        if (!onDisk && namesInUse().insert(path).second) {
            return path;
        }
    }
}

void releaseSnapshotName(const std::string& path) {
    const std::lock_guard lock(nameMutex());
    namesInUse().erase(path);
}

std::uint64_t checksum(const std::uint8_t* data, std::size_t size) {
    constexpr std::uint64_t kPrime = 0x100000001b3ULL;
    std::uint64_t hash = 0xcbf29ce484222325ULL ^ size;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, sizeof word);
        hash = (hash ^ word) * kPrime;
        hash ^= hash >> 29;
    }
    for (; i < size; ++i) {
        hash = (hash ^ data[i]) * kPrime;
    }
    return hash;
}

}  // namespace undo_detail

UndoEntry::~UndoEntry() {
    if (!filePath.empty()) {
        undo_detail::releaseSnapshotName(filePath);
    }
}

UndoHistory::UndoHistory(std::string tempFolder) : m_tempFolder(std::move(tempFolder)) {}

UndoHistory::~UndoHistory() {
    clear();
}

void UndoHistory::waitForWriter() {
    if (m_writer.joinable()) {
        m_writer.join();
    }
}

bool UndoHistory::canUndo() const {
    return m_count > 0 && m_slots[m_count - 1] != nullptr;
}

bool UndoHistory::canRedo() const {
    return m_count != kSlots && m_slots[m_count] != nullptr;
}

std::unique_ptr<UndoEntry> UndoHistory::makeEntry(const fipSuperImage& image) {
    try {
        auto entry = std::make_unique<UndoEntry>();
        entry->snapshot = image.copyToHandle();
        entry->size = entry->snapshot.size();
        if (entry->size == 0) {
            return nullptr;
        }
        entry->filePath = undo_detail::reserveSnapshotPath(
            m_tempFolder, [] { return undo_detail::drawSnapshotName(); });
        return entry;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void UndoHistory::startWriter(UndoEntry& entry) {
    waitForWriter();
    try {
        m_writer = std::thread(writeEntry, &entry, m_tempFolder);
    } catch (const std::system_error&) {
        // No thread to be had: store it here rather than lose the step.
        writeEntry(&entry, m_tempFolder);
    }
}

bool UndoHistory::push(const fipSuperImage& image) {
    if (!image.isValid()) {
        return false;
    }
    record(snapshot(image));
    return true;
}

std::unique_ptr<UndoEntry> UndoHistory::snapshot(const fipSuperImage& image) {
    return image.isValid() ? makeEntry(image) : nullptr;
}

void UndoHistory::record(std::unique_ptr<UndoEntry> entry) {
    waitForWriter();
    if (m_count == kSlots) {
        deleteEntry(0);
        closeGap(0);
        m_count = kSlots - 1;
    }
    for (int slot = m_count; slot < kSlots; ++slot) {
        deleteEntry(slot);
    }
    if (entry) {
        m_slots[m_count] = std::move(entry);
        startWriter(*m_slots[m_count]);
        ++m_count;
    }
}

bool UndoHistory::readBack(UndoEntry& entry, fipSuperImage& restored) {
    waitForWriter();
    if (!entry.stored || entry.size == 0) {
        return false;
    }
    try {
        std::error_code ec;
        const auto onDisk = std::filesystem::file_size(entry.filePath, ec);
        if (ec || onDisk != entry.size) {
            return false;
        }
        std::vector<std::uint8_t> bytes(entry.size);
        std::ifstream in(entry.filePath, std::ios::binary);
        if (!in.read(reinterpret_cast<char*>(bytes.data()),
                     static_cast<std::streamsize>(bytes.size()))) {
            return false;
        }
        if (undo_detail::checksum(bytes.data(), bytes.size()) != entry.checksum) {
            return false;
        }
        return restored.copyFromHandle(bytes) != FALSE;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void UndoHistory::deleteEntry(int slot) {
    waitForWriter();
    std::unique_ptr<UndoEntry>& entry = m_slots[slot];
    if (!entry) {
        return;
    }
    freeSnapshot(*entry);
    std::error_code ec;
    std::filesystem::remove(entry->filePath, ec);
    entry.reset();
}

void UndoHistory::closeGap(int slot) {
    for (int i = slot; i + 1 < kSlots; ++i) {
        m_slots[i] = std::move(m_slots[i + 1]);
    }
    m_slots[kSlots - 1].reset();
}

bool UndoHistory::restore(fipSuperImage& image, int slot, bool isRedo) {
    RestoredImage restored;
    bool ok = readBack(*m_slots[slot], restored);
    deleteEntry(slot);
    if (ok) {
        auto entry = makeEntry(image);
        restored.setFormat(image.getFIF());
        // The snapshot holds pixels only; the file's tags (EXIF, comments) stay with the image.
        FreeImage_CloneMetadata(restored, image);
        if (entry && image.replace(restored)) {
            m_slots[slot] = std::move(entry);
            startWriter(*m_slots[slot]);
            if (isRedo) {
                ++m_count;
            }
            return true;
        }
    }
    // The step is used up; the steps behind it move down so that they stay reachable.
    closeGap(slot);
    return false;
}

bool UndoHistory::undo(fipSuperImage& image) {
    if (!image.isValid()) {
        return false;
    }
    waitForWriter();
    if (!canUndo()) {
        return false;
    }
    --m_count;
    return restore(image, m_count, false);
}

bool UndoHistory::redo(fipSuperImage& image) {
    if (!image.isValid()) {
        return false;
    }
    waitForWriter();
    if (!canRedo()) {
        return false;
    }
    return restore(image, m_count, true);
}

void UndoHistory::clear() {
    waitForWriter();
    for (auto& entry : m_slots) {
        if (entry) {
            freeSnapshot(*entry);
            std::error_code ec;
            std::filesystem::remove(entry->filePath, ec);
            entry.reset();
        }
    }
    m_count = 0;
}

std::vector<std::string> UndoHistory::filePaths() {
    waitForWriter();
    std::vector<std::string> paths;
    for (const auto& entry : m_slots) {
        if (entry) {
            paths.push_back(entry->filePath);
        }
    }
    return paths;
}

}  // namespace tarn

namespace tarn {

std::size_t UndoHistory::bytesInMemory() {
    waitForWriter();
    std::size_t bytes = 0;
    for (const auto& entry : m_slots) {
        if (entry) {
            bytes += entry->snapshot.capacity();
        }
    }
    return bytes;
}

}  // namespace tarn
