#include "imaging/effects/color_effects.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "imaging/effects/color_pixels.h"

namespace tarn {

namespace {

using color::ChannelTable;

ChannelTable gammaTable(double gamma) {
    ChannelTable table{};
    const double exponent = 1.0 / color::limited(gamma, 0.01, 6.99, 1.0);
    for (int i = 0; i < 256; ++i) {
        const double value = std::floor(255.0 * std::pow(i / 255.0, exponent) + 0.5);
        table[i] = static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
    }
    return table;
}

}  // namespace

bool solarize(fipImage& image, const SolarizeParams& params) {
    if (!color::isTrueColor(image)) {
        return false;
    }
    const int threshold = color::limited(params.threshold, 0, 255);
    ChannelTable table{};
    for (int i = 0; i < 256; ++i) {
        table[i] = static_cast<std::uint8_t>(i > threshold ? 255 - i : i);
    }
    try {
        color::applyChannelTables(image, table, table, table);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool adjustColors(fipImage& image, const AdjustColorsParams& params) {
    if (!color::isTrueColor(image) && !color::isPaletted(image, 8)) {
        return false;
    }
    ChannelTable table{};
    FreeImage_GetAdjustColorsLookupTable(
        table.data(), color::limited(params.brightness, -100, 100, 0),
        color::limited(params.contrast, -100, 100, 0), color::limited(params.gamma, 0.01, 6.99, 1),
        params.invert ? TRUE : FALSE);
    try {
        color::applyChannelTables(image, table, table, table);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool adjustGammaRGB(fipImage& image, const GammaRgbParams& params) {
    if (!color::isTrueColor(image) && !color::isPaletted(image, 8)) {
        return false;
    }
    try {
        color::applyChannelTables(image, gammaTable(params.red), gammaTable(params.green),
                                  gammaTable(params.blue));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool sepia(fipImage& image) {
    if (!color::isTrueColor(image)) {
        return false;
    }
    // The matrix in thousandths keeps the sums exact integers.
    const auto tone = [](int r, int g, int b, int wr, int wg, int wb) {
        return static_cast<BYTE>(std::min(255, (wr * r + wg * g + wb * b + 500) / 1000));
    };
    try {
        color::forEachPixel(image, [&](BYTE& r, BYTE& g, BYTE& b) {
            const int red = r;
            const int green = g;
            const int blue = b;
            r = tone(red, green, blue, 393, 769, 189);
            g = tone(red, green, blue, 349, 686, 168);
            b = tone(red, green, blue, 272, 534, 131);
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool removeRedEye(fipImage& image) {
    if (!color::isTrueColor(image)) {
        return false;
    }
    try {
        color::forEachPixel(image, [](BYTE& r, BYTE& g, BYTE& b) {
            const int red = r;
            const int strongest = std::max(g, b);
            if (red >= 48 && 2 * red > 3 * strongest) {
                r = static_cast<BYTE>((g + b + 1) / 2);
            }
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace tarn
