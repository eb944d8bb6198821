#include "imaging/image_header.h"

#include <FreeImage.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <vector>

#include "imaging/decode_limits.h"
#include "imaging/freeimage_ptr.h"
#include "imaging/header_source.h"

namespace tarn {

using namespace header_detail;

namespace {

std::optional<ImageHeader> readPng(Source& source) {
    std::uint8_t b[26];
    if (!source.read(0, b, sizeof b) || std::memcmp(b + 12, "IHDR", 4) != 0) {
        return std::nullopt;
    }
    unsigned channels = 0;
    switch (b[25]) {
        case 0:
            channels = 1;
            break;
        case 2:
            channels = 3;
            break;
        case 3:
            channels = 1;
            break;
        case 4:
            channels = 2;
            break;
        case 6:
            channels = 4;
            break;
        default:
            return std::nullopt;
    }
    return sized(be32(b + 16), be32(b + 20), b[24] * channels);
}

bool isFrameMarker(std::uint8_t marker) {
    // SOF0-SOF15 except DHT, JPG and DAC.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the segments up to the first frame header, skipping the others by their lengths.
std::optional<ImageHeader> readJpeg(Source& source) {
    std::uint64_t pos = 2;
    for (int segment = 0; segment < 4096; ++segment) {
        std::uint8_t byte = 0;
        if (!source.byteAt(pos, byte) || byte != 0xFF) {
            return std::nullopt;
        }
        while (byte == 0xFF) {  // fill bytes
            if (!source.byteAt(++pos, byte)) {
                return std::nullopt;
            }
        }
        ++pos;
        const std::uint8_t marker = byte;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            continue;  // no length
        }
        if (marker == 0xD9 || marker == 0xDA) {
            return std::nullopt;  // picture data before any frame header
        }
        std::uint8_t b[8];
        if (!source.read(pos, b, 2) || be16(b) < 2) {
            return std::nullopt;
        }
        if (isFrameMarker(marker)) {
            if (!source.read(pos + 2, b, 6)) {
                return std::nullopt;
            }
            return sized(be16(b + 3), be16(b + 1), 8u * b[5]);
        }
        pos += be16(b);
    }
    return std::nullopt;
}

bool skipSubBlocks(Source& source, std::uint64_t& pos) {
    std::uint8_t length = 0;
    do {
        if (!source.byteAt(pos, length)) {
            return false;
        }
        pos += 1u + length;
    } while (length != 0);
    return true;
}

// Each page is an image descriptor; the library decodes a page at the descriptor's size.
std::optional<ImageHeader> readGif(Source& source, int page) {
    std::uint8_t b[13];
    if (!source.read(0, b, sizeof b)) {
        return std::nullopt;
    }
    std::uint64_t pos = 13;
    if ((b[10] & 0x80) != 0) {
        pos += 3u << ((b[10] & 7) + 1);
    }
    for (int frame = 0;;) {
        std::uint8_t introducer = 0;
        if (!source.byteAt(pos, introducer)) {
            return std::nullopt;
        }
        if (introducer == 0x21) {
            pos += 2;
            if (!skipSubBlocks(source, pos)) {
                return std::nullopt;
            }
        } else if (introducer == 0x2C) {
            std::uint8_t d[9];
            if (!source.read(pos + 1, d, sizeof d)) {
                return std::nullopt;
            }
            if (frame == page) {
                return sized(le16(d + 4), le16(d + 6), 8);
            }
            pos += 10;
            if ((d[8] & 0x80) != 0) {
                pos += 3u << ((d[8] & 7) + 1);
            }
            pos += 1;  // the LZW code size
            if (!skipSubBlocks(source, pos)) {
                return std::nullopt;
            }
            ++frame;
        } else {
            return std::nullopt;  // the trailer, or damage
        }
    }
}

// Every header size: the OS/2 core header (16-bit sizes), the OS/2 2 header and the Windows ones
// (signed 32-bit; a negative height is a top-down picture).
std::optional<ImageHeader> readBmp(Source& source) {
    std::uint8_t b[30];
    if (!source.read(0, b, 18)) {
        return std::nullopt;
    }
    const std::uint32_t headerSize = le32(b + 14);
    if (headerSize == 12) {
        if (!source.read(18, b + 18, 8)) {
            return std::nullopt;
        }
        return sized(le16(b + 18), le16(b + 20), le16(b + 24));
    }
    if (headerSize < 16 || headerSize > 4096 || !source.read(18, b + 18, 12)) {
        return std::nullopt;
    }
    const auto width = static_cast<std::int32_t>(le32(b + 18));
    const auto height = static_cast<std::int32_t>(le32(b + 22));
    if (width <= 0) {
        return std::nullopt;
    }
    const std::int64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    return sized(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(rows), le16(b + 28));
}

// The page's directory, found along the chain of directories (both byte orders, classic TIFF).
std::optional<ImageHeader> readTiff(Source& source, int page) {
    std::uint8_t b[8];
    if (!source.read(0, b, sizeof b)) {
        return std::nullopt;
    }
    const bool little = b[0] == 'I';
    const auto u16 = [little](const std::uint8_t* p) { return little ? le16(p) : be16(p); };
    const auto u32 = [little](const std::uint8_t* p) { return little ? le32(p) : be32(p); };
    if (u16(b + 2) != 42) {
        return std::nullopt;
    }
    std::uint64_t offset = u32(b + 4);
    std::set<std::uint64_t> seen;
    for (int i = 0; i < page; ++i) {
        std::uint8_t count[2];
        if (offset == 0 || !seen.insert(offset).second || !source.read(offset, count, 2) ||
            !source.read(offset + 2 + 12u * u16(count), b, 4)) {
            return std::nullopt;
        }
        offset = u32(b);
    }
    std::uint8_t count[2];
    if (offset == 0 || !source.read(offset, count, 2)) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> entries(12u * u16(count));
    if (!source.read(offset + 2, entries.data(), entries.size())) {
        return std::nullopt;
    }
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    unsigned bitsPerSample = 1;
    unsigned samples = 1;
    for (std::size_t at = 0; at < entries.size(); at += 12) {
        const std::uint8_t* entry = entries.data() + at;
        const unsigned type = u16(entry + 2);
        const std::uint32_t valueCount = u32(entry + 4);
        if ((type != 3 && type != 4) || valueCount == 0) {
            continue;  // only SHORT and LONG values matter here
        }
        std::uint32_t value = type == 3 ? u16(entry + 8) : u32(entry + 8);
        const std::uint64_t bytes = std::uint64_t{valueCount} * (type == 3 ? 2 : 4);
        if (bytes > 4) {
            // The values live elsewhere; the first is the one needed.
            std::uint8_t first[4];
            if (!source.read(u32(entry + 8), first, type == 3 ? 2 : 4)) {
                continue;
            }
            value = type == 3 ? u16(first) : u32(first);
        }
        switch (u16(entry)) {
            case 256:
                width = value;
                break;
            case 257:
                height = value;
                break;
            case 258:
                bitsPerSample = std::min<std::uint32_t>(value, 64);
                break;
            case 277:
                samples = std::min<std::uint32_t>(value, 64);
                break;
            default:
                break;
        }
    }
    return sized(width, height, bitsPerSample * samples);
}

enum class Format { Other, Png, Jpeg, Gif, Bmp, Tiff };

Format formatOf(Source& source) {
    std::uint8_t b[8];
    if (!source.read(0, b, 4)) {
        return Format::Other;
    }
    if (source.read(0, b, 8) && std::memcmp(b, "\x89PNG\r\n\x1a\n", 8) == 0) {
        return Format::Png;
    }
    if (b[0] == 0xFF && b[1] == 0xD8) {
        return Format::Jpeg;
    }
    if (std::memcmp(b, "GIF8", 4) == 0) {
        return Format::Gif;
    }
    if (b[0] == 'B' && b[1] == 'M') {
        return Format::Bmp;
    }
    if (std::memcmp(b, "II*\0", 4) == 0 || std::memcmp(b, "MM\0*", 4) == 0) {
        return Format::Tiff;
    }
    return Format::Other;
}

// Only pages that exist: PNG, JPEG and BMP have one.
std::optional<ImageHeader> ownReader(Source& source, Format format, int page) {
    switch (format) {
        case Format::Png:
            return page == 0 ? readPng(source) : std::nullopt;
        case Format::Jpeg:
            return page == 0 ? readJpeg(source) : std::nullopt;
        case Format::Gif:
            return readGif(source, page);
        case Format::Bmp:
            return page == 0 ? readBmp(source) : std::nullopt;
        case Format::Tiff:
            return readTiff(source, page);
        case Format::Other:
            break;
    }
    return std::nullopt;
}

std::optional<ImageHeader> fromBitmap(const FreeImageBitmap& dib) {
    if (!dib) {
        return std::nullopt;
    }
    return sized(FreeImage_GetWidth(dib.get()), FreeImage_GetHeight(dib.get()),
                 FreeImage_GetBPP(dib.get()));
}

bool canLoadHeaderOnly(FREE_IMAGE_FORMAT fif) {
    return fif != FIF_UNKNOWN && FreeImage_FIFSupportsReading(fif) &&
           FreeImage_FIFSupportsNoPixels(fif);
}

// The formats read by readOtherHeader.
bool hasOtherReader(FREE_IMAGE_FORMAT fif) {
    switch (fif) {
        case FIF_DDS:
        case FIF_SGI:
        case FIF_J2K:
        case FIF_JP2:
        case FIF_MNG:
        case FIF_IFF:
        case FIF_PICT:
        case FIF_XBM:
        case FIF_WBMP:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::optional<ImageHeader> readImageHeader(const std::string& path, int page) {
    if (page < 0) {
        return std::nullopt;
    }
    FileSource source(path);
    if (!source.ok()) {
        return std::nullopt;
    }
    // Our formats are not handed on when our reader fails: such a header is damaged, and the
    // decoder then judges the file (the library's loaders do not all fail cleanly on damage).
    const Format format = formatOf(source);
    if (format != Format::Other || page != 0) {
        return ownReader(source, format, page);
    }
    FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path.c_str(), 0);
    if (fif == FIF_UNKNOWN) {
        fif = FreeImage_GetFIFFromFilename(path.c_str());
    }
    if (hasOtherReader(fif)) {
        return readOtherHeader(source, fif);
    }
    if (!canLoadHeaderOnly(fif)) {
        return std::nullopt;
    }
    return fromBitmap(FreeImageBitmap(FreeImage_Load(fif, path.c_str(), FIF_LOAD_NOPIXELS)));
}

std::optional<ImageHeader> readImageHeader(const std::uint8_t* data, std::size_t size, int page) {
    if (page < 0 || data == nullptr) {
        return std::nullopt;
    }
    MemorySource source(data, size);
    const Format format = formatOf(source);
    if (format != Format::Other || page != 0) {
        return ownReader(source, format, page);
    }
    if (size > UINT32_MAX) {
        return std::nullopt;
    }
    // The library only reads from the memory it is given.
    const MemoryPtr memory(FreeImage_OpenMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size)));
    if (!memory) {
        return std::nullopt;
    }
    const FREE_IMAGE_FORMAT fif = FreeImage_GetFileTypeFromMemory(memory.get(), 0);
    if (hasOtherReader(fif)) {
        return readOtherHeader(source, fif);
    }
    if (!canLoadHeaderOnly(fif)) {
        return std::nullopt;
    }
    return fromBitmap(
        FreeImageBitmap(FreeImage_LoadFromMemory(fif, memory.get(), FIF_LOAD_NOPIXELS)));
}

bool headerFitsDecodeLimit(const std::string& path, int page) {
    const std::optional<ImageHeader> header = readImageHeader(path, page);
    return !header || fitsDecodeLimit(header->width, header->height, header->bpp);
}

bool headerFitsDecodeLimit(const std::uint8_t* data, std::size_t size, int page) {
    const std::optional<ImageHeader> header = readImageHeader(data, size, page);
    return !header || fitsDecodeLimit(header->width, header->height, header->bpp);
}

}  // namespace tarn
