#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The file-system steps the file operations are built from. Paths are not followed when they
// are symbolic links.
namespace tarn::fileops {

// Told how many bytes of the current file are written; returns false to stop the copy.
using ByteProgress = std::function<bool(std::uint64_t bytesWritten)>;

enum class CopyStatus { Done, Failed, Stopped };

// Copies a regular file's bytes, mode and times into a temporary file in the target's folder,
// checks its size and only then renames it to target. An existing target is replaced only when
// replace is set. On failure or stop the temporary file is removed and the target is untouched.
CopyStatus copyRegularFile(const std::string& source, const struct stat& sourceStat,
                           const std::string& target, bool replace, const ByteProgress& progress,
                           std::string* reason);

// Makes target a symbolic link with the same contents as source (the link, not what it leads to).
bool copySymlink(const std::string& source, const std::string& target, bool replace,
                 std::string* reason);

// Renames from to to, refusing to replace an existing to unless replace; 0 or the errno.
int renameItem(const std::string& from, const std::string& to, bool replace);

// Removes a file, a link or a whole folder; false with the reason of the first failure.
bool removeTree(const std::string& path, std::string* reason);

struct TreeSize {
    int files = 0;  // everything but folders
    std::uint64_t bytes = 0;
};
// What lies at path (nothing when it is missing).
TreeSize measureTree(const std::string& path);

// The names in a folder, without "." and ".."; false with the reason when it cannot be read.
bool listFolder(const std::string& path, std::vector<std::string>* names, std::string* reason);

std::string errorText(int errorNumber);

}  // namespace tarn::fileops
