#include "imaging/png_text.h"

#include <algorithm>
#include <array>

namespace tarn {

namespace {

constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Signature, then the header chunk: length, type, 13 bytes, checksum.
constexpr std::size_t kHeaderEnd = 8 + 4 + 4 + 13 + 4;

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

bool validKey(const std::string& key) {
    return !key.empty() && key.size() <= 79 && key.front() != ' ' && key.back() != ' ' &&
           std::all_of(key.begin(), key.end(), [](char ch) {
               const auto c = static_cast<unsigned char>(ch);
               return (c >= 32 && c <= 126) || c >= 161;
           });
}

}  // namespace

std::uint32_t pngCrc32(const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

std::vector<std::uint8_t> withPngText(
    const std::vector<std::uint8_t>& png,
    const std::vector<std::pair<std::string, std::string>>& keys) {
    if (png.size() < kHeaderEnd || !std::equal(kSignature.begin(), kSignature.end(), png.begin()) ||
        !std::equal(png.begin() + 12, png.begin() + 16, "IHDR")) {
        return {};
    }
    std::vector<std::uint8_t> out(png.begin(), png.begin() + kHeaderEnd);
    for (const auto& [key, value] : keys) {
        if (!validKey(key) || value.find('\0') != std::string::npos) {
            return {};
        }
        const std::size_t start = out.size();
        putBigEndian(out, static_cast<std::uint32_t>(key.size() + 1 + value.size()));
        out.insert(out.end(), {'t', 'E', 'X', 't'});
        out.insert(out.end(), key.begin(), key.end());
        out.push_back(0);
        out.insert(out.end(), value.begin(), value.end());
        putBigEndian(out, pngCrc32(out.data() + start + 4, out.size() - start - 4));
    }
    out.insert(out.end(), png.begin() + kHeaderEnd, png.end());
    return out;
}

}  // namespace tarn
