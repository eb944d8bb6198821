#include "imaging/pixel_rows.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace tarn {

namespace {

// Column of the i-th pixel read: a straight span, or a list of columns.
struct Span {
    int first;
    int operator()(int i) const { return first + i; }
};
struct Columns {
    const int* columns;
    int operator()(int i) const { return columns[i]; }
};

unsigned char high(WORD value) {
    return static_cast<unsigned char>(value >> 8);
}

unsigned char fromFloat(float value) {
    // NaN reads as 0.
    return value > 0 ? (value < 1 ? static_cast<unsigned char>(value * 255 + 0.5f) : 255) : 0;
}

template <unsigned kBpp>
unsigned paletteIndex(const BYTE* line, int x) {
    if constexpr (kBpp == 8) {
        return line[x];
    } else {
        const unsigned bit = static_cast<unsigned>(x) * kBpp;
        return (line[bit / 8] >> (8 - kBpp - bit % 8)) & ((1u << kBpp) - 1);
    }
}

// One loop per layout, with and without alpha, so that nothing is decided per pixel.
template <bool kAlpha, unsigned kBpp, class Column>
void readPalette(const BYTE* line, const RGBQUAD* lookup, Column column, int count,
                 unsigned char* rgb, unsigned char* alpha) {
    for (int i = 0; i < count; ++i, rgb += 3) {
        const RGBQUAD& c = lookup[paletteIndex<kBpp>(line, column(i))];
        rgb[0] = c.rgbRed;
        rgb[1] = c.rgbGreen;
        rgb[2] = c.rgbBlue;
        if constexpr (kAlpha) {
            alpha[i] = c.rgbReserved;
        }
    }
}

template <bool kAlpha, int kStep, class Column>
void readBytes(const BYTE* line, Column column, int count, unsigned char* rgb,
               unsigned char* alpha) {
    for (int i = 0; i < count; ++i, rgb += 3) {
        const BYTE* p = line + static_cast<std::ptrdiff_t>(column(i)) * kStep;
        rgb[0] = p[FI_RGBA_RED];
        rgb[1] = p[FI_RGBA_GREEN];
        rgb[2] = p[FI_RGBA_BLUE];
        if constexpr (kAlpha) {
            alpha[i] = kStep == 4 ? p[FI_RGBA_ALPHA] : 255;
        }
    }
}

// The library's own 5- and 6-bit to 8-bit scaling, as its converters do it.
template <bool kAlpha, bool k565, class Column>
void readPacked16(const BYTE* line, Column column, int count, unsigned char* rgb,
                  unsigned char* alpha) {
    const auto* in = reinterpret_cast<const WORD*>(line);
    for (int i = 0; i < count; ++i, rgb += 3) {
        const unsigned p = in[column(i)];
        if constexpr (k565) {
            rgb[0] = static_cast<unsigned char>(((p & FI16_565_RED_MASK) >> 11) * 0xFF / 0x1F);
            rgb[1] = static_cast<unsigned char>(((p & FI16_565_GREEN_MASK) >> 5) * 0xFF / 0x3F);
            rgb[2] = static_cast<unsigned char>((p & FI16_565_BLUE_MASK) * 0xFF / 0x1F);
        } else {
            rgb[0] = static_cast<unsigned char>(((p & FI16_555_RED_MASK) >> 10) * 0xFF / 0x1F);
            rgb[1] = static_cast<unsigned char>(((p & FI16_555_GREEN_MASK) >> 5) * 0xFF / 0x1F);
            rgb[2] = static_cast<unsigned char>((p & FI16_555_BLUE_MASK) * 0xFF / 0x1F);
        }
        if constexpr (kAlpha) {
            alpha[i] = 255;
        }
    }
}

template <bool kAlpha, class Column>
void readGrey16(const BYTE* line, Column column, int count, unsigned char* rgb,
                unsigned char* alpha) {
    const auto* in = reinterpret_cast<const WORD*>(line);
    for (int i = 0; i < count; ++i, rgb += 3) {
        rgb[0] = rgb[1] = rgb[2] = high(in[column(i)]);
        if constexpr (kAlpha) {
            alpha[i] = 255;
        }
    }
}

template <bool kAlpha, class Pixel, class Column>
void readRgb16(const BYTE* line, Column column, int count, unsigned char* rgb,
               unsigned char* alpha) {
    const auto* in = reinterpret_cast<const Pixel*>(line);
    for (int i = 0; i < count; ++i, rgb += 3) {
        const Pixel& c = in[column(i)];
        rgb[0] = high(c.red);
        rgb[1] = high(c.green);
        rgb[2] = high(c.blue);
        if constexpr (kAlpha) {
            if constexpr (std::is_same_v<Pixel, FIRGBA16>) {
                alpha[i] = high(c.alpha);
            } else {
                alpha[i] = 255;
            }
        }
    }
}

template <bool kAlpha, class Column>
void readGreyFloat(const BYTE* line, Column column, int count, unsigned char* rgb,
                   unsigned char* alpha) {
    const auto* in = reinterpret_cast<const float*>(line);
    for (int i = 0; i < count; ++i, rgb += 3) {
        rgb[0] = rgb[1] = rgb[2] = fromFloat(in[column(i)]);
        if constexpr (kAlpha) {
            alpha[i] = 255;
        }
    }
}

template <bool kAlpha, class Pixel, class Column>
void readRgbFloat(const BYTE* line, Column column, int count, unsigned char* rgb,
                  unsigned char* alpha) {
    const auto* in = reinterpret_cast<const Pixel*>(line);
    for (int i = 0; i < count; ++i, rgb += 3) {
        const Pixel& c = in[column(i)];
        rgb[0] = fromFloat(c.red);
        rgb[1] = fromFloat(c.green);
        rgb[2] = fromFloat(c.blue);
        if constexpr (kAlpha) {
            if constexpr (std::is_same_v<Pixel, FIRGBAF>) {
                alpha[i] = fromFloat(c.alpha);
            } else {
                alpha[i] = 255;
            }
        }
    }
}

template <bool kAlpha, class Column>
void readPixels(PixelLayout layout, const BYTE* line, const RGBQUAD* lookup, Column column,
                int count, unsigned char* rgb, unsigned char* alpha) {
    switch (layout) {
        case PixelLayout::Palette1:
            return readPalette<kAlpha, 1>(line, lookup, column, count, rgb, alpha);
        case PixelLayout::Palette4:
            return readPalette<kAlpha, 4>(line, lookup, column, count, rgb, alpha);
        case PixelLayout::Palette8:
            return readPalette<kAlpha, 8>(line, lookup, column, count, rgb, alpha);
        case PixelLayout::Rgb555:
            return readPacked16<kAlpha, false>(line, column, count, rgb, alpha);
        case PixelLayout::Rgb565:
            return readPacked16<kAlpha, true>(line, column, count, rgb, alpha);
        case PixelLayout::Grey16:
            return readGrey16<kAlpha>(line, column, count, rgb, alpha);
        case PixelLayout::Rgb24:
            return readBytes<kAlpha, 3>(line, column, count, rgb, alpha);
        case PixelLayout::Rgba32:
            return readBytes<kAlpha, 4>(line, column, count, rgb, alpha);
        case PixelLayout::Rgb48:
            return readRgb16<kAlpha, FIRGB16>(line, column, count, rgb, alpha);
        case PixelLayout::Rgba64:
            return readRgb16<kAlpha, FIRGBA16>(line, column, count, rgb, alpha);
        case PixelLayout::GreyFloat:
            return readGreyFloat<kAlpha>(line, column, count, rgb, alpha);
        case PixelLayout::RgbFloat:
            return readRgbFloat<kAlpha, FIRGBF>(line, column, count, rgb, alpha);
        case PixelLayout::RgbaFloat:
            return readRgbFloat<kAlpha, FIRGBAF>(line, column, count, rgb, alpha);
    }
}

}  // namespace

std::optional<PixelLayout> pixelLayoutOf(FIBITMAP* dib) {
    if (dib == nullptr) {
        return std::nullopt;
    }
    switch (FreeImage_GetImageType(dib)) {
        case FIT_BITMAP:
            switch (FreeImage_GetBPP(dib)) {
                case 1:
                    return PixelLayout::Palette1;
                case 4:
                    return PixelLayout::Palette4;
                case 8:
                    return PixelLayout::Palette8;
                case 16:
                    // The library takes every other mask for 555.
                    return FreeImage_GetRedMask(dib) == FI16_565_RED_MASK &&
                                   FreeImage_GetGreenMask(dib) == FI16_565_GREEN_MASK &&
                                   FreeImage_GetBlueMask(dib) == FI16_565_BLUE_MASK
                               ? PixelLayout::Rgb565
                               : PixelLayout::Rgb555;
                case 24:
                    return PixelLayout::Rgb24;
                case 32:
                    return PixelLayout::Rgba32;
                default:
                    return std::nullopt;
            }
        case FIT_UINT16:
            return PixelLayout::Grey16;
        case FIT_RGB16:
            return PixelLayout::Rgb48;
        case FIT_RGBA16:
            return PixelLayout::Rgba64;
        case FIT_FLOAT:
            return PixelLayout::GreyFloat;
        case FIT_RGBF:
            return PixelLayout::RgbFloat;
        case FIT_RGBAF:
            return PixelLayout::RgbaFloat;
        default:
            return std::nullopt;
    }
}

FIBITMAP* readableBitmap(FIBITMAP* dib, FreeImageBitmap& holder) {
    if (dib == nullptr) {
        return nullptr;
    }
    switch (FreeImage_GetImageType(dib)) {
        case FIT_BITMAP:
            if (FreeImage_GetBPP(dib) == 16) {
                holder.reset(FreeImage_ConvertTo24Bits(dib));
                return holder.get();
            }
            return dib;
        case FIT_UINT16:
        case FIT_RGB16:
        case FIT_RGBA16:
            return dib;
        case FIT_RGBF:
            holder.reset(FreeImage_ToneMapping(dib, FITMO_DRAGO03));
            return holder.get();
        case FIT_RGBAF: {
            const FreeImageBitmap rgb(FreeImage_ConvertToRGBF(dib));
            holder.reset(rgb ? FreeImage_ToneMapping(rgb.get(), FITMO_DRAGO03) : nullptr);
            return holder.get();
        }
        default:
            holder.reset(FreeImage_ConvertToStandardType(dib, TRUE));
            return holder.get();
    }
}

PixelRowReader::PixelRowReader(FIBITMAP* dib) : m_dib(dib), m_layout(pixelLayoutOf(dib)) {
    if (!m_layout) {
        return;
    }
    m_width = static_cast<int>(FreeImage_GetWidth(dib));
    m_height = static_cast<int>(FreeImage_GetHeight(dib));
    if (*m_layout == PixelLayout::Palette1 || *m_layout == PixelLayout::Palette4 ||
        *m_layout == PixelLayout::Palette8) {
        const unsigned colors = std::min(FreeImage_GetColorsUsed(dib), 256u);
        if (const RGBQUAD* palette = FreeImage_GetPalette(dib)) {
            std::memcpy(m_lookup, palette, colors * sizeof(RGBQUAD));
        }
        const BYTE* table = FreeImage_GetTransparencyTable(dib);
        const unsigned transparent =
            FreeImage_IsTransparent(dib) && table != nullptr
                ? std::min<unsigned>(FreeImage_GetTransparencyCount(dib), 256u)
                : 0;
        for (unsigned i = 0; i < 256; ++i) {
            m_lookup[i].rgbReserved = i < transparent ? table[i] : 255;
        }
    }
}

const BYTE* PixelRowReader::scanLine(int row) const {
    // The library stores rows bottom-up.
    return FreeImage_GetScanLine(m_dib, m_height - 1 - row);
}

void PixelRowReader::readSpan(int row, int first, int count, unsigned char* rgb,
                              unsigned char* alpha) const {
    if (!m_layout) {
        return;
    }
    if (alpha != nullptr) {
        readPixels<true>(*m_layout, scanLine(row), m_lookup, Span{first}, count, rgb, alpha);
    } else {
        readPixels<false>(*m_layout, scanLine(row), m_lookup, Span{first}, count, rgb, alpha);
    }
}

void PixelRowReader::readColumns(int row, const int* columns, int count, unsigned char* rgb,
                                 unsigned char* alpha) const {
    if (!m_layout) {
        return;
    }
    if (alpha != nullptr) {
        readPixels<true>(*m_layout, scanLine(row), m_lookup, Columns{columns}, count, rgb, alpha);
    } else {
        readPixels<false>(*m_layout, scanLine(row), m_lookup, Columns{columns}, count, rgb, alpha);
    }
}

const unsigned char* PixelRowReader::directRow(int row, int& step) const {
    if (!m_layout || (*m_layout != PixelLayout::Rgb24 && *m_layout != PixelLayout::Rgba32)) {
        return nullptr;
    }
    step = *m_layout == PixelLayout::Rgb24 ? 3 : 4;
    return scanLine(row);
}

void PixelRowReader::readIndices(int row, unsigned char* indices) const {
    if (!m_layout) {
        return;
    }
    const BYTE* line = scanLine(row);
    switch (*m_layout) {
        case PixelLayout::Palette1:
            for (int x = 0; x < m_width; ++x) {
                indices[x] = static_cast<unsigned char>(paletteIndex<1>(line, x));
            }
            return;
        case PixelLayout::Palette4:
            for (int x = 0; x < m_width; ++x) {
                indices[x] = static_cast<unsigned char>(paletteIndex<4>(line, x));
            }
            return;
        case PixelLayout::Palette8:
            std::memcpy(indices, line, static_cast<std::size_t>(m_width));
            return;
        default:
            return;
    }
}

}  // namespace tarn
