#pragma once

// Little- and big-endian numbers appended to bytes, for hand-made file headers.
#include <cstdint>
#include <vector>

namespace tarn::test {

using Bytes = std::vector<std::uint8_t>;

inline void le16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void le32(Bytes& b, std::uint32_t v) {
    le16(b, v & 0xFFFF);
    le16(b, v >> 16);
}
inline void be16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v >> 8));
    b.push_back(static_cast<std::uint8_t>(v));
}
inline void be32(Bytes& b, std::uint32_t v) {
    be16(b, v >> 16);
    be16(b, v & 0xFFFF);
}

}  // namespace tarn::test
