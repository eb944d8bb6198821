#include "imaging/paste_image.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "imaging/freeimage_ptr.h"

namespace tarn {

namespace {

// Index of the palette entry nearest to a colour, remembered per colour.
class NearestEntry {
public:
    NearestEntry(const RGBQUAD* palette, unsigned count)
        : m_palette(palette, palette + count), m_known(std::size_t{1} << 24, kUnknown) {}

    BYTE operator()(BYTE r, BYTE g, BYTE b) {
        std::uint16_t& known = m_known[(std::size_t{r} << 16) | (std::size_t{g} << 8) | b];
        if (known == kUnknown) {
            known = nearest(r, g, b);
        }
        return static_cast<BYTE>(known);
    }

private:
    static constexpr std::uint16_t kUnknown = 0xFFFF;

    std::uint16_t nearest(int r, int g, int b) const {
        std::uint16_t best = 0;
        int bestDistance = INT32_MAX;
        for (std::size_t i = 0; i < m_palette.size(); ++i) {
            const int dr = r - m_palette[i].rgbRed;
            const int dg = g - m_palette[i].rgbGreen;
            const int db = b - m_palette[i].rgbBlue;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = static_cast<std::uint16_t>(i);
            }
        }
        return best;
    }

    std::vector<RGBQUAD> m_palette;
    std::vector<std::uint16_t> m_known;
};

void putIndex(BYTE* line, unsigned x, unsigned bpp, BYTE index) {
    if (bpp == 8) {
        line[x] = index;
    } else if (bpp == 4) {
        BYTE& pair = line[x / 2];
        pair = x % 2 == 0 ? static_cast<BYTE>((pair & 0x0F) | (index << 4))
                          : static_cast<BYTE>((pair & 0xF0) | (index & 0x0F));
    } else {
        const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
        line[x / 8] = static_cast<BYTE>(index != 0 ? line[x / 8] | bit : line[x / 8] & ~bit);
    }
}

FreeImageBitmap toPaletteOf(FIBITMAP* source, FIBITMAP* like) {
    const unsigned bpp = FreeImage_GetBPP(like);
    const unsigned colors = std::min(FreeImage_GetColorsUsed(like), 1u << bpp);
    const FreeImageBitmap rgb(FreeImage_ConvertTo24Bits(source));
    if (!rgb || colors == 0) {
        return FreeImageBitmap();
    }
    const unsigned width = FreeImage_GetWidth(rgb.get());
    const unsigned height = FreeImage_GetHeight(rgb.get());
    FreeImageBitmap out(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height),
                                           static_cast<int>(bpp)));
    if (!out) {
        return out;
    }
    const RGBQUAD* palette = FreeImage_GetPalette(like);
    std::copy(palette, palette + colors, FreeImage_GetPalette(out.get()));
    NearestEntry nearest(palette, colors);
    for (unsigned y = 0; y < height; ++y) {
        const BYTE* in = FreeImage_GetScanLine(rgb.get(), static_cast<int>(y));
        BYTE* line = FreeImage_GetScanLine(out.get(), static_cast<int>(y));
        for (unsigned x = 0; x < width; ++x, in += 3) {
            putIndex(line, x, bpp, nearest(in[FI_RGBA_RED], in[FI_RGBA_GREEN], in[FI_RGBA_BLUE]));
        }
    }
    return out;
}

FreeImageBitmap converted(FIBITMAP* source, FIBITMAP* like) {
    if (source == nullptr || like == nullptr) {
        return FreeImageBitmap();
    }
    const FREE_IMAGE_TYPE type = FreeImage_GetImageType(like);
    if (type != FIT_BITMAP) {
        return FreeImageBitmap(FreeImage_ConvertToType(source, type, TRUE));
    }
    switch (FreeImage_GetBPP(like)) {
        case 32:
            return FreeImageBitmap(FreeImage_ConvertTo32Bits(source));
        case 24:
            return FreeImageBitmap(FreeImage_ConvertTo24Bits(source));
        case 16:
            return FreeImageBitmap(FreeImage_GetGreenMask(like) == FI16_565_GREEN_MASK
                                       ? FreeImage_ConvertTo16Bits565(source)
                                       : FreeImage_ConvertTo16Bits555(source));
        case 8:
        case 4:
        case 1:
            return toPaletteOf(source, like);
        default:
            return FreeImageBitmap();
    }
}

}  // namespace

bool convertToDepthOf(fipImage& image, const fipImage& like) {
    if (!image.isValid() || !like.isValid()) {
        return false;
    }
    const bool sameType = image.getImageType() == like.getImageType() &&
                          image.getBitsPerPixel() == like.getBitsPerPixel();
    if (sameType && image.getBitsPerPixel() > 8) {
        return true;
    }
    // The library takes its bitmaps without const.
    FreeImageBitmap result = converted(image, const_cast<fipImage&>(like));
    if (!result) {
        return false;
    }
    image = result.release();
    return true;
}

bool pasteImage(fipImage& target, fipImage picture, const Rect* area) {
    if (!target.isValid() || !picture.isValid()) {
        return false;
    }
    if (area != nullptr && !area->empty()) {
        return picture.rescale(static_cast<unsigned>(area->width()),
                               static_cast<unsigned>(area->height()), FILTER_BILINEAR) &&
               convertToDepthOf(picture, target) &&
               target.pasteSubImage(picture, area->left, area->top, 256);
    }
    if (!convertToDepthOf(picture, target)) {
        return false;
    }
    const unsigned width = std::min(picture.getWidth(), target.getWidth());
    const unsigned height = std::min(picture.getHeight(), target.getHeight());
    if ((width != picture.getWidth() || height != picture.getHeight()) &&
        !picture.crop(0, 0, static_cast<int>(width), static_cast<int>(height))) {
        return false;
    }
    return target.pasteSubImage(picture, 0, 0, 256);
}

}  // namespace tarn
