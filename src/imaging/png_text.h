#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarn {

// A PNG's bytes with uncompressed tEXt chunks added after the header chunk. The library writes
// its comments as international text, which some readers of shared thumbnails skip. Keys are
// 1-79 printable Latin-1 characters; returns nothing for bytes that do not start as a PNG or
// for a key that does not qualify.
std::vector<std::uint8_t> withPngText(const std::vector<std::uint8_t>& png,
                                      const std::vector<std::pair<std::string, std::string>>& keys);

}  // namespace tarn
