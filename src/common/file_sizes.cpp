#include "common/file_sizes.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace tarn {

std::uint64_t fileSize(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return 0;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

std::uint64_t folderSize(const std::string& path, const std::atomic<bool>* stop) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::recursive_directory_iterator it(path, fs::directory_options::skip_permission_denied, ec);
    if (ec) {
        return 0;
    }
    std::uint64_t total = 0;
    const fs::recursive_directory_iterator end;
    while (it != end && (stop == nullptr || !stop->load(std::memory_order_relaxed))) {
        const fs::file_status status = it->symlink_status(ec);
        if (!ec && fs::is_regular_file(status)) {
            const std::uintmax_t size = it->file_size(ec);
            total += ec ? 0 : size;
        }
        // A folder that cannot be opened is passed over (permission) or ends the walk with
        // what was counted so far (it vanished meanwhile).
        it.increment(ec);
        if (ec) {
            break;
        }
    }
    return total;
}

}  // namespace tarn
