#include "imaging/bmp_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <vector>

#include "common/path_rules.h"
#include "imaging/decode_limits.h"
#include "imaging/jpeg_codec.h"

namespace tarn {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

std::uint32_t u16(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8);
}

std::uint32_t u32(const std::uint8_t* p) {
    return u16(p) | (u16(p + 2) << 16);
}

// One colour channel of a bit-field pixel: where it sits and how many bits it has. Narrow
// channels widen to 8 bits by repeating their bits (so full scale stays full), wide ones keep
// their top 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (m != 0) {
            shift = std::countr_zero(m);
            bits = std::bit_width(m >> shift);
        }
    }
    BYTE scale(std::uint32_t pixel) const {
        if (bits == 0) {
            return 0;
        }
        const std::uint32_t value = (pixel & mask) >> shift;
        if (bits >= 8) {
            return static_cast<BYTE>(value >> (bits - 8));
        }
        std::uint32_t wide = 0;
        int filled = 0;
        for (; filled < 8; filled += bits) {
            wide = (wide << bits) | value;
        }
        return static_cast<BYTE>(wide >> (filled - 8));
    }
};

struct Header {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool topDown = false;
    unsigned bits = 0;
    std::uint32_t compression = kRgb;
    std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha
    std::array<RGBQUAD, 256> palette{};    // entries the file lacks stay black
    std::size_t pixelOffset = 0;
    std::int32_t dotsPerMeterX = 0;
    std::int32_t dotsPerMeterY = 0;
};

bool validDepth(unsigned bits, std::uint32_t compression) {
    switch (compression) {
        case kRgb:
            return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        case kRle8:
            return bits == 8;
        case kRle4:
            return bits == 4;
        case kBitFields:
        case kAlphaBitFields:
            return bits == 16 || bits == 24 || bits == 32;
        default:
            return false;
    }
}

bool parseHeader(const std::uint8_t* data, std::size_t size, Header& h) {
    if (size < kFileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M') {
        return false;
    }
    const std::uint32_t dataOffset = u32(data + 10);
    const std::uint32_t headerSize = u32(data + 14);
    const std::uint8_t* info = data + kFileHeaderSize;
    std::size_t paletteStart = kFileHeaderSize + headerSize;
    std::size_t entrySize = 4;
    std::uint32_t colorsUsed = 0;
    if (headerSize == 12) {
        h.width = u16(info + 4);
        h.height = u16(info + 6);
        h.bits = u16(info + 10);
        entrySize = 3;
        if (h.bits > 8 && h.bits != 24) {
            return false;
        }
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
               headerSize == 124) {
        if (size < kFileHeaderSize + headerSize) {
            return false;
        }
        const auto width = static_cast<std::int32_t>(u32(info + 4));
        const auto height = static_cast<std::int32_t>(u32(info + 8));
        if (width <= 0 || height == std::numeric_limits<std::int32_t>::min()) {
            return false;
        }
        h.width = static_cast<std::uint32_t>(width);
        h.topDown = height < 0;
        h.height = static_cast<std::uint32_t>(height < 0 ? -height : height);
        h.bits = u16(info + 14);
        h.compression = u32(info + 16);
        h.dotsPerMeterX = static_cast<std::int32_t>(u32(info + 24));
        h.dotsPerMeterY = static_cast<std::int32_t>(u32(info + 28));
        colorsUsed = u32(info + 32);
        // Masks sit in the larger headers, or follow the 40-byte one.
        const std::size_t inHeader = headerSize >= 56 ? 4 : headerSize == 52 ? 3 : 0;
        const std::size_t wanted = h.compression == kAlphaBitFields ? 4
                                   : h.compression == kBitFields    ? 3
                                                                    : 0;
        if (inHeader == 0 && wanted > 0) {
            if (size < paletteStart + wanted * 4) {
                return false;
            }
            paletteStart += wanted * 4;
        }
        const std::size_t count = wanted == 0 ? 0 : inHeader == 0 ? wanted : inHeader;
        for (std::size_t i = 0; i < count; ++i) {
            h.masks[i] = u32(info + 40 + i * 4);
        }
    } else {
        return false;
    }
    if (h.width == 0 || h.height == 0 || !validDepth(h.bits, h.compression) ||
        !fitsDecodeLimit(h.width, h.height, h.bits <= 8 ? 8 : 32)) {
        return false;
    }
    if (h.compression == kRgb && h.bits > 8) {
        // Plain deep pixels: 5-5-5 for 16 bits; 32-bit files may carry alpha in the top byte.
        h.masks = h.bits == 16 ? std::array<std::uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0}
                               : std::array<std::uint32_t, 4>{0xFF0000, 0xFF00, 0xFF, 0};
        if (h.bits == 32) {
            h.masks[3] = 0xFF000000u;
        }
    }
    std::size_t colors = 0;
    if (h.bits <= 8) {
        const std::size_t most = std::size_t{1} << h.bits;
        colors = colorsUsed == 0 ? most : std::min<std::size_t>(colorsUsed, most);
    }
    if (dataOffset != 0) {
        if (dataOffset < paletteStart || dataOffset > size) {
            return false;
        }
        colors = std::min(colors, (dataOffset - paletteStart) / entrySize);
        h.pixelOffset = dataOffset;
    } else {
        h.pixelOffset = paletteStart + colors * entrySize;
    }
    if (paletteStart + colors * entrySize > size || h.pixelOffset > size) {
        return false;
    }
    for (std::size_t i = 0; i < colors; ++i) {
        const std::uint8_t* entry = data + paletteStart + i * entrySize;
        h.palette[i] = RGBQUAD{entry[0], entry[1], entry[2], 0};
    }
    return true;
}

FreeImageBitmap allocate(const Header& h, unsigned bpp) {
    FreeImageBitmap dib(FreeImage_Allocate(static_cast<int>(h.width), static_cast<int>(h.height),
                                           static_cast<int>(bpp), FI_RGBA_RED_MASK,
                                           FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK));
    if (dib && bpp <= 8) {
        RGBQUAD* palette = FreeImage_GetPalette(dib.get());
        std::copy_n(h.palette.begin(), FreeImage_GetColorsUsed(dib.get()), palette);
    }
    return dib;
}

// FreeImage's rows run bottom-up.
BYTE* scanLineForFileRow(FIBITMAP* dib, const Header& h, std::uint32_t row) {
    return FreeImage_GetScanLine(dib, static_cast<int>(h.topDown ? h.height - 1 - row : row));
}

std::uint32_t readPixel(const std::uint8_t* p, unsigned bytes) {
    std::uint32_t value = 0;
    for (unsigned i = 0; i < bytes; ++i) {
        value |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    }
    return value;
}

FreeImageBitmap readUncompressed(const std::uint8_t* data, std::size_t size, const Header& h) {
    const std::uint64_t stride = (static_cast<std::uint64_t>(h.width) * h.bits + 31) / 32 * 4;
    if (stride * h.height > size - h.pixelOffset) {
        return {};
    }
    const std::uint8_t* pixels = data + h.pixelOffset;
    if (h.bits <= 8 || (h.bits == 24 && h.compression == kRgb)) {
        // The rows are laid out as FreeImage keeps them.
        FreeImageBitmap dib = allocate(h, h.bits);
        if (!dib) {
            return {};
        }
        const unsigned line = FreeImage_GetLine(dib.get());
        for (std::uint32_t row = 0; row < h.height; ++row) {
            std::memcpy(scanLineForFileRow(dib.get(), h, row), pixels + row * stride, line);
        }
        return dib;
    }
    const unsigned bytes = h.bits / 8;
    // An alpha channel that is zero throughout is taken for an unused one.
    bool hasAlpha = false;
    if (h.masks[3] != 0) {
        for (std::uint32_t row = 0; row < h.height && !hasAlpha; ++row) {
            const std::uint8_t* src = pixels + row * stride;
            for (std::uint32_t x = 0; x < h.width && !hasAlpha; ++x, src += bytes) {
                hasAlpha = (readPixel(src, bytes) & h.masks[3]) != 0;
            }
        }
    }
    FreeImageBitmap dib = allocate(h, hasAlpha ? 32 : 24);
    if (!dib) {
        return {};
    }
    const Channel red(h.masks[0]);
    const Channel green(h.masks[1]);
    const Channel blue(h.masks[2]);
    const Channel alpha(h.masks[3]);
    const unsigned outBytes = hasAlpha ? 4 : 3;
    for (std::uint32_t row = 0; row < h.height; ++row) {
        const std::uint8_t* src = pixels + row * stride;
        BYTE* dst = scanLineForFileRow(dib.get(), h, row);
        for (std::uint32_t x = 0; x < h.width; ++x, src += bytes, dst += outBytes) {
            const std::uint32_t pixel = readPixel(src, bytes);
            dst[FI_RGBA_RED] = red.scale(pixel);
            dst[FI_RGBA_GREEN] = green.scale(pixel);
            dst[FI_RGBA_BLUE] = blue.scale(pixel);
            if (hasAlpha) {
                dst[FI_RGBA_ALPHA] = alpha.scale(pixel);
            }
        }
    }
    return dib;
}

// RLE pictures come out 8-bit palettised; pixels the codes skip keep index 0. Runs past the
// row or the picture refuse the file, as does data that ends before the last row.
FreeImageBitmap readRle(const std::uint8_t* data, std::size_t size, const Header& h) {
    FreeImageBitmap dib = allocate(h, 8);
    if (!dib) {
        return {};
    }
    std::memset(FreeImage_GetBits(dib.get()), 0,
                static_cast<std::size_t>(FreeImage_GetPitch(dib.get())) * h.height);
    const bool four = h.compression == kRle4;
    const std::uint8_t* p = data + h.pixelOffset;
    const std::uint8_t* const end = data + size;
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    // Some writers run on into the row's padding up to the next 4 bytes; those pixels are
    // dropped, anything further refuses the file.
    const std::uint32_t rowPixels = static_cast<std::uint32_t>(
        (static_cast<std::uint64_t>(h.width) * h.bits + 31) / 32 * 32 / h.bits);
    const auto fits = [&](std::uint32_t n) { return y < h.height && n <= rowPixels - x; };
    const auto shown = [&](std::uint32_t n) { return x >= h.width ? 0 : std::min(n, h.width - x); };
    while (end - p >= 2) {
        const std::uint32_t count = p[0];
        const std::uint8_t value = p[1];
        p += 2;
        if (count > 0) {
            if (!fits(count)) {
                return {};
            }
            BYTE* dst = scanLineForFileRow(dib.get(), h, y);
            for (std::uint32_t i = 0; i < shown(count); ++i) {
                dst[x + i] = four ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value;
            }
            x += count;
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return dib;
        } else if (value == 2) {
            if (end - p < 2) {
                return {};
            }
            x += p[0];
            y += p[1];
            p += 2;
            if (y >= h.height || x > rowPixels) {
                return {};
            }
        } else {
            const std::size_t dataBytes = four ? (value + 1) / 2 : value;
            const std::size_t padded = (dataBytes + 1) / 2 * 2;
            if (!fits(value) || static_cast<std::size_t>(end - p) < dataBytes) {
                return {};
            }
            BYTE* dst = scanLineForFileRow(dib.get(), h, y);
            for (std::uint32_t i = 0; i < shown(value); ++i) {
                dst[x + i] = four ? ((i % 2 == 0) ? p[i / 2] >> 4 : p[i / 2] & 0x0F) : p[i];
            }
            x += value;
            p += std::min<std::size_t>(padded, static_cast<std::size_t>(end - p));
        }
    }
    // Without an end-of-bitmap code, every row must have been ended.
    return y >= h.height ? std::move(dib) : FreeImageBitmap();
}

}  // namespace

FreeImageBitmap readBmp(const std::uint8_t* data, std::size_t size) {
    Header h;
    if (data == nullptr || !parseHeader(data, size, h)) {
        return {};
    }
    FreeImageBitmap dib = h.compression == kRle4 || h.compression == kRle8
                              ? readRle(data, size, h)
                              : readUncompressed(data, size, h);
    if (dib) {
        FreeImage_SetDotsPerMeterX(dib.get(), static_cast<unsigned>(std::max(h.dotsPerMeterX, 0)));
        FreeImage_SetDotsPerMeterY(dib.get(), static_cast<unsigned>(std::max(h.dotsPerMeterY, 0)));
    }
    return dib;
}

FreeImageBitmap readBmpFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!readFileBytes(path, bytes)) {
        return {};
    }
    return readBmp(bytes.data(), bytes.size());
}

bool hasBmpExtension(const std::string& path) {
    const std::string extension = fileExtension(path);
    return extensionEquals(extension, "bmp") || extensionEquals(extension, "dib") ||
           extensionEquals(extension, "rle");
}

}  // namespace tarn
