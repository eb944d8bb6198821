#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace tarn {

// Bytes in the file (a symbolic link counts as what it leads to); 0 when it cannot be read.
std::uint64_t fileSize(const std::string& path);

// Bytes in every file below the folder, counted recursively. Symbolic links are counted as
// links, never followed, so a link cannot count a tree twice or loop; parts that cannot be
// read are skipped. May take long: call it off the user-interface thread for big trees, with a
// stop flag that ends the walk early (the count so far is returned).
std::uint64_t folderSize(const std::string& path, const std::atomic<bool>* stop = nullptr);

}  // namespace tarn
