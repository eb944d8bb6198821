#include "common/text_format.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace tarn {

std::string sizeText(std::uint64_t bytes) {
    if (bytes < 1024) {
        return std::to_string(bytes) + (bytes <= 1 ? " byte" : " bytes");
    }
    double value = 0;
    const char* unit = nullptr;
    if (bytes >= (std::uint64_t{1} << 30)) {
        value = static_cast<double>(bytes) / 1073741824.0;
        unit = "GB";
    } else if (bytes >= (std::uint64_t{1} << 20)) {
        value = static_cast<double>(bytes) / 1048576.0;
        unit = "MB";
    } else {
        value = static_cast<double>(bytes) / 1024.0;
        unit = "KB";
    }
    // Rounded explicitly so that an exact tie (1152 bytes = 1.125 KB) goes up, whatever
    // rounding the C library's printf applies to ties.
    const double rounded = std::floor(value * 100.0 + 0.5) / 100.0;
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%.2f %s", rounded, unit);
    return text.data();
}

std::string dateTimeText(std::time_t time) {
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return std::string();
    }
    std::array<char, 32> text{};
    const std::size_t n = std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M:%S", &local);
    return std::string(text.data(), n);
}

}  // namespace tarn
