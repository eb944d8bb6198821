#pragma once

#include <cstdint>
#include <string>

#include "fakes/temp_dir.h"

namespace tarn::test {

// A minimal Photoshop file of one colour: header, empty colour mode, resource and layer
// sections, then raw 8-bit RGB planes. Written by hand because the library's PSD writer
// leaks memory on every save.
inline void writeFlatPsd(const std::string& path, std::uint32_t width, std::uint32_t height,
                         std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    std::string bytes;
    const auto put16 = [&](std::uint16_t value) {
        bytes += static_cast<char>(value >> 8);
        bytes += static_cast<char>(value & 0xFF);
    };
    const auto put32 = [&](std::uint32_t value) {
        put16(static_cast<std::uint16_t>(value >> 16));
        put16(static_cast<std::uint16_t>(value & 0xFFFF));
    };
    bytes += "8BPS";
    put16(1);                       // version
    bytes += std::string(6, '\0');  // reserved
    put16(3);                       // channels
    put32(height);
    put32(width);
    put16(8);  // bits per channel
    put16(3);  // RGB
    put32(0);  // colour mode data
    put32(0);  // image resources
    put32(0);  // layers and masks
    put16(0);  // raw image data, one plane per channel
    const std::size_t plane = static_cast<std::size_t>(width) * height;
    for (const std::uint8_t value : {red, green, blue}) {
        bytes += std::string(plane, static_cast<char>(value));
    }
    writeFile(path, bytes);
}

}  // namespace tarn::test
