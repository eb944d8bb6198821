#include <cstring>
#include <limits>

#include "imaging/fip_super_image.h"
#include "imaging/freeimage_ptr.h"

namespace tarn {

namespace {

// Header of a packed bitmap, laid out as on disk (40 bytes, little-endian fields).
struct PackedHeader {
    std::uint32_t size;
    std::int32_t width;
    std::int32_t height;
    std::uint16_t planes;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::uint32_t sizeImage;
    std::int32_t xPelsPerMeter;
    std::int32_t yPelsPerMeter;
    std::uint32_t clrUsed;
    std::uint32_t clrImportant;
};
static_assert(sizeof(PackedHeader) == 40);

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
// Other image types than standard bitmaps are marked like this in the compression field.
constexpr std::uint32_t kTypeMark = 0xFF;
// Keeps a hostile header from asking for absurd memory.
constexpr std::uint64_t kMaxPackedPixels = 1ull << 30;

unsigned paletteEntries(FIBITMAP* dib) {
    return FreeImage_GetBPP(dib) <= 8 ? FreeImage_GetColorsUsed(dib) : 0;
}

bool hasMasks(FIBITMAP* dib) {
    return FreeImage_GetImageType(dib) == FIT_BITMAP && FreeImage_GetBPP(dib) == 16;
}
}  // namespace

std::size_t fipSuperImage::getDIBSize() const {
    if (!isValid()) {
        return 0;
    }
    return sizeof(PackedHeader) + (hasMasks(_dib) ? 3 * sizeof(std::uint32_t) : 0) +
           paletteEntries(_dib) * sizeof(RGBQUAD) +
           static_cast<std::size_t>(FreeImage_GetPitch(_dib)) * FreeImage_GetHeight(_dib);
}

std::vector<std::uint8_t> fipSuperImage::copyToHandle() const {
    std::vector<std::uint8_t> packed;
    if (!isValid()) {
        return packed;
    }
    packed.resize(getDIBSize());
    const FREE_IMAGE_TYPE type = FreeImage_GetImageType(_dib);
    const std::size_t pixels =
        static_cast<std::size_t>(FreeImage_GetPitch(_dib)) * FreeImage_GetHeight(_dib);
    PackedHeader header{};
    header.size = sizeof(PackedHeader);
    header.width = static_cast<std::int32_t>(FreeImage_GetWidth(_dib));
    header.height = static_cast<std::int32_t>(FreeImage_GetHeight(_dib));
    header.planes = 1;
    header.bitCount = static_cast<std::uint16_t>(FreeImage_GetBPP(_dib));
    header.compression = type != FIT_BITMAP ? kTypeMark + type
                         : hasMasks(_dib)   ? kBiBitfields
                                            : kBiRgb;
    header.sizeImage = static_cast<std::uint32_t>(pixels);
    header.xPelsPerMeter = static_cast<std::int32_t>(FreeImage_GetDotsPerMeterX(_dib));
    header.yPelsPerMeter = static_cast<std::int32_t>(FreeImage_GetDotsPerMeterY(_dib));
    header.clrUsed = paletteEntries(_dib);
    std::uint8_t* out = packed.data();
    std::memcpy(out, &header, sizeof header);
    out += sizeof header;
    if (hasMasks(_dib)) {
        const std::uint32_t masks[3] = {FreeImage_GetRedMask(_dib), FreeImage_GetGreenMask(_dib),
                                        FreeImage_GetBlueMask(_dib)};
        std::memcpy(out, masks, sizeof masks);
        out += sizeof masks;
    }
    if (header.clrUsed > 0) {
        std::memcpy(out, FreeImage_GetPalette(_dib), header.clrUsed * sizeof(RGBQUAD));
        out += header.clrUsed * sizeof(RGBQUAD);
    }
    std::memcpy(out, FreeImage_GetBits(_dib), pixels);
    return packed;
}

BOOL fipSuperImage::copyFromHandle(const std::uint8_t* data, std::size_t size) {
    PackedHeader header{};
    if (data == nullptr || size < sizeof header) {
        return FALSE;
    }
    std::memcpy(&header, data, sizeof header);
    if ((header.size != 40 && header.size != 108 && header.size != 124) || header.size > size ||
        header.width <= 0 || header.height == 0 ||
        header.height == std::numeric_limits<std::int32_t>::min() || header.planes != 1) {
        return FALSE;
    }
    const auto width = static_cast<unsigned>(header.width);
    const bool topDown = header.height < 0;
    const auto height = static_cast<unsigned>(topDown ? -header.height : header.height);
    if (static_cast<std::uint64_t>(width) * height > kMaxPackedPixels) {
        return FALSE;
    }
    FREE_IMAGE_TYPE type = FIT_BITMAP;
    const unsigned bpp = header.bitCount;
    std::size_t offset = header.size;
    std::uint32_t masks[3] = {0, 0, 0};
    if (header.compression >= kTypeMark) {
        // The number is checked before it becomes the enumeration: out of range it is no type.
        const std::uint32_t number = header.compression - kTypeMark;
        if (number <= static_cast<std::uint32_t>(FIT_BITMAP) ||
            number > static_cast<std::uint32_t>(FIT_RGBAF)) {
            return FALSE;
        }
        type = static_cast<FREE_IMAGE_TYPE>(number);
        // The depth must be the type's own.
        FreeImageBitmap probe(FreeImage_AllocateT(type, 1, 1));
        if (!probe || FreeImage_GetBPP(probe.get()) != bpp) {
            return FALSE;
        }
    } else if (header.compression == kBiRgb) {
        if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
            return FALSE;
        }
        if (bpp == 16) {
            masks[0] = FI16_555_RED_MASK;
            masks[1] = FI16_555_GREEN_MASK;
            masks[2] = FI16_555_BLUE_MASK;
        }
    } else if (header.compression == kBiBitfields) {
        if (bpp != 16 && bpp != 32) {
            return FALSE;
        }
        // Masks follow a short header and sit inside a long one.
        const std::size_t at = header.size == 40 ? header.size : 40;
        if (at + sizeof masks > size) {
            return FALSE;
        }
        std::memcpy(masks, data + at, sizeof masks);
        if (header.size == 40) {
            offset += sizeof masks;
        }
    } else {
        return FALSE;
    }
    unsigned colors = 0;
    if (type == FIT_BITMAP && bpp <= 8) {
        colors = header.clrUsed == 0 ? 1u << bpp : header.clrUsed;
        if (colors > (1u << bpp)) {
            return FALSE;
        }
    }
    const std::uint64_t pitch = ((static_cast<std::uint64_t>(width) * bpp + 31) / 32) * 4;
    const std::uint64_t pixels = pitch * height;
    if (offset + colors * sizeof(RGBQUAD) + pixels > size) {
        return FALSE;
    }
    FreeImageBitmap dib(FreeImage_AllocateT(type, static_cast<int>(width), static_cast<int>(height),
                                            static_cast<int>(bpp), masks[0], masks[1], masks[2]));
    if (!dib || FreeImage_GetPitch(dib.get()) != pitch) {
        return FALSE;
    }
    if (colors > 0) {
        RGBQUAD* palette = FreeImage_GetPalette(dib.get());
        std::memset(palette, 0, (1u << bpp) * sizeof(RGBQUAD));
        std::memcpy(palette, data + offset, colors * sizeof(RGBQUAD));
        offset += colors * sizeof(RGBQUAD);
    }
    const std::uint8_t* source = data + offset;
    for (unsigned y = 0; y < height; ++y) {
        const unsigned row = topDown ? height - 1 - y : y;
        std::memcpy(FreeImage_GetScanLine(dib.get(), static_cast<int>(y)), source + row * pitch,
                    pitch);
    }
    if (header.xPelsPerMeter > 0) {
        FreeImage_SetDotsPerMeterX(dib.get(), static_cast<unsigned>(header.xPelsPerMeter));
    }
    if (header.yPelsPerMeter > 0) {
        FreeImage_SetDotsPerMeterY(dib.get(), static_cast<unsigned>(header.yPelsPerMeter));
    }
    return adopt(dib.release());
}
}  // namespace tarn
