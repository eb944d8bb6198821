#pragma once

#include <string>
#include <string_view>

namespace tarn::platform {

// The "file://" URI of an absolute path, escaped the way the desktop's thumbnail cache and file
// managers spell it. Empty when the path is not absolute.
std::string fileUri(const std::string& absolutePath);

// The MD5 digest of the bytes as 32 lower-case hex digits.
std::string md5Hex(std::string_view bytes);

}  // namespace tarn::platform
