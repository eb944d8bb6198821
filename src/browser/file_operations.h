#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarn {

// Trash = delete with undo (the user's Trash); Delete = permanent removal.
enum class FileOpKind { Copy, Move, Trash, Delete };

struct FileOpProgress {
    int filesDone = 0;
    int filesTotal = 0;
    std::uint64_t bytesDone = 0;
    std::uint64_t bytesTotal = 0;
    std::string currentName;
};

enum class ConflictChoice { Replace, Skip, Cancel };

struct ConflictAnswer {
    ConflictChoice choice = ConflictChoice::Cancel;
    bool applyToAll = false;
};

// reason is plain text such as strerror's.
struct FileOpError {
    std::string path;
    std::string reason;
};

// Called on the worker thread that runs the operation.
class FileOpObserver {
public:
    virtual ~FileOpObserver() = default;
    virtual ConflictAnswer askConflict(const std::string& source, const std::string& target) = 0;
    virtual void progress(const FileOpProgress&) {}
    virtual bool cancelRequested() const { return false; }
};

// quiet: no questions (a name that exists is replaced) and no error UI; errors are still returned.
struct FileOpRequest {
    FileOpKind kind = FileOpKind::Copy;
    std::vector<std::string> sources;
    std::string targetFolder;
    bool quiet = false;
};

struct FileOpResult {
    bool cancelled = false;
    std::vector<FileOpError> errors;
    std::vector<std::string> targets;  // items made at the target, or items removed
    bool ok() const { return !cancelled && errors.empty(); }
};

// Runs the whole operation on the calling thread (meant for a worker thread). A copied file
// appears under its name only when complete; a move across file systems removes the original
// only after its copy is complete. Cancel is honoured between files and inside big ones (the
// file being copied is rolled back).
FileOpResult runFileOperation(const FileOpRequest& request, FileOpObserver& observer);

// Checked before starting: a message naming the file and the reason, or empty when it may run.
// Refuses a copy or move of a folder into itself or below it, a missing target folder and an
// empty source list.
std::string refusalOf(const FileOpRequest& request);

// "New Folder", else "New Folder (2)", "New Folder (3)", ...: the first not equal (ASCII
// case-insensitive) to any existing name; after each bump the search starts again.
std::string uniqueNewFolderName(const std::vector<std::string>& existingNames);

// Creates parent/name (never replacing anything); false with the reason.
bool createFolder(const std::string& parent, const std::string& name, std::string* error);

}  // namespace tarn
