#include "browser/rename_rules.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/path_rules.h"

namespace tarn {

namespace {

std::string_view trimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

std::string quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

bool sameInode(const std::string& a, const std::string& b) {
    struct stat sa;
    struct stat sb;
    return ::lstat(a.c_str(), &sa) == 0 && ::lstat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// Where the file system has no rename that refuses to replace: a hard link fails on a taken
// name by itself; folders (and file systems without links) check first.
int renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return errno;
    }
    if (::link(from.c_str(), to.c_str()) == 0) {
        if (::unlink(from.c_str()) == 0) {
            return 0;
        }
        const int failed = errno;
        ::unlink(to.c_str());  // the old name stays; drop the second one
        return failed;
    }
    if (errno == EEXIST || errno == ENOENT || errno == ENAMETOOLONG || errno == EACCES) {
        return errno;
    }
    if (exists(to)) {
        return EEXIST;
    }
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

std::string failureText(int code, const std::string& from, const std::string& to) {
    const std::string head = "Cannot rename " + quoted(fileName(from)) + ": ";
    switch (code) {
        case ENAMETOOLONG:
            return head + "the name " + quoted(fileName(to)) + " is too long.";
        case EEXIST:
        case ENOTEMPTY:
            return head + "an item named " + quoted(fileName(to)) + " already exists.";
        case EACCES:
        case EPERM:
            return head + "you have no permission to change the folder " +
                   quoted(parentFolder(from)) + ".";
        case EROFS:
            return head + "the disk that holds it is read-only.";
        case ENOENT:
            return head + "it is no longer there.";
        case EBUSY:
            return head + "it is in use.";
        default:
            return head + std::strerror(code) + ".";
    }
}

}  // namespace

std::string nameShownForEditing(const std::string& path, bool isFolder) {
    const std::string normal = normalizePath(path);
    return isFolder ? fileName(normal) : fileTitle(normal);
}

std::optional<std::string> pathWithName(const std::string& oldPath, std::string_view name,
                                        std::string* refusal) {
    const auto refuse = [&](const char* why) -> std::optional<std::string> {
        if (refusal != nullptr) {
            *refusal = "Cannot rename " + quoted(fileName(normalizePath(oldPath))) + ": " + why;
        }
        return std::nullopt;
    };
    if (name.empty() || name.find_first_not_of('.') == std::string_view::npos) {
        return refuse("a name cannot be made of dots only.");
    }
    if (name.find('/') != std::string_view::npos || name.find('\0') != std::string_view::npos) {
        return refuse("a name cannot hold the character /.");
    }
    const std::string normal = normalizePath(oldPath);
    return folderPart(normal) + pathSeparator() + std::string(name);
}

std::optional<std::string> renamedPath(const std::string& oldPath, bool isFolder,
                                       std::string_view typed, std::string_view shown,
                                       std::string* refusal) {
    const std::string_view text = trimBlanks(typed);
    if (text.empty() || text == shown) {
        return std::nullopt;
    }
    std::string name(text);
    if (!isFolder) {
        // The extension cannot be changed in place.
        const std::string extension = fileExtension(normalizePath(oldPath));
        if (!extension.empty()) {
            name += '.' + extension;
        }
    }
    // The typed part alone decides: "..." becomes "....jpg" otherwise.
    if (text.find_first_not_of('.') == std::string_view::npos) {
        return pathWithName(oldPath, text, refusal);
    }
    return pathWithName(oldPath, name, refusal);
}

bool renameItem(const std::string& from, const std::string& to, std::string* error) {
    int code = renameWithoutReplacing(from, to);
    if (code == EEXIST && sameInode(from, to)) {
        // A change of case on a file system that ignores case: the same item.
        code = std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }
    if (code == 0) {
        return true;
    }
    if (error != nullptr) {
        *error = failureText(code, from, to);
    }
    return false;
}

}  // namespace tarn
