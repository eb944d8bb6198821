#include "browser/file_operations.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>

#include "browser/file_copy.h"
#include "common/path_rules.h"
#include "platform/file_trash.h"

namespace tarn {

namespace {

using fileops::CopyStatus;

// Enough for a moving bar without flooding whoever shows it.
constexpr std::chrono::milliseconds kProgressInterval{50};

enum class Outcome { Copied, Skipped, Failed };

Outcome worse(Outcome a, Outcome b) {
    return std::max(a, b);
}

bool sameItem(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Resolves links and dots so that a folder is recognised under another spelling.
std::string canonicalOf(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    return normalizePath(ec ? path : resolved.string());
}

bool asciiEqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

class OperationRun {
public:
    OperationRun(const FileOpRequest& request, FileOpObserver& observer)
        : m_request(request), m_observer(observer) {}

    FileOpResult run() {
        if (std::string refusal = refusalOf(m_request); !refusal.empty()) {
            const std::string path =
                m_request.sources.empty() ? m_request.targetFolder : m_request.sources.front();
            m_result.errors.push_back({path, refusal});
            return m_result;
        }
        scan();
        report(true);
        for (const std::string& source : m_request.sources) {
            if (stopNow()) {
                break;
            }
            const std::string target = joinPath(m_request.targetFolder, fileName(source));
            switch (m_request.kind) {
                case FileOpKind::Copy:
                    copyTopItem(source, target);
                    break;
                case FileOpKind::Move:
                    moveItem(source, target, true);
                    break;
                case FileOpKind::Trash:
                case FileOpKind::Delete:
                    removeItem(source);
                    break;
            }
        }
        report(true);
        return m_result;
    }

private:
    void scan() {
        for (const std::string& source : m_request.sources) {
            if (m_request.kind == FileOpKind::Trash || m_request.kind == FileOpKind::Delete) {
                ++m_progress.filesTotal;
                continue;
            }
            const fileops::TreeSize size = fileops::measureTree(source);
            m_progress.filesTotal += size.files;
            m_progress.bytesTotal += size.bytes;
        }
    }

    bool stopNow() {
        if (!m_result.cancelled && m_observer.cancelRequested()) {
            m_result.cancelled = true;
        }
        return m_result.cancelled;
    }

    void report(bool always) {
        const auto now = std::chrono::steady_clock::now();
        if (always || now - m_lastReport >= kProgressInterval) {
            m_lastReport = now;
            m_observer.progress(m_progress);
        }
    }

    void starting(const std::string& path) {
        m_progress.currentName = fileName(path);
        report(false);
    }

    void countDone(const fileops::TreeSize& size) {
        m_progress.filesDone += size.files;
        m_progress.bytesDone += size.bytes;
        report(false);
    }

    void fail(const std::string& path, const std::string& reason) {
        m_result.errors.push_back({path, reason});
    }

    ConflictChoice resolveConflict(const std::string& source, const std::string& target) {
        if (m_request.quiet) {
            return ConflictChoice::Replace;
        }
        if (m_answerForAll) {
            return *m_answerForAll;
        }
        const ConflictAnswer answer = m_observer.askConflict(source, target);
        if (answer.applyToAll) {
            m_answerForAll = answer.choice;
        }
        if (answer.choice == ConflictChoice::Cancel) {
            m_result.cancelled = true;
        }
        return answer.choice;
    }

    void copyTopItem(const std::string& source, const std::string& target) {
        std::vector<std::string> created;
        const Outcome outcome = copyItem(source, target, false, &created);
        if (outcome == Outcome::Copied || (!created.empty() && created.front() == target)) {
            m_result.targets.push_back(target);
        }
    }

    // Copies source to target. replaceGranted: the caller already settled a conflict at target.
    // Every file and folder made is added to created (in the order made), for a rollback.
    Outcome copyItem(const std::string& source, const std::string& target, bool replaceGranted,
                     std::vector<std::string>* created) {
        starting(source);
        struct stat st {};
        if (::lstat(source.c_str(), &st) != 0) {
            fail(source, fileops::errorText(errno));
            return Outcome::Failed;
        }
        struct stat existing {};
        const bool exists = ::lstat(target.c_str(), &existing) == 0;
        bool replace = replaceGranted;
        bool merge = false;
        if (exists && !replaceGranted) {
            const ConflictChoice choice = resolveConflict(source, target);
            if (choice == ConflictChoice::Cancel) {
                return Outcome::Failed;
            }
            // Copying an item onto itself (a paste into its own folder) leaves it as it is.
            if (choice == ConflictChoice::Skip || sameItem(st, existing)) {
                countDone(fileops::measureTree(source));
                return Outcome::Skipped;
            }
            replace = true;
        }
        if (exists && replace) {
            merge = S_ISDIR(st.st_mode) && S_ISDIR(existing.st_mode);
            // A folder cannot be renamed over a file, nor a file over a folder.
            if (!merge && S_ISDIR(st.st_mode) != S_ISDIR(existing.st_mode)) {
                std::string reason;
                if (!fileops::removeTree(target, &reason)) {
                    fail(target, reason);
                    return Outcome::Failed;
                }
            }
        }
        if (S_ISDIR(st.st_mode)) {
            return copyFolder(source, target, st, merge, created);
        }
        if (S_ISLNK(st.st_mode)) {
            std::string reason;
            if (!fileops::copySymlink(source, target, replace, &reason)) {
                fail(source, reason);
                return Outcome::Failed;
            }
            created->push_back(target);
            countDone({1, 0});
            return Outcome::Copied;
        }
        if (!S_ISREG(st.st_mode)) {
            fail(source, "not a regular file, a folder or a link");
            return Outcome::Failed;
        }
        return copyFile(source, target, st, replace, created);
    }

    Outcome copyFile(const std::string& source, const std::string& target, const struct stat& st,
                     bool replace, std::vector<std::string>* created) {
        const std::uint64_t bytesBefore = m_progress.bytesDone;
        const auto progress = [&](std::uint64_t written) {
            m_progress.bytesDone = bytesBefore + written;
            report(false);
            return !stopNow();
        };
        std::string reason;
        const CopyStatus status =
            fileops::copyRegularFile(source, st, target, replace, progress, &reason);
        m_progress.bytesDone = bytesBefore;
        if (status == CopyStatus::Stopped) {
            return Outcome::Failed;
        }
        if (status == CopyStatus::Failed) {
            fail(source, reason);
            return Outcome::Failed;
        }
        created->push_back(target);
        countDone({1, static_cast<std::uint64_t>(st.st_size)});
        return Outcome::Copied;
    }

    Outcome copyFolder(const std::string& source, const std::string& target, const struct stat& st,
                       bool merge, std::vector<std::string>* created) {
        std::vector<std::string> names;
        std::string reason;
        if (!fileops::listFolder(source, &names, &reason)) {
            fail(source, reason);
            return Outcome::Failed;
        }
        if (!merge) {
            // Owner-only while it fills; its own mode comes at the end.
            if (::mkdir(target.c_str(), 0700) != 0) {
                fail(source, fileops::errorText(errno));
                return Outcome::Failed;
            }
            created->push_back(target);
        }
        Outcome outcome = Outcome::Copied;
        for (const std::string& name : names) {
            if (stopNow()) {
                outcome = Outcome::Failed;
                break;
            }
            outcome = worse(
                outcome, copyItem(joinPath(source, name), joinPath(target, name), false, created));
            // A move across file systems takes the item back anyway.
            if (m_result.cancelled || (outcome == Outcome::Failed && m_wholeItemOrNothing)) {
                break;
            }
        }
        if (!merge) {
            ::chmod(target.c_str(), st.st_mode & 07777);
            const struct timespec times[2] = {st.st_atim, st.st_mtim};
            ::utimensat(AT_FDCWD, target.c_str(), times, AT_SYMLINK_NOFOLLOW);
        }
        return outcome;
    }

    // Removes what a failed move across file systems made at the target, newest first.
    static void rollBack(const std::vector<std::string>& created) {
        for (auto it = created.rbegin(); it != created.rend(); ++it) {
            if (::unlink(it->c_str()) != 0 && errno == EISDIR) {
                ::rmdir(it->c_str());
            }
        }
    }

    void moveItem(const std::string& source, const std::string& target, bool topLevel) {
        starting(source);
        struct stat st {};
        if (::lstat(source.c_str(), &st) != 0) {
            fail(source, fileops::errorText(errno));
            return;
        }
        const fileops::TreeSize size = fileops::measureTree(source);
        struct stat existing {};
        const bool exists = ::lstat(target.c_str(), &existing) == 0;
        bool replace = false;
        if (exists) {
            // Moving an item into the folder it is in already changes nothing.
            if (sameItem(st, existing)) {
                countDone(size);
                return;
            }
            const ConflictChoice choice = resolveConflict(source, target);
            if (choice == ConflictChoice::Cancel) {
                return;
            }
            if (choice == ConflictChoice::Skip) {
                countDone(size);
                return;
            }
            replace = true;
            if (S_ISDIR(st.st_mode) && S_ISDIR(existing.st_mode)) {
                mergeFolder(source, target);
                if (topLevel) {
                    m_result.targets.push_back(target);
                }
                return;
            }
            if (S_ISDIR(st.st_mode) != S_ISDIR(existing.st_mode)) {
                std::string reason;
                if (!fileops::removeTree(target, &reason)) {
                    fail(target, reason);
                    return;
                }
            }
        }
        const int rc = fileops::renameItem(source, target, replace);
        if (rc == EXDEV) {
            moveAcross(source, target, replace, topLevel);
            return;
        }
        if (rc != 0) {
            fail(source, fileops::errorText(rc));
            return;
        }
        countDone(size);
        if (topLevel) {
            m_result.targets.push_back(target);
        }
    }

    // The source folder's items go into the existing folder; the emptied source goes.
    void mergeFolder(const std::string& source, const std::string& target) {
        std::vector<std::string> names;
        std::string reason;
        if (!fileops::listFolder(source, &names, &reason)) {
            fail(source, reason);
            return;
        }
        for (const std::string& name : names) {
            if (stopNow()) {
                return;
            }
            moveItem(joinPath(source, name), joinPath(target, name), false);
        }
        ::rmdir(source.c_str());  // stays when something in it was skipped or failed
    }

    // The original goes only after all of it is copied; a copy that fails part way is removed
    // again, so the item stays whole at its old place.
    void moveAcross(const std::string& source, const std::string& target, bool replace,
                    bool topLevel) {
        std::vector<std::string> created;
        m_wholeItemOrNothing = true;
        const Outcome outcome = copyItem(source, target, replace, &created);
        m_wholeItemOrNothing = false;
        if (outcome == Outcome::Failed) {
            rollBack(created);
            return;
        }
        if (outcome == Outcome::Copied) {
            std::string reason;
            if (!fileops::removeTree(source, &reason)) {
                fail(source, "copied, but the original could not be removed: " + reason);
            }
        }
        if (topLevel) {
            m_result.targets.push_back(target);
        }
    }

    void removeItem(const std::string& source) {
        starting(source);
        struct stat st {};
        if (::lstat(source.c_str(), &st) != 0) {
            fail(source, fileops::errorText(errno));
            return;
        }
        std::string reason;
        const bool removed = m_request.kind == FileOpKind::Trash
                                 ? platform::moveToTrash(source, &reason)
                                 : fileops::removeTree(source, &reason);
        if (removed) {
            m_result.targets.push_back(source);
        } else {
            fail(source, reason);
        }
        countDone({1, 0});
    }

    const FileOpRequest& m_request;
    FileOpObserver& m_observer;
    FileOpResult m_result;
    FileOpProgress m_progress;
    std::optional<ConflictChoice> m_answerForAll;
    bool m_wholeItemOrNothing = false;
    std::chrono::steady_clock::time_point m_lastReport{};
};

}  // namespace

FileOpResult runFileOperation(const FileOpRequest& request, FileOpObserver& observer) {
    return OperationRun(request, observer).run();
}

std::string refusalOf(const FileOpRequest& request) {
    if (request.sources.empty()) {
        return "There are no files to work on.";
    }
    if (request.kind == FileOpKind::Trash || request.kind == FileOpKind::Delete) {
        return {};
    }
    struct stat st {};
    if (::stat(request.targetFolder.c_str(), &st) != 0) {
        return "The folder \"" + request.targetFolder +
               "\" cannot be used: " + fileops::errorText(errno) + ".";
    }
    if (!S_ISDIR(st.st_mode)) {
        return "\"" + request.targetFolder + "\" is not a folder.";
    }
    const std::string target = canonicalOf(request.targetFolder);
    const char* verb = request.kind == FileOpKind::Copy ? "copy" : "move";
    for (const std::string& source : request.sources) {
        if (isPathWithin(target, canonicalOf(source))) {
            return std::string("Cannot ") + verb + " \"" + fileName(source) +
                   "\": the target folder is the folder itself or lies inside it.";
        }
    }
    return {};
}

std::string uniqueNewFolderName(const std::vector<std::string>& existingNames) {
    const std::string base = "New Folder";
    std::string name = base;
    for (int n = 2;; ++n) {
        const bool taken = std::any_of(
            existingNames.begin(), existingNames.end(),
            [&](const std::string& existing) { return asciiEqualNoCase(existing, name); });
        if (!taken) {
            return name;
        }
        name = base + " (" + std::to_string(n) + ")";
    }
}

bool createFolder(const std::string& parent, const std::string& name, std::string* error) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
        if (error != nullptr) {
            *error = "\"" + name + "\" is not a valid folder name";
        }
        return false;
    }
    if (::mkdir(joinPath(parent, name).c_str(), 0777) != 0) {
        if (error != nullptr) {
            *error = fileops::errorText(errno);
        }
        return false;
    }
    return true;
}

}  // namespace tarn
