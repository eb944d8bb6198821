#include "dialogs/file_properties.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "common/path_rules.h"
#include "common/text_format.h"

namespace tarn {

FileProperties readFileProperties(const std::string& path) {
    FileProperties properties;
    properties.path = path;
    properties.name = fileName(path);
    if (properties.name.empty()) {
        properties.name = path;
    }
    properties.location = isDriveRoot(path) ? std::string() : parentFolder(path);
    struct statx info {};
    // The birth time comes only through statx, and only from file systems that keep it.
    if (::statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME,
                &info) != 0) {
        return properties;
    }
    properties.exists = true;
    properties.isFolder = S_ISDIR(info.stx_mode);
    if (!properties.isFolder) {
        properties.size = info.stx_size;
    }
    if ((info.stx_mask & STATX_BTIME) != 0) {
        properties.created = static_cast<std::time_t>(info.stx_btime.tv_sec);
    }
    if ((info.stx_mask & STATX_MTIME) != 0) {
        properties.modified = static_cast<std::time_t>(info.stx_mtime.tv_sec);
    }
    if ((info.stx_mask & STATX_ATIME) != 0) {
        properties.accessed = static_cast<std::time_t>(info.stx_atime.tv_sec);
    }
    return properties;
}

std::string groupedDigits(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped;
}

std::string sizeWithBytesText(std::uint64_t bytes) {
    return sizeText(bytes) + " (" + groupedDigits(bytes) + (bytes <= 1 ? " byte)" : " bytes)");
}

std::string dateOrEmptyText(const std::optional<std::time_t>& time) {
    return time ? dateTimeText(*time) : std::string();
}

}  // namespace tarn
