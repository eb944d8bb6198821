#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "imaging/fip_super_image.h"

namespace tarn {

// One undo step: a copy of the image as a packed bitmap, kept in memory only until the writer has
// stored it in its own file.
struct UndoEntry {
    std::string filePath;                // the temporary folder and 12 random capital letters
    std::vector<std::uint8_t> snapshot;  // emptied (and its memory freed) by the writer
    std::size_t size = 0;                // bytes of the snapshot, and of the file
    std::uint64_t checksum = 0;          // of the snapshot, so a damaged file is refused
    bool stored = false;                 // whether the writer completed the file

    UndoEntry() = default;
    UndoEntry(const UndoEntry&) = delete;
    UndoEntry& operator=(const UndoEntry&) = delete;
    // Gives the file name back to the pool of names in use.
    ~UndoEntry();
};

// Up to 20 undo and redo steps of one open image. Each step's copy is written to the temporary
// folder by a background writer, one at a time; every operation first waits for it, so a file is
// never read while it is being written. Used from one thread only.
class UndoHistory {
public:
    static constexpr int kSlots = 20;

    // The folder is created when the first snapshot is written, not before.
    explicit UndoHistory(std::string tempFolder);
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // Records the image before an edit. Fails only for an invalid image; a copy that cannot be
    // made leaves no step and still succeeds.
    bool push(const fipSuperImage& image);
    // The same in two halves, so that an edit that runs out of memory between them leaves the
    // history exactly as it was: the copy of the image before the edit (null when it cannot be
    // made), then, once the edit went through, the step recorded from it.
    std::unique_ptr<UndoEntry> snapshot(const fipSuperImage& image);
    void record(std::unique_ptr<UndoEntry> entry);
    // Replace the image's pixels with the previous or next step. A step whose file is missing or
    // damaged is used up and the image stays as it was (false).
    bool undo(fipSuperImage& image);
    bool redo(fipSuperImage& image);
    bool canUndo() const;
    bool canRedo() const;
    // Deletes every step and its file.
    void clear();

    // Undo steps (slots 0 to count-1).
    int count() const { return m_count; }
    // The file paths of the filled slots, in slot order (after the writer has finished).
    std::vector<std::string> filePaths();
    // Snapshot bytes still held in memory (after the writer has finished).
    std::size_t bytesInMemory();

private:
    void waitForWriter();
    std::unique_ptr<UndoEntry> makeEntry(const fipSuperImage& image);
    void startWriter(UndoEntry& entry);
    bool readBack(UndoEntry& entry, fipSuperImage& restored);
    void deleteEntry(int slot);
    // Closes an empty slot by moving the slots behind it down by one.
    void closeGap(int slot);
    // Shared part of undo and redo: consumes the step in the slot and snapshots the image.
    bool restore(fipSuperImage& image, int slot, bool isRedo);

    std::string m_tempFolder;
    std::array<std::unique_ptr<UndoEntry>, kSlots> m_slots;
    int m_count = 0;
    std::thread m_writer;
};

namespace undo_detail {

// A path in the folder whose 12-letter name is neither a file there nor the name of a step of any
// history of this process; draw gives candidate names. The name stays reserved until
// releaseSnapshotName.
std::string reserveSnapshotPath(const std::string& folder,
                                const std::function<std::string()>& draw);
void releaseSnapshotName(const std::string& path);
// Twelve letters A to Z from the process's one generator.
std::string drawSnapshotName();
std::uint64_t checksum(const std::uint8_t* data, std::size_t size);

}  // namespace undo_detail

}  // namespace tarn
