#pragma once

#include <FreeImagePlus.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace tarn::test {

// Its own names for the linker, apart from image_fixtures.h's helpers.
inline namespace effect_fixtures {

// One pixel layout an effect may be given: the library's type and bits per pixel, and for
// 16-bit bitmaps whether they are 5-6-5 (else 5-5-5).
struct EffectLayout {
    FREE_IMAGE_TYPE type;
    unsigned bpp;
    bool rgb565 = false;
    bool greyPalette = false;
};

inline std::string describe(const EffectLayout& layout) {
    return "type " + std::to_string(layout.type) + " bpp " + std::to_string(layout.bpp) +
           (layout.rgb565 ? " 565" : "") + (layout.greyPalette ? " grey" : "");
}

// Every layout the library has, standard bitmaps of each depth first.
inline std::vector<EffectLayout> everyLayout() {
    return {
        {FIT_BITMAP, 1},  {FIT_BITMAP, 4},        {FIT_BITMAP, 8},    {FIT_BITMAP, 8, false, true},
        {FIT_BITMAP, 16}, {FIT_BITMAP, 16, true}, {FIT_BITMAP, 24},   {FIT_BITMAP, 32},
        {FIT_UINT16, 16}, {FIT_INT16, 16},        {FIT_UINT32, 32},   {FIT_INT32, 32},
        {FIT_FLOAT, 32},  {FIT_DOUBLE, 64},       {FIT_COMPLEX, 128}, {FIT_RGB16, 48},
        {FIT_RGBA16, 64}, {FIT_RGBF, 96},         {FIT_RGBAF, 128}};
}

// The standard 24- and 32-bit bitmaps, which most effects take.
inline std::vector<EffectLayout> trueColorLayouts() {
    return {{FIT_BITMAP, 24}, {FIT_BITMAP, 32}};
}

struct ImageSize {
    unsigned width;
    unsigned height;
};

// The odd sizes every effect is checked on: single pixels and lines, an odd block, a wide strip
// (the sizes of image_fixtures.h's oddSizes, as a struct).
inline const std::vector<ImageSize>& effectSizes() {
    static const std::vector<ImageSize> sizes = {{1, 1}, {1, 9}, {9, 1}, {7, 5}, {1001, 3}};
    return sizes;
}

// A width x height image of the layout with pseudo-random pixels from seed: every byte of an
// integer layout; float channels in [0, 1] (complex and double too); palettes random colours,
// or a grey ramp for greyPalette.
inline fipImage makeEffectImage(const EffectLayout& layout, unsigned width, unsigned height,
                                unsigned seed = 1) {
    const auto mask = [&layout](int for565, int for555) {
        return static_cast<unsigned>(layout.rgb565 ? for565 : for555);
    };
    const unsigned masks[3] = {mask(FI16_565_RED_MASK, FI16_555_RED_MASK),
                               mask(FI16_565_GREEN_MASK, FI16_555_GREEN_MASK),
                               mask(FI16_565_BLUE_MASK, FI16_555_BLUE_MASK)};
    fipImage image(layout.type, width, height, layout.bpp);
    if (layout.type == FIT_BITMAP && layout.bpp == 16) {
        FIBITMAP* dib =
            FreeImage_AllocateT(FIT_BITMAP, static_cast<int>(width), static_cast<int>(height), 16,
                                masks[0], masks[1], masks[2]);
        image = dib;
    }
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const unsigned lineBytes = image.getLine();
    for (unsigned y = 0; y < height; ++y) {
        BYTE* line = image.getScanLine(y);
        switch (layout.type) {
            case FIT_FLOAT:
            case FIT_RGBF:
            case FIT_RGBAF: {
                auto* values = reinterpret_cast<float*>(line);
                for (unsigned i = 0; i < lineBytes / sizeof(float); ++i) {
                    values[i] = static_cast<float>(unit(random));
                }
                break;
            }
            case FIT_DOUBLE:
            case FIT_COMPLEX: {
                auto* values = reinterpret_cast<double*>(line);
                for (unsigned i = 0; i < lineBytes / sizeof(double); ++i) {
                    values[i] = unit(random);
                }
                break;
            }
            default:
                for (unsigned i = 0; i < lineBytes; ++i) {
                    line[i] = static_cast<BYTE>(random());
                }
        }
    }
    if (RGBQUAD* palette = image.getPalette()) {
        const unsigned colors = image.getPaletteSize() / sizeof(RGBQUAD);
        for (unsigned i = 0; i < colors; ++i) {
            if (layout.greyPalette) {
                const BYTE grey = static_cast<BYTE>(colors > 1 ? i * 255 / (colors - 1) : 0);
                palette[i] = RGBQUAD{grey, grey, grey, 0};
            } else {
                palette[i] = RGBQUAD{static_cast<BYTE>(random()), static_cast<BYTE>(random()),
                                     static_cast<BYTE>(random()), 0};
            }
        }
    }
    return image;
}

// The bytes of a row that hold pixels (not the padding to 32 bits).
inline unsigned pixelBytesPerRow(const fipImage& image) {
    return (image.getWidth() * image.getBitsPerPixel() + 7) / 8;
}

// Whether two images have the same type, size, depth, palette and pixel bytes. Padding bits at
// the end of a row of 1- and 4-bit images are ignored.
inline bool samePixels(const fipImage& a, const fipImage& b) {
    if (a.isValid() != b.isValid()) {
        return false;
    }
    if (!a.isValid()) {
        return true;
    }
    if (a.getImageType() != b.getImageType() || a.getWidth() != b.getWidth() ||
        a.getHeight() != b.getHeight() || a.getBitsPerPixel() != b.getBitsPerPixel() ||
        a.getPaletteSize() != b.getPaletteSize()) {
        return false;
    }
    if (a.getPaletteSize() != 0 &&
        std::memcmp(a.getPalette(), b.getPalette(), a.getPaletteSize()) != 0) {
        return false;
    }
    const unsigned bits = a.getWidth() * a.getBitsPerPixel();
    const unsigned whole = bits / 8;
    const unsigned rest = bits % 8;
    for (unsigned y = 0; y < a.getHeight(); ++y) {
        const BYTE* rowA = a.getScanLine(y);
        const BYTE* rowB = b.getScanLine(y);
        if (std::memcmp(rowA, rowB, whole) != 0) {
            return false;
        }
        const BYTE mask = static_cast<BYTE>(0xFF << (8 - rest));
        if (rest != 0 && (rowA[whole] & mask) != (rowB[whole] & mask)) {
            return false;
        }
    }
    return true;
}

// The largest difference of one byte between two images of the same 8-bit-per-channel layout
// (pixel bytes only); -1 when their type, size or depth differ.
inline int maxByteDifference(const fipImage& a, const fipImage& b) {
    if (a.getImageType() != b.getImageType() || a.getWidth() != b.getWidth() ||
        a.getHeight() != b.getHeight() || a.getBitsPerPixel() != b.getBitsPerPixel()) {
        return -1;
    }
    int most = 0;
    for (unsigned y = 0; y < a.getHeight(); ++y) {
        const BYTE* rowA = a.getScanLine(y);
        const BYTE* rowB = b.getScanLine(y);
        for (unsigned i = 0; i < pixelBytesPerRow(a); ++i) {
            const int difference = rowA[i] > rowB[i] ? rowA[i] - rowB[i] : rowB[i] - rowA[i];
            most = difference > most ? difference : most;
        }
    }
    return most;
}

}  // namespace effect_fixtures

}  // namespace tarn::test
