#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace tarn {

// Writes a file so that the old one survives any failure: the writer fills a temporary file in
// the target's folder, which replaces the target only when the writer reports success. On failure
// the temporary file is removed and the target is left byte-for-byte as it was. The target keeps
// its permission bits; a target that is a symbolic link keeps being one (the file it leads to is
// replaced). Safe to call from any thread.
bool writeFileAtomically(const std::string& target,
                         const std::function<bool(const std::string& tempPath)>& writer);

// The same for a block of bytes.
bool writeBytesAtomically(const std::string& target, const void* data, std::size_t size);

}  // namespace tarn
