#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace tarn {

namespace {

// The folder part of a path; "." for a bare name.
std::string folderOf(const std::string& target) {
    const std::filesystem::path parent = std::filesystem::path(target).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// The mode a new file would get: the existing target's, else 0666 less the umask.
mode_t targetMode(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        return st.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool writeFileAtomically(const std::string& path,
                         const std::function<bool(const std::string& tempPath)>& writer) {
    if (path.empty()) {
        return false;
    }
    // A symbolic link stays a link: the file it leads to is the one replaced.
    std::string target = path;
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        const std::filesystem::path real = std::filesystem::canonical(path, ec);
        if (!ec) {
            target = real.string();
        }
    }
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        return false;
    }
    const std::string folder = folderOf(target);
    std::string pattern =
        folder + "/." + std::filesystem::path(target).filename().string() + ".tarn-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return false;
    }
    const std::string temp(name.data());
    ::fchmod(fd, targetMode(target));
    ::close(fd);
    bool ok = false;
    try {
        ok = writer(temp);
    } catch (...) {
        ok = false;
    }
    if (ok) {
        // The data must be on disk before the name points at it.
        const int sync = ::open(temp.c_str(), O_RDONLY);
        if (sync >= 0) {
            ::fsync(sync);
            ::close(sync);
        }
        ok = ::rename(temp.c_str(), target.c_str()) == 0;
    }
    if (!ok) {
        ::unlink(temp.c_str());
    }
    return ok;
}

bool writeBytesAtomically(const std::string& target, const void* data, std::size_t size) {
    return writeFileAtomically(target, [&](const std::string& temp) {
        std::FILE* file = std::fopen(temp.c_str(), "wb");
        if (file == nullptr) {
            return false;
        }
        const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
        return std::fclose(file) == 0 && written;
    });
}

}  // namespace tarn
