#include "imaging/effects/texture_effects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "effect_fixtures.h"
#include "imaging/effects/texture_support.h"

namespace tarn {
namespace {

using test::describe;
using test::EffectLayout;

// Pixels by (x, scanline); scanline 0 is the bottom row of the picture.
BYTE* pixelAt(const fipImage& image, int x, int y) {
    return image.getScanLine(static_cast<unsigned>(y)) + x * (image.getBitsPerPixel() / 8);
}

int widthOf(const fipImage& image) {
    return static_cast<int>(image.getWidth());
}
int heightOf(const fipImage& image) {
    return static_cast<int>(image.getHeight());
}

// The slow references, per pixel, straight from each effect's definition. Alpha is never
// written, so a copy of the source keeps it.

fipImage referenceNoise(const fipImage& source, const AddNoiseParams& params) {
    fipImage out(source);
    const int amount = std::clamp(params.amount, 0, 255);
    const int bytes = static_cast<int>(source.getBitsPerPixel() / 8);
    for (int y = 0; y < heightOf(source); ++y) {
        const std::uint32_t key = texture::rowKey(params.seed, static_cast<std::uint32_t>(y));
        for (int x = 0; x < widthOf(source); ++x) {
            for (int c = 0; c < 3; ++c) {
                const auto index = static_cast<std::uint32_t>(x * bytes + c);
                const int noise =
                    texture::uniformOffset(texture::randomAt(key, index) >> 16, amount);
                const int value = pixelAt(source, x, y)[c] + noise;
                pixelAt(out, x, y)[c] = static_cast<BYTE>(std::clamp(value, 0, 255));
            }
        }
    }
    return out;
}

fipImage referenceMosaic(const fipImage& source, int blockSize) {
    fipImage out(source);
    const int b = std::max(blockSize, 1);
    const int w = widthOf(source);
    const int h = heightOf(source);
    for (int top = 0; top < h; top += b) {  // rows counted from the top of the picture
        for (int left = 0; left < w; left += b) {
            const int right = std::min(left + b, w);
            const int bottom = std::min(top + b, h);
            const int count = (right - left) * (bottom - top);
            for (int c = 0; c < 3; ++c) {
                long long sum = 0;
                for (int t = top; t < bottom; ++t) {
                    for (int x = left; x < right; ++x) {
                        sum += pixelAt(source, x, h - 1 - t)[c];
                    }
                }
                for (int t = top; t < bottom; ++t) {
                    for (int x = left; x < right; ++x) {
                        pixelAt(out, x, h - 1 - t)[c] =
                            static_cast<BYTE>((sum + count / 2) / count);
                    }
                }
            }
        }
    }
    return out;
}

fipImage referenceSpread(const fipImage& source, const SpreadParams& params) {
    fipImage out(source);
    const int amount = std::clamp(params.amount, 0, 32);
    const int w = widthOf(source);
    const int h = heightOf(source);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t bits =
                texture::randomAt(texture::rowKey(params.seed, static_cast<std::uint32_t>(y)),
                                  static_cast<std::uint32_t>(x));
            const int dx = texture::uniformOffset(bits & 0xffff, amount);
            const int dy = texture::uniformOffset(bits >> 16, amount);
            const BYTE* from =
                pixelAt(source, std::clamp(x + dx, 0, w - 1), std::clamp(y + dy, 0, h - 1));
            std::copy(from, from + 3, pixelAt(out, x, y));
        }
    }
    return out;
}

fipImage referenceStripe(const fipImage& source, const StripeParams& params) {
    fipImage out(source);
    const int swing = std::clamp(params.swing, 0, 100);
    const int frequency = std::clamp(params.frequency, 0, 100);
    const int w = widthOf(source);
    const int h = heightOf(source);
    for (int top = 0; top < h; ++top) {
        const double phase = 2.0 * std::numbers::pi * frequency * top / h;
        const auto offset = static_cast<int>(std::lround(swing * std::sin(phase)));
        for (int x = 0; x < w; ++x) {
            const BYTE* from = pixelAt(source, std::clamp(x - offset, 0, w - 1), h - 1 - top);
            std::copy(from, from + 3, pixelAt(out, x, h - 1 - top));
        }
    }
    return out;
}

fipImage referenceWind(const fipImage& source, const WindParams& params) {
    fipImage out(source);
    const int w = widthOf(source);
    const int level = std::clamp(params.level, 1, w);
    const int n = level + 1;
    const int upwind = params.direction >= 1 ? -1 : 1;  // where the wind comes from
    for (int y = 0; y < heightOf(source); ++y) {
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                int best = 0;
                for (int d = 0; d <= level; ++d) {
                    const int s = x + upwind * d;
                    if (s < 0 || s >= w) {
                        break;
                    }
                    const int v = pixelAt(source, s, y)[c];
                    best = std::max(best, params.smooth ? (v * n - 255 * d) / n : v);
                }
                pixelAt(out, x, y)[c] = static_cast<BYTE>(best);
            }
        }
    }
    return out;
}

using Effect = std::function<bool(fipImage&)>;
using Reference = std::function<fipImage(const fipImage&)>;

// Runs the effect on every odd size and both layouts it takes and compares with the reference.
void expectMatchesEverywhere(const Effect& effect, const Reference& reference,
                             const std::string& what) {
    unsigned seed = 7;
    for (const EffectLayout& layout : test::trueColorLayouts()) {
        for (const test::ImageSize size : test::effectSizes()) {
            const fipImage source = test::makeEffectImage(layout, size.width, size.height, ++seed);
            fipImage image(source);
            ASSERT_TRUE(effect(image)) << what << ", " << describe(layout);
            EXPECT_TRUE(test::samePixels(image, reference(source)))
                << what << ", " << describe(layout) << ", " << size.width << "x" << size.height;
        }
    }
}

TEST(TextureEffects, NoiseMatchesTheReferenceForAmountsInAndOutOfRange) {
    for (const int amount : {0, 1, 128, 255, 300, -40}) {
        for (const std::uint32_t seed : {1u, 0xdeadbeefu}) {
            const AddNoiseParams params{amount, seed};
            expectMatchesEverywhere([&](fipImage& image) { return addNoise(image, params); },
                                    [&](const fipImage& s) { return referenceNoise(s, params); },
                                    "amount " + std::to_string(amount));
        }
    }
}

TEST(TextureEffects, NoiseCoversItsWholeRangeAroundZeroAndFollowsTheSeed) {
    fipImage grey(FIT_BITMAP, 256, 256, 24);
    for (unsigned y = 0; y < 256; ++y) {
        std::fill(grey.getScanLine(y), grey.getScanLine(y) + 256 * 3, BYTE{128});
    }
    fipImage image(grey);
    ASSERT_TRUE(addNoise(image, {50, 9}));
    int low = 0;
    int high = 0;
    long long total = 0;
    std::vector<int> seen(101, 0);
    for (int y = 0; y < 256; ++y) {
        for (int i = 0; i < 256 * 3; ++i) {
            const int noise = image.getScanLine(static_cast<unsigned>(y))[i] - 128;
            low = std::min(low, noise);
            high = std::max(high, noise);
            total += noise;
            ++seen[static_cast<std::size_t>(std::clamp(noise + 50, 0, 100))];
        }
    }
    EXPECT_EQ(low, -50);
    EXPECT_EQ(high, 50);
    EXPECT_LT(std::abs(static_cast<double>(total) / (256 * 256 * 3)), 0.5);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 0), 0) << "every value in range occurs";
    // The three channels of a pixel get their own values.
    const BYTE* first = image.getScanLine(0);
    EXPECT_FALSE(first[0] == first[1] && first[1] == first[2] && first[3] == first[4]);

    fipImage again(grey);
    ASSERT_TRUE(addNoise(again, {50, 9}));
    EXPECT_TRUE(test::samePixels(image, again));
    fipImage other(grey);
    ASSERT_TRUE(addNoise(other, {50, 10}));
    EXPECT_FALSE(test::samePixels(image, other));
}

TEST(TextureEffects, MosaicMatchesTheReferenceForEveryBlockSize) {
    for (const int block : {-3, 0, 1, 2, 3, 4, 7, 1000}) {
        expectMatchesEverywhere([&](fipImage& image) { return mosaic(image, {block}); },
                                [&](const fipImage& s) { return referenceMosaic(s, block); },
                                "block " + std::to_string(block));
    }
}

TEST(TextureEffects, SpreadMatchesTheReferenceForAmountsInAndOutOfRange) {
    for (const int amount : {-5, 0, 1, 3, 32, 100}) {
        const SpreadParams params{amount, 42};
        expectMatchesEverywhere([&](fipImage& image) { return spread(image, params); },
                                [&](const fipImage& s) { return referenceSpread(s, params); },
                                "amount " + std::to_string(amount));
    }
}

TEST(TextureEffects, StripeMatchesTheReferenceForSwingsAndFrequencies) {
    const StripeParams cases[] = {{0, 35}, {25, 0},  {25, 35}, {1, 1},   {100, 100},
                                  {7, 3},  {300, 2}, {-5, 50}, {40, -1}, {2000, 2000}};
    for (const StripeParams& params : cases) {
        expectMatchesEverywhere([&](fipImage& image) { return stripe(image, params); },
                                [&](const fipImage& s) { return referenceStripe(s, params); },
                                "swing " + std::to_string(params.swing) + " frequency " +
                                    std::to_string(params.frequency));
    }
}

TEST(TextureEffects, StripeShiftsTheRowsOfOneWaveFromTheTop) {
    // Four rows, one wave, swing 2: from the top 0, +2 (right), 0, -2 (left).
    fipImage image(FIT_BITMAP, 5, 4, 24);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            std::fill(pixelAt(image, x, y), pixelAt(image, x, y) + 3, static_cast<BYTE>(x * 10));
        }
    }
    ASSERT_TRUE(stripe(image, {2, 1}));
    const int expected[4][5] = {
        {0, 10, 20, 30, 40}, {0, 0, 0, 10, 20}, {0, 10, 20, 30, 40}, {20, 30, 40, 40, 40}};
    for (int top = 0; top < 4; ++top) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(pixelAt(image, x, 3 - top)[1], expected[top][x])
                << "row " << top << " from the top, x " << x;
        }
    }
}

TEST(TextureEffects, WindMatchesTheReferenceForLevelsDirectionsAndSmoothing) {
    for (const bool smooth : {false, true}) {
        for (const int direction : {0, 1}) {
            for (const int level : {-1, 1, 2, 3, 8, 50}) {
                const WindParams params{level, direction, smooth};
                expectMatchesEverywhere([&](fipImage& image) { return wind(image, params); },
                                        [&](const fipImage& s) { return referenceWind(s, params); },
                                        "level " + std::to_string(level) + " direction " +
                                            std::to_string(direction) + (smooth ? " smooth" : ""));
            }
        }
        for (const int direction : {-2, 5}) {  // out of range: the nearer of the two
            const WindParams params{4, direction, smooth};
            expectMatchesEverywhere([&](fipImage& image) { return wind(image, params); },
                                    [&](const fipImage& s) { return referenceWind(s, params); },
                                    "direction " + std::to_string(direction));
        }
    }
}

TEST(TextureEffects, WindDrawsStreaksFromABrightPixelDownwind) {
    auto streak = [](int direction, bool smooth) {
        fipImage image(FIT_BITMAP, 9, 1, 24);
        std::fill(image.getScanLine(0), image.getScanLine(0) + 27, BYTE{0});
        std::fill(pixelAt(image, 4, 0), pixelAt(image, 4, 0) + 3, BYTE{255});
        EXPECT_TRUE(wind(image, {3, direction, smooth}));
        std::vector<int> row;
        for (int x = 0; x < 9; ++x) {
            row.push_back(pixelAt(image, x, 0)[0]);
        }
        return row;
    };
    EXPECT_EQ(streak(1, false), (std::vector<int>{0, 0, 0, 0, 255, 255, 255, 255, 0}));
    EXPECT_EQ(streak(0, false), (std::vector<int>{0, 255, 255, 255, 255, 0, 0, 0, 0}));
    EXPECT_EQ(streak(1, true), (std::vector<int>{0, 0, 0, 0, 255, 191, 127, 63, 0}));
    EXPECT_EQ(streak(0, true), (std::vector<int>{0, 63, 127, 191, 255, 0, 0, 0, 0}));
}

TEST(TextureEffects, LargeImagesSplitOverTheCoresGiveTheReferencePixels) {
    // Enough pixels for two bands; the layouts differ in nothing the bands see.
    for (const EffectLayout& layout : {EffectLayout{FIT_BITMAP, 32}}) {
        const fipImage source = test::makeEffectImage(layout, 1001, 1000, 3);
        const struct {
            std::string what;
            Effect effect;
            Reference reference;
        } cases[] = {
            {"noise",
             [](fipImage& i) {
                 return addNoise(i, {60, 4});
             },
             [](const fipImage& s) {
                 return referenceNoise(s, {60, 4});
             }},
            {"mosaic", [](fipImage& i) { return mosaic(i, {3}); },
             [](const fipImage& s) { return referenceMosaic(s, 3); }},
            {"spread",
             [](fipImage& i) {
                 return spread(i, {4, 8});
             },
             [](const fipImage& s) {
                 return referenceSpread(s, {4, 8});
             }},
            {"stripe",
             [](fipImage& i) {
                 return stripe(i, {25, 35});
             },
             [](const fipImage& s) {
                 return referenceStripe(s, {25, 35});
             }},
            {"wind",
             [](fipImage& i) {
                 return wind(i, {5, 0, true});
             },
             [](const fipImage& s) {
                 return referenceWind(s, {5, 0, true});
             }},
        };
        for (const auto& c : cases) {
            fipImage image(source);
            ASSERT_TRUE(c.effect(image)) << c.what << ", " << describe(layout);
            EXPECT_TRUE(test::samePixels(image, c.reference(source)))
                << c.what << ", " << describe(layout);
        }
    }
}

TEST(TextureEffects, OtherLayoutsAndEmptyImagesAreRefusedAndLeftAlone) {
    const Effect effects[] = {
        [](fipImage& i) { return addNoise(i, {100, 1}); },
        [](fipImage& i) { return mosaic(i, {2}); },
        [](fipImage& i) { return spread(i, {3, 1}); },
        [](fipImage& i) { return stripe(i, {10, 10}); },
        [](fipImage& i) { return wind(i, {3, 1, true}); },
    };
    for (const EffectLayout& layout : test::everyLayout()) {
        if (layout.type == FIT_BITMAP && (layout.bpp == 24 || layout.bpp == 32)) {
            continue;
        }
        const fipImage source = test::makeEffectImage(layout, 7, 5, 2);
        for (const Effect& effect : effects) {
            fipImage image(source);
            EXPECT_FALSE(effect(image)) << describe(layout);
            EXPECT_TRUE(test::samePixels(image, source)) << describe(layout);
        }
    }
    for (const Effect& effect : effects) {
        fipImage empty;
        EXPECT_FALSE(effect(empty));
        EXPECT_FALSE(empty.isValid());
        fipImage none(FIT_BITMAP, 0, 0, 24);
        EXPECT_FALSE(effect(none));
    }
}

}  // namespace
}  // namespace tarn
