#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace tarn {

// What the properties dialog shows of a file or folder, read from the file system.
struct FileProperties {
    std::string path;
    std::string name;      // the last component; the whole path for the root
    std::string location;  // the folder that holds it
    bool exists = false;
    bool isFolder = false;
    std::uint64_t size = 0;  // of a file; a folder's is counted apart (folderSize), it takes long
    std::optional<std::time_t> created;  // not every file system keeps a birth time
    std::optional<std::time_t> modified;
    std::optional<std::time_t> accessed;
};

// Reads everything but a folder's size. A symbolic link shows what it leads to.
FileProperties readFileProperties(const std::string& path);

// "1,234,567": digits in groups of three.
std::string groupedDigits(std::uint64_t value);

// The size text and the exact count: "1.18 MB (1,234,567 bytes)", "1 byte (1 byte)".
std::string sizeWithBytesText(std::uint64_t bytes);

// The local date and time, or nothing when the file system keeps no such time.
std::string dateOrEmptyText(const std::optional<std::time_t>& time);

}  // namespace tarn
