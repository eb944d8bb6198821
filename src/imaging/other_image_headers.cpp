// Header readers for the formats whose library loader cannot stop before the pixels, so that a
// few damaged bytes claiming an enormous picture are refused before the decoder allocates it.
#include <cctype>
#include <cstdlib>

#include "imaging/header_source.h"

namespace tarn::header_detail {

namespace {

// Boxes and chunks are searched for only this far, so that a damaged length cannot send a
// reader through a whole file.
constexpr int kMaxSteps = 64;

std::optional<ImageHeader> readDds(Source& source) {
    std::uint8_t b[92];
    if (!source.read(0, b, sizeof b) || std::memcmp(b, "DDS ", 4) != 0) {
        return std::nullopt;
    }
    const std::uint32_t bits = le32(b + 88);
    return sized(le32(b + 16), le32(b + 12), bits != 0 ? bits : 32);
}

std::optional<ImageHeader> readSgi(Source& source) {
    std::uint8_t b[12];
    if (!source.read(0, b, sizeof b) || be16(b) != 474) {
        return std::nullopt;
    }
    const unsigned channels = b[4] == 0 && b[5] == 3 ? be16(b + 10) : 1;
    return sized(be16(b + 6), be16(b + 8), 8u * b[3] * std::max(channels, 1u));
}

// The size of a JPEG 2000 code stream from its SIZ segment, which follows the start marker.
std::optional<ImageHeader> readCodeStream(Source& source, std::uint64_t at) {
    std::uint8_t b[42];
    if (!source.read(at, b, sizeof b) || b[0] != 0xFF || b[1] != 0x4F || b[2] != 0xFF ||
        b[3] != 0x51) {
        return std::nullopt;
    }
    const std::uint32_t width = be32(b + 8);
    const std::uint32_t height = be32(b + 12);
    const std::uint32_t left = be32(b + 16);
    const std::uint32_t top = be32(b + 20);
    if (left >= width || top >= height) {
        return std::nullopt;
    }
    const unsigned components = be16(b + 40);
    return sized(width - left, height - top, 8 * std::min(components, 4u));
}

// The JP2 file: the image header box inside the header super box.
std::optional<ImageHeader> readJp2(Source& source) {
    std::uint64_t at = 0;
    std::uint64_t end = UINT64_MAX;
    for (int step = 0; step < kMaxSteps && at < end; ++step) {
        std::uint8_t box[8];
        if (!source.read(at, box, sizeof box)) {
            return std::nullopt;
        }
        const std::uint32_t length = be32(box);
        if (std::memcmp(box + 4, "jp2h", 4) == 0) {
            end = length > 8 ? at + length : UINT64_MAX;
            at += 8;
            continue;
        }
        if (std::memcmp(box + 4, "ihdr", 4) == 0) {
            std::uint8_t h[11];
            if (!source.read(at + 8, h, sizeof h)) {
                return std::nullopt;
            }
            const unsigned depth = (h[10] & 0x7F) + 1u;
            return sized(be32(h + 4), be32(h), depth * std::min(be16(h + 8), 4u));
        }
        if (length < 8) {
            return std::nullopt;  // a box to the end of the file, or damage: no header found
        }
        at += length;
    }
    return std::nullopt;
}

std::optional<ImageHeader> readMng(Source& source) {
    std::uint8_t b[24];
    if (!source.read(0, b, sizeof b) || std::memcmp(b + 1, "MNG", 3) != 0 ||
        std::memcmp(b + 12, "MHDR", 4) != 0) {
        return std::nullopt;
    }
    return sized(be32(b + 16), be32(b + 20), 32);
}

// IFF pictures (ILBM and PBM): the bitmap header chunk of the FORM.
std::optional<ImageHeader> readIff(Source& source) {
    std::uint8_t form[12];
    if (!source.read(0, form, sizeof form) || std::memcmp(form, "FORM", 4) != 0) {
        return std::nullopt;
    }
    std::uint64_t at = 12;
    for (int step = 0; step < kMaxSteps; ++step) {
        std::uint8_t chunk[8];
        if (!source.read(at, chunk, sizeof chunk)) {
            return std::nullopt;
        }
        const std::uint32_t length = be32(chunk + 4);
        if (std::memcmp(chunk, "BMHD", 4) == 0) {
            std::uint8_t h[9];
            if (!source.read(at + 8, h, sizeof h)) {
                return std::nullopt;
            }
            return sized(be16(h), be16(h + 2), h[8] == 0 ? 24u : std::min<unsigned>(h[8], 32));
        }
        at += 8 + length + (length & 1);
    }
    return std::nullopt;
}

// PICT: the picture frame after the size word, behind the 512-byte preamble most files have.
std::optional<ImageHeader> readPict(Source& source) {
    for (const std::uint64_t start : {512u, 0u}) {
        std::uint8_t b[12];
        if (!source.read(start, b, sizeof b)) {
            continue;
        }
        const auto top = static_cast<std::int16_t>(be16(b + 2));
        const auto left = static_cast<std::int16_t>(be16(b + 4));
        const auto bottom = static_cast<std::int16_t>(be16(b + 6));
        const auto right = static_cast<std::int16_t>(be16(b + 8));
        // Version 1 opcode 0x1101 or version 2's 0x0011 0x02FF follow the frame.
        const bool version = (b[10] == 0x11 && b[11] == 0x01) || (b[10] == 0x00 && b[11] == 0x11);
        if (version && right > left && bottom > top) {
            return sized(right - left, bottom - top, 32);
        }
    }
    return std::nullopt;
}

// XBM: "#define name_width 16" and "#define name_height 8" before the bits.
std::optional<ImageHeader> readXbm(Source& source) {
    char text[1024] = {};
    std::size_t size = sizeof text - 1;
    while (size > 0 && !source.read(0, text, size)) {
        size /= 2;
    }
    text[size] = '\0';
    const auto valueOf = [&text](const char* key) -> std::uint64_t {
        const char* found = std::strstr(text, key);
        if (found == nullptr) {
            return 0;
        }
        found += std::strlen(key);
        while (*found == ' ' || *found == '\t') {
            ++found;
        }
        return std::isdigit(static_cast<unsigned char>(*found)) != 0
                   ? std::strtoull(found, nullptr, 10)
                   : 0;
    };
    return sized(valueOf("_width"), valueOf("_height"), 1);
}

// WBMP: type 0, a fixed header byte, then width and height as multi-byte integers.
std::optional<ImageHeader> readWbmp(Source& source) {
    std::uint64_t at = 0;
    const auto number = [&source, &at]() -> std::optional<std::uint64_t> {
        std::uint64_t value = 0;
        for (int i = 0; i < 5; ++i) {
            std::uint8_t byte = 0;
            if (!source.byteAt(at++, byte)) {
                return std::nullopt;
            }
            value = value << 7 | (byte & 0x7F);
            if ((byte & 0x80) == 0) {
                return value;
            }
        }
        return std::nullopt;
    };
    const auto type = number();
    std::uint8_t fixed = 0;
    if (!type || *type != 0 || !source.byteAt(at++, fixed)) {
        return std::nullopt;
    }
    const auto width = number();
    const auto height = number();
    if (!width || !height) {
        return std::nullopt;
    }
    return sized(*width, *height, 1);
}

}  // namespace

std::optional<ImageHeader> readOtherHeader(Source& source, FREE_IMAGE_FORMAT fif) {
    switch (fif) {
        case FIF_DDS:
            return readDds(source);
        case FIF_SGI:
            return readSgi(source);
        case FIF_J2K:
            return readCodeStream(source, 0);
        case FIF_JP2:
            return readJp2(source);
        case FIF_MNG:
            return readMng(source);
        case FIF_IFF:
            return readIff(source);
        case FIF_PICT:
            return readPict(source);
        case FIF_XBM:
            return readXbm(source);
        case FIF_WBMP:
            return readWbmp(source);
        default:
            return std::nullopt;
    }
}

}  // namespace tarn::header_detail
