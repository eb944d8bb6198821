#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "common/rounding.h"
#include "imaging/fip_super_image.h"
#include "imaging/pixel_rows.h"
#include "imaging/standard_bitmap.h"

namespace tarn {

namespace {

// n grey levels (2..256) from an 8-bit grey bitmap, palettised in 4 or 8 bits.
FreeImageBitmap greyLevels(FIBITMAP* grey, unsigned levels, unsigned bpp) {
    const unsigned width = FreeImage_GetWidth(grey);
    const unsigned height = FreeImage_GetHeight(grey);
    FreeImageBitmap out(FreeImage_Allocate(width, height, bpp));
    if (!out) {
        return nullptr;
    }
    RGBQUAD* palette = FreeImage_GetPalette(out.get());
    const unsigned paletteSize = 1u << bpp;
    for (unsigned i = 0; i < paletteSize; ++i) {
        const unsigned level = std::min(i, levels - 1);
        const auto value = static_cast<BYTE>(roundToInt(level * 255.0 / (levels - 1)));
        palette[i] = RGBQUAD{value, value, value, 0};
    }
    // The palette holds the levels only, so that a saved file and the depth dialogs see them.
    FreeImage_GetInfoHeader(out.get())->biClrUsed = std::min(levels, paletteSize);
    // Grey value -> level index.
    BYTE map[256];
    for (unsigned v = 0; v < 256; ++v) {
        map[v] = static_cast<BYTE>(roundToInt(v * (levels - 1) / 255.0));
    }
    const PixelRowReader reader(grey);
    PixelRowWriter writer(out.get());
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * 3);
    std::vector<unsigned char> indices(width);
    for (int y = 0; y < reader.height(); ++y) {
        reader.readRow(y, rgb.data(), nullptr);
        for (unsigned x = 0; x < width; ++x) {
            indices[x] = map[rgb[static_cast<std::size_t>(x) * 3]];
        }
        writer.writeIndices(y, indices.data());
    }
    return out;
}

// An 8-bit palettised bitmap with at most 16 colours packed into 4 bits.
FreeImageBitmap packTo4(FIBITMAP* dib8) {
    const unsigned width = FreeImage_GetWidth(dib8);
    const unsigned height = FreeImage_GetHeight(dib8);
    FreeImageBitmap out(FreeImage_Allocate(width, height, 4));
    if (!out) {
        return nullptr;
    }
    std::memcpy(FreeImage_GetPalette(out.get()), FreeImage_GetPalette(dib8), 16 * sizeof(RGBQUAD));
    const PixelRowReader reader(dib8);
    PixelRowWriter writer(out.get());
    std::vector<unsigned char> indices(width);
    for (int y = 0; y < reader.height(); ++y) {
        reader.readIndices(y, indices.data());
        for (unsigned char& index : indices) {
            index &= 0x0F;
        }
        writer.writeIndices(y, indices.data());
    }
    return out;
}

}  // namespace

BOOL fipSuperImage::adjustBPP(unsigned bits, BOOL grayscale, unsigned colors) {
    if (!isValid() || FreeImage_GetImageType(_dib) != FIT_BITMAP) {
        return FALSE;
    }
    FreeImageBitmap grey;
    if (grayscale || bits == 1) {
        grey.reset(FreeImage_ConvertToGreyscale(_dib));
        if (!grey) {
            return FALSE;
        }
    }
    FIBITMAP* source = grey ? grey.get() : _dib;
    FreeImageBitmap result;
    switch (bits) {
        case 1:
            result.reset(FreeImage_Threshold(source, 128));
            break;
        case 4:
        case 8: {
            const unsigned limit = bits == 4 ? 16 : 256;
            const unsigned count = colors == 0 ? limit : std::clamp(colors, 2u, limit);
            if (grey) {
                result = greyLevels(source, count, bits);
            } else {
                const FreeImageBitmap rgb(FreeImage_ConvertTo24Bits(source));
                FreeImageBitmap quantised(
                    rgb ? FreeImage_ColorQuantizeEx(rgb.get(), FIQ_WUQUANT, static_cast<int>(count))
                        : nullptr);
                result = quantised && bits == 4 ? packTo4(quantised.get()) : std::move(quantised);
            }
            break;
        }
        case 24:
            result.reset(FreeImage_ConvertTo24Bits(source));
            break;
        case 32:
            result.reset(FreeImage_ConvertTo32Bits(source));
            break;
        default:
            return FALSE;
    }
    if (!result) {
        return FALSE;
    }
    FreeImage_SetDotsPerMeterX(result.get(), FreeImage_GetDotsPerMeterX(_dib));
    FreeImage_SetDotsPerMeterY(result.get(), FreeImage_GetDotsPerMeterY(_dib));
    return adopt(result.release());
}

BOOL fipSuperImage::swapChannels(int order) {
    if (!isValid() || FreeImage_GetImageType(_dib) != FIT_BITMAP || order < 0 || order > 4) {
        return FALSE;
    }
    // For each order: which old channel (0 red, 1 green, 2 blue) feeds new red, green, blue.
    static const int kSources[5][3] = {{0, 2, 1}, {2, 1, 0}, {2, 0, 1}, {1, 0, 2}, {1, 2, 0}};
    const int* from = kSources[order];
    auto permute = [from](BYTE& red, BYTE& green, BYTE& blue) {
        const BYTE old[3] = {red, green, blue};
        red = old[from[0]];
        green = old[from[1]];
        blue = old[from[2]];
    };
    const unsigned bpp = getBPP();
    if (bpp <= 8) {
        RGBQUAD* palette = FreeImage_GetPalette(_dib);
        for (unsigned i = 0; i < FreeImage_GetColorsUsed(_dib); ++i) {
            permute(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
        }
    } else if (bpp == 24 || bpp == 32) {
        const PixelRowReader reader(_dib);
        PixelRowWriter writer(_dib);
        std::vector<unsigned char> rgb(static_cast<std::size_t>(getWidth()) * 3);
        for (int y = 0; y < reader.height(); ++y) {
            reader.readRow(y, rgb.data(), nullptr);
            for (std::size_t i = 0; i < rgb.size(); i += 3) {
                permute(rgb[i], rgb[i + 1], rgb[i + 2]);
            }
            // Alpha stays as it is.
            writer.writeRow(y, rgb.data(), nullptr);
        }
    } else {
        return FALSE;
    }
    _bHasChanged = TRUE;
    return TRUE;
}

unsigned fipSuperImage::getUniqueColors() const {
    if (!isValid()) {
        return 0;
    }
    FreeImageBitmap converted;
    FIBITMAP* dib = _dib;
    const bool palettised = FreeImage_GetImageType(dib) == FIT_BITMAP && getBPP() <= 8;
    if (!palettised &&
        (FreeImage_GetImageType(dib) != FIT_BITMAP || (getBPP() != 24 && getBPP() != 32))) {
        FreeImageBitmap standard = toStandard(dib);
        converted.reset(standard ? FreeImage_ConvertTo24Bits(standard.get()) : nullptr);
        if (!converted) {
            return 0;
        }
        dib = converted.get();
    }
    auto seen = std::make_unique<std::bitset<1u << 24>>();
    unsigned count = 0;
    auto mark = [&](BYTE red, BYTE green, BYTE blue) {
        const std::size_t key = (static_cast<std::size_t>(red) << 16) | (green << 8) | blue;
        if (!seen->test(key)) {
            seen->set(key);
            ++count;
        }
    };
    const PixelRowReader reader(dib);
    const auto width = static_cast<std::size_t>(reader.width());
    if (palettised) {
        bool used[256] = {};
        std::vector<unsigned char> indices(width);
        for (int y = 0; y < reader.height(); ++y) {
            reader.readIndices(y, indices.data());
            for (const unsigned char index : indices) {
                used[index] = true;
            }
        }
        const RGBQUAD* palette = FreeImage_GetPalette(dib);
        for (unsigned i = 0; i < FreeImage_GetColorsUsed(dib); ++i) {
            if (used[i]) {
                mark(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
            }
        }
        return count;
    }
    std::vector<unsigned char> rgb(width * 3);
    for (int y = 0; y < reader.height(); ++y) {
        reader.readRow(y, rgb.data(), nullptr);
        for (std::size_t i = 0; i < rgb.size(); i += 3) {
            mark(rgb[i], rgb[i + 1], rgb[i + 2]);
        }
    }
    return count;
}

void fipSuperImage::RGBtoHSL(RGBQUAD color, double& hue, double& saturation, double& lightness) {
    const double r = color.rgbRed / 255.0;
    const double g = color.rgbGreen / 255.0;
    const double b = color.rgbBlue / 255.0;
    const double high = std::max({r, g, b});
    const double low = std::min({r, g, b});
    lightness = (high + low) / 2;
    const double delta = high - low;
    if (delta <= 0) {
        hue = 0;
        saturation = 0;
        return;
    }
    saturation = lightness <= 0.5 ? delta / (high + low) : delta / (2 - high - low);
    if (high == r) {
        hue = 60 * std::fmod((g - b) / delta + 6, 6.0);
    } else if (high == g) {
        hue = 60 * ((b - r) / delta + 2);
    } else {
        hue = 60 * ((r - g) / delta + 4);
    }
    if (hue >= 360) {
        hue -= 360;
    }
}
}  // namespace tarn
