#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "imaging/freeimage_ptr.h"

namespace tarn {

// How the pixels of one row lie in a bitmap, for every type and depth read and written row by
// row. Other types (signed and 32-bit integers, double, complex) have none.
enum class PixelLayout {
    Palette1,
    Palette4,
    Palette8,
    Rgb555,
    Rgb565,
    Grey16,  // FIT_UINT16
    Rgb24,
    Rgba32,
    Rgb48,      // FIT_RGB16
    Rgba64,     // FIT_RGBA16
    GreyFloat,  // FIT_FLOAT
    RgbFloat,   // FIT_RGBF
    RgbaFloat,  // FIT_RGBAF
};

std::optional<PixelLayout> pixelLayoutOf(FIBITMAP* dib);

// The bitmap the display reads its rows from: the bitmap itself for palettised, 24- and 32-bit,
// 16-bit grey and 48- and 64-bit colour; otherwise a converted copy kept in holder (16-bit
// 555/565 to 24 bits, float colour tone-mapped, other types to a standard one). Null when the
// library cannot convert it.
FIBITMAP* readableBitmap(FIBITMAP* dib, FreeImageBitmap& holder);

// Reads rows of a bitmap as 8-bit RGB triples and, where asked, one alpha byte per pixel (the
// form a wxImage holds). Rows are counted from the top. Wider channels keep their high byte;
// float channels are clamped to [0, 1]. Alpha comes from the 32- and 64-bit and RGBA float
// layouts and from the transparency table of a transparent palette; it is 255 elsewhere.
// Palette indices outside the palette read as opaque black. The bitmap must outlive the reader.
class PixelRowReader {
public:
    explicit PixelRowReader(FIBITMAP* dib);

    // False for a null bitmap or a type without a layout; nothing may be read then.
    bool valid() const { return m_layout.has_value(); }
    PixelLayout layout() const { return *m_layout; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    // The whole row: 3 * width() bytes to rgb, and width() to alpha unless it is null.
    void readRow(int row, unsigned char* rgb, unsigned char* alpha) const {
        readSpan(row, 0, m_width, rgb, alpha);
    }
    // count pixels of the row from column first on.
    void readSpan(int row, int first, int count, unsigned char* rgb, unsigned char* alpha) const;
    // count pixels of the row at the given columns, in any order.
    void readColumns(int row, const int* columns, int count, unsigned char* rgb,
                     unsigned char* alpha) const;
    // The row's bytes as they lie in a 24- or 32-bit bitmap (FI_RGBA_* order), step bytes per
    // pixel; null for the other layouts.
    const unsigned char* directRow(int row, int& step) const;
    // Palette layouts only: one index per pixel.
    void readIndices(int row, unsigned char* indices) const;

private:
    const BYTE* scanLine(int row) const;

    FIBITMAP* m_dib = nullptr;
    int m_width = 0;
    int m_height = 0;
    std::optional<PixelLayout> m_layout;
    // Palette with room for every index a corrupt pixel could hold; alpha in rgbReserved.
    RGBQUAD m_lookup[256] = {};
};

// Writes rows given as 8-bit RGB triples (and alpha) into a bitmap's own layout, so that
// reading them back with PixelRowReader gives the same bytes wherever the layout can hold them:
// wider channels spread the byte over their range, grey layouts take the luminance, 555/565
// round to the nearest level, palettes take the first entry of that colour (and alpha, when the
// palette is transparent and alpha is given), else the nearest. A null alpha leaves the
// bitmap's alpha as it was. The bitmap must outlive the writer.
class PixelRowWriter {
public:
    explicit PixelRowWriter(FIBITMAP* dib);

    bool valid() const { return m_layout.has_value(); }
    PixelLayout layout() const { return *m_layout; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    void writeRow(int row, const unsigned char* rgb, const unsigned char* alpha);
    // Palette layouts only: one index per pixel, masked to the depth.
    void writeIndices(int row, const unsigned char* indices);

private:
    BYTE* scanLine(int row) const;
    unsigned char paletteIndex(const unsigned char* rgb, const unsigned char* alpha);

    FIBITMAP* m_dib = nullptr;
    int m_width = 0;
    int m_height = 0;
    std::optional<PixelLayout> m_layout;
    bool m_transparent = false;
    RGBQUAD m_palette[256] = {};
    unsigned m_colors = 0;
    // Colour (and alpha) key to palette index, filled as colours are met.
    std::unordered_map<std::uint64_t, unsigned char> m_indexOf;
    std::vector<unsigned char> m_indices;
};

}  // namespace tarn
