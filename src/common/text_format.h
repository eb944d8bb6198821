#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace tarn {

// "0 byte", "1 byte", "1023 bytes", then "1.00 KB", "1.50 MB", "4.00 GB": powers of 1024,
// two decimals rounded half up. Serves the status bar and the thumbnail info tips alike.
std::string sizeText(std::uint64_t bytes);

// "%Y-%m-%d %H:%M:%S" of the local time.
std::string dateTimeText(std::time_t time);

}  // namespace tarn
