#include "browser/file_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "common/path_rules.h"
#include "platform/dir_handle.h"

namespace tarn::fileops {

namespace {

// Big enough for full speed, small enough for progress and cancel several times a second.
constexpr std::size_t kChunk = 8u << 20;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now, so that a failing close (delayed write errors) is seen.
    int close() {
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc;
    }

private:
    int m_fd;
};

// A temporary file in a folder, removed unless kept. The short name stays within every file
// system's name limit, whatever the final name's length.
class TempFile {
public:
    explicit TempFile(const std::string& folder) {
        std::string pattern = joinPath(folder, ".tarn-copy-XXXXXX");
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        m_fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (m_fd >= 0) {
            m_path = name.data();
        } else {
            m_error = errno;
        }
    }
    ~TempFile() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        if (!m_kept && !m_path.empty()) {
            ::unlink(m_path.c_str());
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int fd() const { return m_fd; }
    int error() const { return m_error; }
    const std::string& path() const { return m_path; }
    int close() {
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc;
    }
    void keep() { m_kept = true; }

private:
    int m_fd = -1;
    int m_error = 0;
    bool m_kept = false;
    std::string m_path;
};

// Copies until the end of in; the in-kernel copy first, plain reads and writes where the file
// systems cannot do it. 0 or the errno; ECANCELED when progress said stop.
int copyBytes(int in, int out, const ByteProgress& progress, std::uint64_t* written) {
    bool inKernel = true;
    std::vector<char> buffer;
    for (;;) {
        ssize_t n = -1;
        if (inKernel) {
            n = ::copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
            if (n < 0 && *written == 0 &&
                (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
                 errno == EPERM)) {
                inKernel = false;
                buffer.resize(1u << 20);
                continue;
            }
        } else {
            n = ::read(in, buffer.data(), buffer.size());
            if (n > 0) {
                for (ssize_t put = 0; put < n;) {
                    const ssize_t w = ::write(out, buffer.data() + put, n - put);
                    if (w < 0) {
                        if (errno == EINTR) {
                            continue;
                        }
                        return errno;
                    }
                    put += w;
                }
            }
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return 0;
        }
        *written += static_cast<std::uint64_t>(n);
        if (progress && !progress(*written)) {
            return ECANCELED;
        }
    }
}

bool fail(std::string* reason, int errorNumber) {
    if (reason != nullptr) {
        *reason = errorText(errorNumber);
    }
    return false;
}

}  // namespace

std::string errorText(int errorNumber) {
    return std::strerror(errorNumber);
}

int renameItem(const std::string& from, const std::string& to, bool replace) {
    if (replace) {
        return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // A file system without no-replace renames: look first, which is the best left.
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) {
        return EEXIST;
    }
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

CopyStatus copyRegularFile(const std::string& source, const struct stat& sourceStat,
                           const std::string& target, bool replace, const ByteProgress& progress,
                           std::string* reason) {
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (in.get() < 0) {
        fail(reason, errno);
        return CopyStatus::Failed;
    }
    ::posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    TempFile temp(parentFolder(target));
    if (temp.fd() < 0) {
        fail(reason, temp.error());
        return CopyStatus::Failed;
    }
    std::uint64_t written = 0;
    const int copyError = copyBytes(in.get(), temp.fd(), progress, &written);
    if (copyError == ECANCELED) {
        return CopyStatus::Stopped;
    }
    if (copyError != 0) {
        fail(reason, copyError);
        return CopyStatus::Failed;
    }
    struct stat now {};
    struct stat copied {};
    if (::fstat(in.get(), &now) != 0 || ::fstat(temp.fd(), &copied) != 0) {
        fail(reason, errno);
        return CopyStatus::Failed;
    }
    if (static_cast<std::uint64_t>(copied.st_size) != written ||
        static_cast<std::uint64_t>(now.st_size) != written) {
        if (reason != nullptr) {
            *reason = "the copy's size differs from the original's";
        }
        return CopyStatus::Failed;
    }
    ::fchmod(temp.fd(), sourceStat.st_mode & 07777);
    const struct timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
    ::futimens(temp.fd(), times);
    if (temp.close() != 0) {
        fail(reason, errno);
        return CopyStatus::Failed;
    }
    if (const int rc = renameItem(temp.path(), target, replace); rc != 0) {
        fail(reason, rc);
        return CopyStatus::Failed;
    }
    temp.keep();
    return CopyStatus::Done;
}

bool copySymlink(const std::string& source, const std::string& target, bool replace,
                 std::string* reason) {
    std::vector<char> contents(kMaxPath + 1);
    const ssize_t n = ::readlink(source.c_str(), contents.data(), contents.size() - 1);
    if (n < 0) {
        return fail(reason, errno);
    }
    contents[static_cast<std::size_t>(n)] = '\0';
    if (!replace) {
        return ::symlink(contents.data(), target.c_str()) == 0 || fail(reason, errno);
    }
    // Made under a temporary name so the old target stays until the new link is there.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp =
            joinPath(parentFolder(target),
                     ".tarn-link-" + std::to_string(::getpid()) + "-" + std::to_string(attempt));
        if (::symlink(contents.data(), temp.c_str()) != 0) {
            if (errno == EEXIST) {
                continue;
            }
            return fail(reason, errno);
        }
        if (::rename(temp.c_str(), target.c_str()) != 0) {
            const int error = errno;
            ::unlink(temp.c_str());
            return fail(reason, error);
        }
        return true;
    }
    return fail(reason, EEXIST);
}

bool removeTree(const std::string& path, std::string* reason) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    if (ec) {
        if (reason != nullptr) {
            *reason = ec.message();
        }
        return false;
    }
    return true;
}

bool listFolder(const std::string& path, std::vector<std::string>* names, std::string* reason) {
    const platform::DirHandle dir(::opendir(path.c_str()));
    if (!dir) {
        return fail(reason, errno);
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names->push_back(name);
        }
    }
    return errno == 0 || fail(reason, errno);
}

TreeSize measureTree(const std::string& path) {
    TreeSize size;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        return size;
    }
    if (!S_ISDIR(st.st_mode)) {
        size.files = 1;
        size.bytes = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
        return size;
    }
    std::vector<std::string> names;
    listFolder(path, &names, nullptr);
    for (const std::string& name : names) {
        const TreeSize inner = measureTree(joinPath(path, name));
        size.files += inner.files;
        size.bytes += inner.bytes;
    }
    return size;
}

}  // namespace tarn::fileops
