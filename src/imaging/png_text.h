#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarn {

// The checksum PNG chunks carry (CRC-32 of the chunk's type and data).
std::uint32_t pngCrc32(const std::uint8_t* data, std::size_t size);

// A PNG's bytes with uncompressed tEXt chunks added after the header chunk. The library writes
// its comments as international text, which some readers of shared thumbnails skip. Keys are
// 1-79 printable Latin-1 characters; returns nothing for bytes that do not start as a PNG or
// for a key that does not qualify.
std::vector<std::uint8_t> withPngText(const std::vector<std::uint8_t>& png,
                                      const std::vector<std::pair<std::string, std::string>>& keys);

}  // namespace tarn
