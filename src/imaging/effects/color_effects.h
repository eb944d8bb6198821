#pragma once

#include <FreeImagePlus.h>

namespace tarn {

// The colour effects of the editor. Each returns false and leaves the image as it was for an
// invalid image or a layout it does not take; parameters out of range are limited to it, and
// NaN means the parameter's neutral value. The alpha of 32-bit images is kept.

struct SolarizeParams {
    int threshold;  // 0-255
    int mode = 1;   // every mode acts as 1
};

// 24/32-bit: each channel value above the threshold becomes 255 - value.
bool solarize(fipImage& image, const SolarizeParams& params);

struct ColorizeParams {
    double hue;         // degrees, [0, 360); other values wrap around
    double saturation;  // 0-1
    double amount;      // 0-1: how much of the colourised pixel replaces the original
};

// 24/32-bit: blends the pixel's lightness in the given hue and saturation over the pixel.
bool colorize(fipImage& image, const ColorizeParams& params);

struct AdjustColorsParams {
    double brightness;  // -100..100 percent
    double contrast;    // -100..100 percent
    double gamma;       // 0.01..6.99, 1 = none
    bool invert = false;
};

// 8-bit (its palette), 24/32-bit: one table for red, green and blue, the library's: contrast
// about 128, then brightness as a factor, then gamma, then inversion.
bool adjustColors(fipImage& image, const AdjustColorsParams& params);

struct GammaRgbParams {
    double red;    // 0.01..6.99, 1 = none; above 1 lightens
    double green;  // likewise
    double blue;   // likewise
};

// 8-bit (its palette), 24/32-bit: value = 255 * (value / 255)^(1 / gamma) per channel.
bool adjustGammaRGB(fipImage& image, const GammaRgbParams& params);

struct AdjustHslParams {
    int hue;         // -100..100: shift by hue * 1.8 degrees
    int saturation;  // -100..100: saturation scaled by 1 + saturation / 100, at most 1
    int lightness;   // -100..100: lightness moved that percentage of the way to 0 or to 1
};

// 4/8-bit (their palette), 24/32-bit. Saturation scales rather than moving toward 1, as in
// common editors, so that greys and the noise around them do not take on colour.
bool adjustHSL(fipImage& image, const AdjustHslParams& params);

// 24/32-bit: the usual sepia tone matrix (rows .393 .769 .189, .349 .686 .168, .272 .534 .131
// for red, green, blue), limited to 255.
bool sepia(fipImage& image);

// 24/32-bit, meant for the selected eye: a pixel whose red is at least 48 and more than 1.5
// times the larger of green and blue gets red = (green + blue + 1) / 2.
bool removeRedEye(fipImage& image);

}  // namespace tarn
