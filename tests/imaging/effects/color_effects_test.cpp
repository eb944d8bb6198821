// Each colour effect against a slow per-pixel rule written from its definition.
#include "imaging/effects/color_effects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "effect_fixtures.h"
#include "imaging/fip_super_image.h"

namespace tarn::test {
namespace {

using ColorRule = std::function<RGBQUAD(RGBQUAD)>;

// The image with the rule applied to each pixel through the library's pixel access, or to each
// palette entry of a palette image. Rules pass the fourth byte (alpha) through.
fipImage applyRule(const fipImage& source, const ColorRule& rule) {
    fipImage result(source);
    for (unsigned i = 0; result.getBitsPerPixel() <= 8 && i < result.getColorsUsed(); ++i) {
        result.getPalette()[i] = rule(result.getPalette()[i]);
    }
    for (unsigned y = 0; result.getBitsPerPixel() > 8 && y < result.getHeight(); ++y) {
        for (unsigned x = 0; x < result.getWidth(); ++x) {
            RGBQUAD quad{};
            result.getPixelColor(x, y, &quad);
            quad = rule(quad);
            result.setPixelColor(x, y, &quad);
        }
    }
    return result;
}

// The largest difference of a palette byte; -1 when the palettes differ in size.
int maxPaletteDifference(const fipImage& a, const fipImage& b) {
    int most = a.getPaletteSize() == b.getPaletteSize() ? 0 : -1;
    for (unsigned i = 0; most >= 0 && i < a.getPaletteSize(); ++i) {
        const BYTE* x = reinterpret_cast<const BYTE*>(a.getPalette()) + i;
        const BYTE* y = reinterpret_cast<const BYTE*>(b.getPalette()) + i;
        most = std::max(most, std::abs(*x - *y));
    }
    return most;
}

// Runs the effect on every odd size of each layout and compares with the rule: pixels (and
// palette) within tolerance levels, everything else exact.
void expectMatchesRule(const std::function<bool(fipImage&)>& effect, const ColorRule& rule,
                       const std::vector<EffectLayout>& layouts, int tolerance) {
    for (const EffectLayout& layout : layouts) {
        for (const ImageSize size : effectSizes()) {
            const fipImage source = makeEffectImage(layout, size.width, size.height, 7);
            fipImage image(source);
            ASSERT_TRUE(effect(image)) << describe(layout);
            const fipImage expected = applyRule(source, rule);
            const int pixels = maxByteDifference(image, expected);
            const int palette = maxPaletteDifference(image, expected);
            // A palette image keeps its pixels and changes its palette.
            EXPECT_TRUE(pixels >= 0 && pixels <= (layout.bpp <= 8 ? 0 : tolerance))
                << describe(layout) << " " << size.width << "x" << size.height << ": " << pixels;
            EXPECT_TRUE(palette >= 0 && palette <= tolerance)
                << describe(layout) << ": " << palette;
        }
    }
}

// Every layout not taken, and an empty image, are refused and left as they were.
void expectRefusesOthers(const std::function<bool(fipImage&)>& effect,
                         const std::vector<EffectLayout>& taken) {
    for (const EffectLayout& layout : everyLayout()) {
        const bool isTaken = std::any_of(taken.begin(), taken.end(), [&](const EffectLayout& t) {
            return t.type == layout.type && t.bpp == layout.bpp && t.rgb565 == layout.rgb565;
        });
        if (isTaken) {
            continue;
        }
        const fipImage source = makeEffectImage(layout, 7, 5, 3);
        fipImage image(source);
        EXPECT_FALSE(effect(image)) << describe(layout);
        EXPECT_TRUE(samePixels(image, source)) << describe(layout);
    }
    fipImage empty(FIT_BITMAP, 0, 0, 24);
    EXPECT_FALSE(effect(empty));
    fipImage none;
    EXPECT_FALSE(effect(none));
    EXPECT_FALSE(none.isValid());
}

BYTE roundedLevel(double value) {
    return static_cast<BYTE>(std::clamp(std::floor(value + 0.5), 0.0, 255.0));
}

// Red, green and blue in [0, 1] of hue (degrees), saturation and lightness, by sectors.
void hslToRgb(double hue, double saturation, double lightness, double rgb[3]) {
    const double c = (1 - std::fabs(2 * lightness - 1)) * saturation;
    const double x = c * (1 - std::fabs(std::fmod(hue / 60, 2.0) - 1));
    const double sectors[6][3] = {{c, x, 0}, {x, c, 0}, {0, c, x}, {0, x, c}, {x, 0, c}, {c, 0, x}};
    const int sector = static_cast<int>(hue / 60) % 6;
    for (int i = 0; i < 3; ++i) {
        rgb[i] = sectors[sector][i] + lightness - c / 2;
    }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const std::vector<EffectLayout> kPaletteAndTrueColor = {
    {FIT_BITMAP, 8}, {FIT_BITMAP, 8, false, true}, {FIT_BITMAP, 24}, {FIT_BITMAP, 32}};

ColorRule perChannel(const std::function<double(BYTE)>& level) {
    return [level](RGBQUAD q) {
        return RGBQUAD{roundedLevel(level(q.rgbBlue)), roundedLevel(level(q.rgbGreen)),
                       roundedLevel(level(q.rgbRed)), q.rgbReserved};
    };
}

TEST(ColorEffects, SolarizeInvertsValuesAboveTheLimitedThreshold) {
    // Given threshold and mode, then the threshold as limited.
    const int cases[][3] = {{128, 1, 128}, {0, 1, 0}, {255, 1, 255}, {-20, 1, 0}, {999, 7, 255}};
    for (const auto& c : cases) {
        expectMatchesRule(
            [&](fipImage& image) {
                return solarize(image, {c[0], c[1]});
            },
            perChannel([&](BYTE v) { return v > c[2] ? 255 - v : v; }), trueColorLayouts(), 0);
    }
    expectRefusesOthers([](fipImage& image) { return solarize(image, {128}); }, trueColorLayouts());
}

TEST(ColorEffects, AdjustColorsFollowsContrastBrightnessGammaAndInversion) {
    // Within one level: the library's table takes the power in another order.
    const AdjustColorsParams cases[][2] = {
        {{0, 0, 1}, {0, 0, 1}},
        {{-100, -100, 0.01}, {-100, -100, 0.01}},
        {{25, -40, 0.6, true}, {25, -40, 0.6, true}},
        {{300, -300, 50}, {100, -100, 6.99}},
        {{kNaN, kNaN, kNaN, true}, {0, 0, 1, true}},
        {{-kInf, kInf, -1}, {-100, 100, 0.01}},
    };
    for (const auto& c : cases) {
        const AdjustColorsParams p = c[1];
        const auto level = [p](BYTE v) {
            double x = std::clamp(128 + (v - 128) * (100 + p.contrast) / 100, 0.0, 255.0);
            x = 255 *
                std::pow(std::clamp(x * (100 + p.brightness) / 100, 0.0, 255.0) / 255, 1 / p.gamma);
            return p.invert ? 255 - std::floor(x + 0.5) : x;
        };
        expectMatchesRule([&](fipImage& image) { return adjustColors(image, c[0]); },
                          perChannel(level), kPaletteAndTrueColor, 1);
    }
    expectRefusesOthers(
        [](fipImage& image) {
            return adjustColors(image, {10, 10, 1.5});
        },
        kPaletteAndTrueColor);
}

TEST(ColorEffects, AdjustGammaRgbRaisesEachChannelToItsOwnPower) {
    const GammaRgbParams cases[][2] = {
        {{1, 1, 1}, {1, 1, 1}},
        {{0.01, 6.99, 2.2}, {0.01, 6.99, 2.2}},
        {{-5, 100, kNaN}, {0.01, 6.99, 1}},
        {{kInf, -kInf, 0.5}, {6.99, 0.01, 0.5}},
    };
    for (const auto& c : cases) {
        const GammaRgbParams p = c[1];
        const auto level = [](BYTE v, double gamma) {
            return roundedLevel(255 * std::pow(v / 255.0, 1 / gamma));
        };
        const ColorRule rule = [&](RGBQUAD q) {
            return RGBQUAD{level(q.rgbBlue, p.blue), level(q.rgbGreen, p.green),
                           level(q.rgbRed, p.red), q.rgbReserved};
        };
        expectMatchesRule([&](fipImage& image) { return adjustGammaRGB(image, c[0]); }, rule,
                          kPaletteAndTrueColor, 0);
    }
    expectRefusesOthers(
        [](fipImage& image) {
            return adjustGammaRGB(image, {2, 2, 2});
        },
        kPaletteAndTrueColor);
}

TEST(ColorEffects, SepiaAndRedEyeFollowTheirRules) {
    const ColorRule sepiaRule = [](RGBQUAD q) {
        const auto tone = [&](int wr, int wg, int wb) {
            return roundedLevel((wr * q.rgbRed + wg * q.rgbGreen + wb * q.rgbBlue) / 1000.0);
        };
        return RGBQUAD{tone(272, 534, 131), tone(349, 686, 168), tone(393, 769, 189),
                       q.rgbReserved};
    };
    const ColorRule redEyeRule = [](RGBQUAD q) {
        if (q.rgbRed >= 48 && q.rgbRed > 1.5 * std::max(q.rgbGreen, q.rgbBlue)) {
            q.rgbRed = roundedLevel((q.rgbGreen + q.rgbBlue) / 2.0);
        }
        return q;
    };
    const auto trueColor = trueColorLayouts();
    expectMatchesRule([](fipImage& image) { return sepia(image); }, sepiaRule, trueColor, 0);
    expectRefusesOthers([](fipImage& image) { return sepia(image); }, trueColor);
    expectMatchesRule([](fipImage& image) { return removeRedEye(image); }, redEyeRule, trueColor,
                      0);
    expectRefusesOthers([](fipImage& image) { return removeRedEye(image); }, trueColor);
}

// The pixel's hue, saturation and lightness changed to a colour in [0, 1] per channel, blended
// over the pixel by amount.
ColorRule throughHsl(const std::function<void(double&, double&, double&)>& change,
                     double amount = 1) {
    return [=](RGBQUAD q) {
        double h = 0;
        double s = 0;
        double l = 0;
        fipSuperImage::RGBtoHSL(q, h, s, l);
        change(h, s, l);
        double rgb[3];
        hslToRgb(h, s, l, rgb);
        const auto blend = [&](BYTE was, double now) {
            return roundedLevel(was * (1 - amount) + now * 255 * amount);
        };
        return RGBQUAD{blend(q.rgbBlue, rgb[2]), blend(q.rgbGreen, rgb[1]), blend(q.rgbRed, rgb[0]),
                       q.rgbReserved};
    };
}

ColorRule adjustHslRule(AdjustHslParams p) {
    return throughHsl([p](double& h, double& s, double& l) {
        h = std::fmod(h + p.hue * 1.8 + 360, 360);
        s = std::min(1.0, s * (1 + p.saturation / 100.0));
        l = p.lightness < 0 ? l * (1 + p.lightness / 100.0) : l + (1 - l) * p.lightness / 100.0;
    });
}

TEST(HslEffects, ColorizeBlendsTheLightnessInTheHueOverThePixel) {
    // Within one level: the effect blends from a table of lightness, the reference per pixel.
    const ColorizeParams cases[][2] = {
        {{30, 0.6, 0.5}, {30, 0.6, 0.5}}, {{359.9, 1, 1}, {359.9, 1, 1}},
        {{750, 2, 1.5}, {30, 1, 1}},      {{-90, -1, 0.3}, {270, 0, 0.3}},
        {{kNaN, kNaN, kNaN}, {0, 0, 0}},  {{kInf, 0.3, 0.7}, {0, 0.3, 0.7}},
    };
    for (const auto& c : cases) {
        const ColorizeParams p = c[1];
        const auto rule = throughHsl(
            [p](double& h, double& s, double&) { h = p.hue, s = p.saturation; }, p.amount);
        expectMatchesRule([&](fipImage& image) { return colorize(image, c[0]); }, rule,
                          trueColorLayouts(), 1);
    }
    expectRefusesOthers(
        [](fipImage& image) {
            return colorize(image, {30, 0.5, 0.5});
        },
        trueColorLayouts());
}

TEST(HslEffects, AdjustHslShiftsHueAndMovesSaturationAndLightness) {
    // Within one level: the effect works in floats, the reference in doubles.
    const std::vector<EffectLayout> layouts = {{FIT_BITMAP, 4},
                                               {FIT_BITMAP, 8},
                                               {FIT_BITMAP, 8, false, true},
                                               {FIT_BITMAP, 24},
                                               {FIT_BITMAP, 32}};
    const AdjustHslParams cases[][2] = {
        {{0, 0, 0}, {0, 0, 0}},
        {{30, 20, -10}, {30, 20, -10}},
        {{-55, 70, 35}, {-55, 70, 35}},
        {{100, 100, 100}, {100, 100, 100}},
        {{-100, -100, -100}, {-100, -100, -100}},
        {{300, -300, 1000}, {100, -100, 100}},
    };
    for (const auto& c : cases) {
        expectMatchesRule([&](fipImage& image) { return adjustHSL(image, c[0]); },
                          adjustHslRule(c[1]), layouts, 1);
    }
    expectRefusesOthers([](fipImage& image) { return adjustHSL(image, {30, 20, -10}); }, layouts);
    // Large enough for several row bands and many whole vector chunks per row.
    for (const EffectLayout& layout : trueColorLayouts()) {
        const fipImage source = makeEffectImage(layout, 1029, 1000, 11);
        fipImage image(source);
        ASSERT_TRUE(adjustHSL(image, {30, 20, -10}));
        const int difference =
            maxByteDifference(image, applyRule(source, adjustHslRule({30, 20, -10})));
        EXPECT_TRUE(difference >= 0 && difference <= 1) << describe(layout) << difference;
    }
}

TEST(HslEffects, AdjustHslTakesKnownColoursWhereTheSlidersSay) {
    const auto adjusted = [](RGBQUAD colour, AdjustHslParams params) {
        fipImage image(FIT_BITMAP, 1, 1, 24);
        image.setPixelColor(0, 0, &colour);
        EXPECT_TRUE(adjustHSL(image, params));
        image.getPixelColor(0, 0, &colour);
        return std::vector<int>{colour.rgbRed, colour.rgbGreen, colour.rgbBlue};
    };
    const RGBQUAD red{0, 0, 255, 0};
    using Rgb = std::vector<int>;
    EXPECT_EQ(adjusted(red, {100, 0, 0}), (Rgb{0, 255, 255}));  // half way round
    EXPECT_EQ(adjusted(red, {-100, 0, 0}), (Rgb{0, 255, 255}));
    EXPECT_EQ(adjusted(red, {33, 0, 0}), (Rgb{255, 252, 0}));  // 59.4 degrees
    EXPECT_EQ(adjusted(red, {0, -100, 0}), (Rgb{128, 128, 128}));
    EXPECT_EQ(adjusted(red, {0, 0, 100}), (Rgb{255, 255, 255}));
    EXPECT_EQ(adjusted(red, {0, 0, -100}), (Rgb{0, 0, 0}));
    EXPECT_EQ(adjusted(red, {0, 0, 50}), (Rgb{255, 128, 128}));
    EXPECT_EQ(adjusted({90, 90, 90, 0}, {70, 100, 0}), (Rgb{90, 90, 90}));  // grey stays grey
}

}  // namespace
}  // namespace tarn::test
