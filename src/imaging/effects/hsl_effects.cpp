// The effects that go through hue, saturation and lightness: colorize and adjustHSL.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "imaging/effects/color_effects.h"
#include "imaging/effects/color_pixels.h"
#include "imaging/effects/hsl_rows.h"

namespace tarn {

namespace {

bool colorizePixels(fipImage& image, double hue, double saturation, double amount) {
    const double twiceHue = hue / 30.0;
    // The colourised pixel depends only on the sum of its largest and smallest channel.
    std::vector<double> tint(511 * 3);
    for (int sum = 0; sum <= 510; ++sum) {
        const double lightness = sum / 510.0;
        const double chroma = saturation * hsl::lesser(lightness, 1.0 - lightness);
        const double phases[3] = {-6.0, 2.0, -2.0};
        for (int c = 0; c < 3; ++c) {
            tint[sum * 3 + c] =
                255.0 * hsl::channel(twiceHue, phases[c], lightness, chroma) * amount;
        }
    }
    double keep[256];
    for (int i = 0; i < 256; ++i) {
        keep[i] = i * (1.0 - amount);
    }
    const auto blend = [&](BYTE value, double tinted) {
        return static_cast<BYTE>(std::min(255.0, std::floor(keep[value] + tinted + 0.5)));
    };
    color::forEachPixel(image, [&](BYTE& r, BYTE& g, BYTE& b) {
        const int sum = std::max({r, g, b}) + std::min({r, g, b});
        const double* colour = &tint[sum * 3];
        r = blend(r, colour[0]);
        g = blend(g, colour[1]);
        b = blend(b, colour[2]);
    });
    return true;
}

}  // namespace

bool colorize(fipImage& image, const ColorizeParams& params) {
    if (!color::isTrueColor(image)) {
        return false;
    }
    double hue = std::isfinite(params.hue) ? std::fmod(params.hue, 360.0) : 0.0;
    hue = hue < 0 ? hue + 360.0 : hue;
    try {
        return colorizePixels(image, hue, color::limited(params.saturation, 0, 1, 0),
                              color::limited(params.amount, 0, 1, 0));
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool adjustHSL(fipImage& image, const AdjustHslParams& params) {
    const bool paletted = color::isPaletted(image, 4) || color::isPaletted(image, 8);
    if (!paletted && !color::isTrueColor(image)) {
        return false;
    }
    const hsl::Shift shift = hsl::shiftOf(params.hue, params.saturation, params.lightness);
    if (shift.isNone()) {
        return true;
    }
    if (paletted) {
        hsl::shiftPixels(reinterpret_cast<BYTE*>(image.getPalette()),
                         static_cast<int>(image.getColorsUsed()), 4, shift);
        return true;
    }
    try {
        color::forEachRow(image, [&](BYTE* line, int width, int step) {
            hsl::shiftPixels(line, width, step, shift);
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace tarn
