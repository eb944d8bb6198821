#include "imaging/effects/channel_planes.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>

namespace tarn {

namespace {

bool isGreyRamp(FIBITMAP* dib) {
    const FREE_IMAGE_COLOR_TYPE type = FreeImage_GetColorType(dib);
    return type == FIC_MINISBLACK || type == FIC_MINISWHITE;
}

bool is565(FIBITMAP* dib) {
    return FreeImage_GetRedMask(dib) == FI16_565_RED_MASK &&
           FreeImage_GetGreenMask(dib) == FI16_565_GREEN_MASK &&
           FreeImage_GetBlueMask(dib) == FI16_565_BLUE_MASK;
}

// Widens n bits to 8 and back, so that narrowing a widened value gives it back.
int widen(int value, int top) {
    return (value * 255 + top / 2) / top;
}
int narrow(int value, int top) {
    return (value * top + 127) / 255;
}

int paletteIndex(const BYTE* row, int x, unsigned bpp) {
    switch (bpp) {
        case 1:
            return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case 4:
            return (row[x >> 1] >> ((x & 1) != 0 ? 0 : 4)) & 15;
        default:
            return row[x];
    }
}

void setPaletteIndex(BYTE* row, int x, unsigned bpp, int index) {
    switch (bpp) {
        case 1: {
            const BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
            row[x >> 3] = static_cast<BYTE>(index != 0 ? row[x >> 3] | bit : row[x >> 3] & ~bit);
            break;
        }
        case 4: {
            const int shift = (x & 1) != 0 ? 0 : 4;
            row[x >> 1] = static_cast<BYTE>((row[x >> 1] & ~(15 << shift)) | (index << shift));
            break;
        }
        default:
            row[x] = static_cast<BYTE>(index);
    }
}

// The nearest palette entry of a colour (squared distance, first entry on a tie), remembered
// in a small table because photos repeat colours.
class NearestEntry {
public:
    NearestEntry(const RGBQUAD* palette, int count) : m_palette(palette), m_count(count) {
        m_keys.fill(std::numeric_limits<std::uint32_t>::max());
    }

    int operator()(int blue, int green, int red) {
        const std::uint32_t key = static_cast<std::uint32_t>(red << 16 | green << 8 | blue);
        const std::size_t slot = (key * 2654435761u) >> 20;
        if (m_keys[slot] != key) {
            m_keys[slot] = key;
            m_values[slot] = static_cast<std::uint8_t>(search(blue, green, red));
        }
        return m_values[slot];
    }

private:
    int search(int blue, int green, int red) const {
        int best = 0;
        int bestDistance = std::numeric_limits<int>::max();
        for (int i = 0; i < m_count; ++i) {
            const int db = m_palette[i].rgbBlue - blue;
            const int dg = m_palette[i].rgbGreen - green;
            const int dr = m_palette[i].rgbRed - red;
            const int distance = db * db + dg * dg + dr * dr;
            if (distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        return best;
    }

    const RGBQUAD* m_palette;
    int m_count;
    std::array<std::uint32_t, 4096> m_keys{};
    std::array<std::uint8_t, 4096> m_values{};
};

}  // namespace

PlaneKind planeKind(FIBITMAP* dib) {
    if (dib == nullptr || FreeImage_GetWidth(dib) == 0 || FreeImage_GetHeight(dib) == 0 ||
        !FreeImage_HasPixels(dib)) {
        return PlaneKind::None;
    }
    const unsigned bpp = FreeImage_GetBPP(dib);
    switch (FreeImage_GetImageType(dib)) {
        case FIT_BITMAP:
            if (bpp == 24 || bpp == 32 || (bpp == 8 && isGreyRamp(dib))) {
                return PlaneKind::Bytes;
            }
            if ((bpp == 1 || bpp == 4 || bpp == 8) && FreeImage_GetPalette(dib) != nullptr) {
                return PlaneKind::Unpacked;
            }
            return bpp == 16 ? PlaneKind::Unpacked : PlaneKind::None;
        case FIT_UINT16:
        case FIT_RGB16:
        case FIT_RGBA16:
            return PlaneKind::U16;
        case FIT_INT16:
            return PlaneKind::I16;
        case FIT_UINT32:
            return PlaneKind::U32;
        case FIT_INT32:
            return PlaneKind::I32;
        case FIT_FLOAT:
        case FIT_RGBF:
        case FIT_RGBAF:
            return PlaneKind::F32;
        case FIT_DOUBLE:
            return PlaneKind::F64;
        default:
            return PlaneKind::None;
    }
}

bool UnpackedColors::unpack(FIBITMAP* dib) {
    if (planeKind(dib) != PlaneKind::Unpacked) {
        return false;
    }
    m_width = static_cast<int>(FreeImage_GetWidth(dib));
    m_height = static_cast<int>(FreeImage_GetHeight(dib));
    m_values.assign(static_cast<std::size_t>(m_width) * 3 * m_height, 0);
    const unsigned bpp = FreeImage_GetBPP(dib);
    const RGBQUAD* palette = FreeImage_GetPalette(dib);
    const bool rgb565 = is565(dib);
    const int lastEntry = static_cast<int>(FreeImage_GetColorsUsed(dib)) - 1;
    for (int y = 0; y < m_height; ++y) {
        const BYTE* row = FreeImage_GetScanLine(dib, y);
        std::uint8_t* out = plane().row(y);
        for (int x = 0; x < m_width; ++x, out += 3) {
            if (bpp == 16) {
                const int v = row[2 * x] | row[2 * x + 1] << 8;
                out[0] = static_cast<std::uint8_t>(widen(v & 31, 31));
                out[1] = static_cast<std::uint8_t>(rgb565 ? widen((v >> 5) & 63, 63)
                                                          : widen((v >> 5) & 31, 31));
                out[2] = static_cast<std::uint8_t>(widen((v >> (rgb565 ? 11 : 10)) & 31, 31));
            } else {
                const RGBQUAD& entry = palette[std::min(paletteIndex(row, x, bpp), lastEntry)];
                out[0] = entry.rgbBlue;
                out[1] = entry.rgbGreen;
                out[2] = entry.rgbRed;
            }
        }
    }
    return true;
}

ChannelPlane<std::uint8_t> UnpackedColors::plane() {
    return {m_values.data(), static_cast<std::ptrdiff_t>(m_width) * 3, m_width, m_height, 3};
}

void UnpackedColors::pack(FIBITMAP* dib) const {
    const unsigned bpp = FreeImage_GetBPP(dib);
    const bool rgb565 = is565(dib);
    const int colors = static_cast<int>(FreeImage_GetColorsUsed(dib));
    // The nearest-entry table is large; it lives on the heap, not on a band's stack.
    const auto nearest =
        bpp == 16 ? nullptr : std::make_unique<NearestEntry>(FreeImage_GetPalette(dib), colors);
    for (int y = 0; y < m_height; ++y) {
        BYTE* row = FreeImage_GetScanLine(dib, y);
        const std::uint8_t* in = m_values.data() + static_cast<std::size_t>(y) * m_width * 3;
        for (int x = 0; x < m_width; ++x, in += 3) {
            if (bpp == 16) {
                const int blue = narrow(in[0], 31);
                const int red = narrow(in[2], 31);
                // 5-5-5 leaves the top bit alone, as it found it.
                const int v = rgb565 ? red << 11 | narrow(in[1], 63) << 5 | blue
                                     : (row[2 * x + 1] & 0x80) << 8 | red << 10 |
                                           narrow(in[1], 31) << 5 | blue;
                row[2 * x] = static_cast<BYTE>(v);
                row[2 * x + 1] = static_cast<BYTE>(v >> 8);
            } else {
                setPaletteIndex(row, x, bpp, (*nearest)(in[0], in[1], in[2]));
            }
        }
    }
}

}  // namespace tarn
