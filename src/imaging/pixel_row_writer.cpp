#include "imaging/pixel_rows.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <type_traits>

namespace tarn {

namespace {

WORD wide(unsigned char value) {
    return static_cast<WORD>(value * 257u);
}

float toFloat(unsigned char value) {
    return value / 255.0f;
}

// Rec. 709 luminance, rounded; exact for grey.
unsigned char luminance(const unsigned char* rgb) {
    return static_cast<unsigned char>((2126u * rgb[0] + 7152u * rgb[1] + 722u * rgb[2] + 5000u) /
                                      10000u);
}

// The nearest of levels + 1 steps; the reader's scaling of that level gives back the byte.
unsigned level(unsigned char value, unsigned levels) {
    return (value * levels + 127u) / 255u;
}

template <class Pixel>
void writeRgb16(BYTE* line, int width, const unsigned char* rgb, const unsigned char* alpha) {
    auto* out = reinterpret_cast<Pixel*>(line);
    for (int x = 0; x < width; ++x, rgb += 3) {
        out[x].red = wide(rgb[0]);
        out[x].green = wide(rgb[1]);
        out[x].blue = wide(rgb[2]);
    }
    if constexpr (std::is_same_v<Pixel, FIRGBA16>) {
        for (int x = 0; alpha != nullptr && x < width; ++x) {
            out[x].alpha = wide(alpha[x]);
        }
    }
}

template <class Pixel>
void writeRgbFloat(BYTE* line, int width, const unsigned char* rgb, const unsigned char* alpha) {
    auto* out = reinterpret_cast<Pixel*>(line);
    for (int x = 0; x < width; ++x, rgb += 3) {
        out[x].red = toFloat(rgb[0]);
        out[x].green = toFloat(rgb[1]);
        out[x].blue = toFloat(rgb[2]);
    }
    if constexpr (std::is_same_v<Pixel, FIRGBAF>) {
        for (int x = 0; alpha != nullptr && x < width; ++x) {
            out[x].alpha = toFloat(alpha[x]);
        }
    }
}

template <int kStep>
void writeBytes(BYTE* line, int width, const unsigned char* rgb, const unsigned char* alpha) {
    BYTE* p = line;
    for (int x = 0; x < width; ++x, rgb += 3, p += kStep) {
        p[FI_RGBA_RED] = rgb[0];
        p[FI_RGBA_GREEN] = rgb[1];
        p[FI_RGBA_BLUE] = rgb[2];
    }
    if constexpr (kStep == 4) {
        for (int x = 0; alpha != nullptr && x < width; ++x) {
            line[static_cast<std::ptrdiff_t>(x) * 4 + FI_RGBA_ALPHA] = alpha[x];
        }
    }
}

void writePacked16(BYTE* line, int width, const unsigned char* rgb, bool is565) {
    auto* out = reinterpret_cast<WORD*>(line);
    for (int x = 0; x < width; ++x, rgb += 3) {
        out[x] = is565 ? static_cast<WORD>(level(rgb[0], 31) << 11 | level(rgb[1], 63) << 5 |
                                           level(rgb[2], 31))
                       : static_cast<WORD>(level(rgb[0], 31) << 10 | level(rgb[1], 31) << 5 |
                                           level(rgb[2], 31));
    }
}

bool isPalette(PixelLayout layout) {
    return layout == PixelLayout::Palette1 || layout == PixelLayout::Palette4 ||
           layout == PixelLayout::Palette8;
}

}  // namespace

PixelRowWriter::PixelRowWriter(FIBITMAP* dib) : m_dib(dib), m_layout(pixelLayoutOf(dib)) {
    if (!m_layout) {
        return;
    }
    m_width = static_cast<int>(FreeImage_GetWidth(dib));
    m_height = static_cast<int>(FreeImage_GetHeight(dib));
    if (isPalette(*m_layout)) {
        m_colors = std::min(FreeImage_GetColorsUsed(dib), 256u);
        if (const RGBQUAD* palette = FreeImage_GetPalette(dib)) {
            std::memcpy(m_palette, palette, m_colors * sizeof(RGBQUAD));
        }
        const BYTE* table = FreeImage_GetTransparencyTable(dib);
        m_transparent = FreeImage_IsTransparent(dib) && table != nullptr;
        const unsigned counted =
            m_transparent ? std::min<unsigned>(FreeImage_GetTransparencyCount(dib), 256u) : 0;
        for (unsigned i = 0; i < 256; ++i) {
            m_palette[i].rgbReserved = i < counted ? table[i] : 255;
        }
    }
}

BYTE* PixelRowWriter::scanLine(int row) const {
    return FreeImage_GetScanLine(m_dib, m_height - 1 - row);
}

unsigned char PixelRowWriter::paletteIndex(const unsigned char* rgb, const unsigned char* alpha) {
    const bool keyedAlpha = m_transparent && alpha != nullptr;
    const std::uint32_t colour = std::uint32_t{rgb[0]} << 16 | std::uint32_t{rgb[1]} << 8 | rgb[2];
    const std::uint64_t key =
        keyedAlpha ? (std::uint64_t{1} << 32 | std::uint64_t{*alpha} << 24 | colour) : colour;
    if (const auto found = m_indexOf.find(key); found != m_indexOf.end()) {
        return found->second;
    }
    // The first exact entry, else the nearest.
    unsigned best = 0;
    long bestDistance = std::numeric_limits<long>::max();
    for (unsigned i = 0; i < m_colors && bestDistance > 0; ++i) {
        const RGBQUAD& c = m_palette[i];
        const long r = long{c.rgbRed} - rgb[0];
        const long g = long{c.rgbGreen} - rgb[1];
        const long b = long{c.rgbBlue} - rgb[2];
        const long a = keyedAlpha ? long{c.rgbReserved} - *alpha : 0;
        const long distance = r * r + g * g + b * b + a * a;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    const auto index = static_cast<unsigned char>(best);
    m_indexOf.emplace(key, index);
    return index;
}

void PixelRowWriter::writeRow(int row, const unsigned char* rgb, const unsigned char* alpha) {
    if (!m_layout) {
        return;
    }
    BYTE* line = scanLine(row);
    switch (*m_layout) {
        case PixelLayout::Palette1:
        case PixelLayout::Palette4:
        case PixelLayout::Palette8: {
            m_indices.resize(static_cast<std::size_t>(m_width));
            for (int x = 0; x < m_width; ++x) {
                m_indices[x] = paletteIndex(rgb + static_cast<std::ptrdiff_t>(x) * 3,
                                            alpha != nullptr ? alpha + x : nullptr);
            }
            writeIndices(row, m_indices.data());
            return;
        }
        case PixelLayout::Rgb555:
        case PixelLayout::Rgb565:
            return writePacked16(line, m_width, rgb, *m_layout == PixelLayout::Rgb565);
        case PixelLayout::Grey16: {
            auto* out = reinterpret_cast<WORD*>(line);
            for (int x = 0; x < m_width; ++x, rgb += 3) {
                out[x] = wide(luminance(rgb));
            }
            return;
        }
        case PixelLayout::Rgb24:
            return writeBytes<3>(line, m_width, rgb, alpha);
        case PixelLayout::Rgba32:
            return writeBytes<4>(line, m_width, rgb, alpha);
        case PixelLayout::Rgb48:
            return writeRgb16<FIRGB16>(line, m_width, rgb, alpha);
        case PixelLayout::Rgba64:
            return writeRgb16<FIRGBA16>(line, m_width, rgb, alpha);
        case PixelLayout::GreyFloat: {
            auto* out = reinterpret_cast<float*>(line);
            for (int x = 0; x < m_width; ++x, rgb += 3) {
                out[x] = toFloat(luminance(rgb));
            }
            return;
        }
        case PixelLayout::RgbFloat:
            return writeRgbFloat<FIRGBF>(line, m_width, rgb, alpha);
        case PixelLayout::RgbaFloat:
            return writeRgbFloat<FIRGBAF>(line, m_width, rgb, alpha);
    }
}

void PixelRowWriter::writeIndices(int row, const unsigned char* indices) {
    if (!m_layout) {
        return;
    }
    BYTE* line = scanLine(row);
    switch (*m_layout) {
        case PixelLayout::Palette8:
            std::memcpy(line, indices, static_cast<std::size_t>(m_width));
            return;
        case PixelLayout::Palette1:
        case PixelLayout::Palette4: {
            const unsigned bpp = *m_layout == PixelLayout::Palette1 ? 1 : 4;
            const unsigned mask = (1u << bpp) - 1;
            for (int x = 0; x < m_width; ++x) {
                const unsigned bit = static_cast<unsigned>(x) * bpp;
                const unsigned shift = 8 - bpp - bit % 8;
                BYTE& byte = line[bit / 8];
                byte = static_cast<BYTE>((byte & ~(mask << shift)) | (indices[x] & mask) << shift);
            }
            return;
        }
        default:
            return;
    }
}

}  // namespace tarn
