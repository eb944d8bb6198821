#include "imaging/effects/convolution.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "convolution_reference.h"
#include "effect_fixtures.h"

namespace tarn {
namespace {

using test::describe;
using test::EffectLayout;
using test::Grid;

std::vector<EffectLayout> filteredLayouts() {
    std::vector<EffectLayout> layouts;
    for (const EffectLayout& layout : test::everyLayout()) {
        if (layout.type != FIT_COMPLEX) {
            layouts.push_back(layout);
        }
    }
    return layouts;
}

// Sizes whose rows are split across the cores as well as the odd ones.
// Large enough for its rows to be split across the cores and its rows into passes.
constexpr test::ImageSize kBanded{1500, 120};

bool isFloat(const EffectLayout& layout) {
    return layout.type == FIT_FLOAT || layout.type == FIT_DOUBLE || layout.type == FIT_RGBF ||
           layout.type == FIT_RGBAF;
}

// The largest difference of a channel between two images of the same layout.
double largestDifference(const fipImage& a, const fipImage& b) {
    const Grid ga = test::readGrid(a);
    const Grid gb = test::readGrid(b);
    double most = 0;
    for (std::size_t i = 0; i < ga.values.size(); ++i) {
        most = std::max(most, std::abs(ga.values[i] - gb.values[i]));
    }
    return most;
}

fipImage filledWith(const fipImage& source, double value) {
    return test::mapChannels(source, [value](const Grid&, int, int, int) { return value; });
}

std::vector<ConvolutionParams> kernelsToCheck() {
    std::vector<ConvolutionParams> kernels = {kGaussian3(), kGaussian5(), kSoften(), kSharpen()};
    // Not symmetric, with a negative divisor and a bias: catches a kernel read upside down.
    kernels.push_back({{3, 0, -1, 5, 2, 0, -2, 7, 1}, 3, -5, 20});
    // Rank one but not symmetric: (1 0 -2) down times (3 1 0) across.
    kernels.push_back({{3, 1, 0, 0, 0, 0, -6, -2, 0}, 3, 4, 100});
    std::vector<int> wide(49);
    for (int i = 0; i < 49; ++i) {
        wide[i] = (i * 7) % 5 - 1;
    }
    kernels.push_back({wide, 7, 9, 3});
    // Sums past 16 bits.
    kernels.push_back({{300, -200, 90, 0, 1000, 0, 5, -70, 400}, 3, 1333, -9});
    return kernels;
}

TEST(Convolution, EqualsTheReferenceOnEveryLayoutAndSize) {
    for (const ConvolutionParams& params : kernelsToCheck()) {
        for (const EffectLayout& layout : filteredLayouts()) {
            std::vector<test::ImageSize> sizes = test::effectSizes();
            // The bands are the same code for every type; the 16-bit sums are not.
            if (layout.type == FIT_BITMAP && layout.bpp >= 24 && params.side == 3) {
                sizes.push_back(kBanded);
            }
            for (const test::ImageSize size : sizes) {
                fipImage image = test::makeEffectImage(layout, size.width, size.height, 7);
                const fipImage expected = test::referenceConvolution(
                    image, params.kernel, params.side, params.divisor, params.bias);
                ASSERT_TRUE(convolute(image, params)) << describe(layout);
                EXPECT_TRUE(test::samePixels(image, expected))
                    << describe(layout) << " " << size.width << "x" << size.height << " side "
                    << params.side << " divisor " << params.divisor;
            }
        }
    }
}

TEST(Convolution, IdentityKeepsEveryLayoutAndItsResolution) {
    for (const EffectLayout& layout : filteredLayouts()) {
        fipImage image = test::makeEffectImage(layout, 9, 7, 3);
        image.setHorizontalResolution(30.0);
        const fipImage original(image);
        ASSERT_TRUE(convolute(image, {{0, 0, 0, 0, 1, 0, 0, 0, 0}, 3, 1, 0})) << describe(layout);
        EXPECT_TRUE(test::samePixels(image, original)) << describe(layout);
        EXPECT_DOUBLE_EQ(image.getHorizontalResolution(), original.getHorizontalResolution());
    }
}

TEST(Convolution, EveryEffectRefusesEmptyAndUntakenLayoutsUntouched) {
    using Effect = std::function<bool(fipImage&)>;
    const std::vector<std::pair<Effect, bool>> effects = {
        {[](fipImage& i) { return convolute(i, kGaussian3()); }, false},
        {[](fipImage& i) { return averageBlur(i, {2}); }, false},
        {[](fipImage& i) { return emboss(i, {5}); }, true},
        {[](fipImage& i) { return erode(i, {5}); }, true},
        {edgeDetectLight, true},
        {edgeDetectMedium, true},
        {edgeDetectHeavy, true}};
    for (const auto& [effect, trueColorOnly] : effects) {
        fipImage empty;
        EXPECT_FALSE(effect(empty));
        EXPECT_FALSE(empty.isValid());
        for (const EffectLayout& layout : test::everyLayout()) {
            const bool taken = trueColorOnly ? layout.type == FIT_BITMAP && layout.bpp >= 24
                                             : layout.type != FIT_COMPLEX;
            if (!taken) {
                fipImage image = test::makeEffectImage(layout, 5, 4, 2);
                const fipImage original(image);
                EXPECT_FALSE(effect(image)) << describe(layout);
                EXPECT_TRUE(test::samePixels(image, original)) << describe(layout);
            }
        }
    }
}

TEST(Convolution, ParametersOutOfRangeGiveTheirClampedResult) {
    const fipImage source = test::makeEffectImage({FIT_BITMAP, 32}, 9, 7, 5);
    const auto run = [&](const ConvolutionParams& params) {
        fipImage image(source);
        EXPECT_TRUE(convolute(image, params));
        return image;
    };
    const std::vector<int> nine = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    // A side below 1 is 1, an even one the next odd one, past 15 is 15; missing taps are 0.
    EXPECT_TRUE(test::samePixels(run({{2}, -4, 1, 0}), run({{2}, 1, 1, 0})));
    EXPECT_TRUE(test::samePixels(run({nine, 2, 45, 0}), run({nine, 3, 45, 0})));
    EXPECT_TRUE(test::samePixels(run({nine, 99, 45, 0}), run({nine, 15, 45, 0})));
    EXPECT_TRUE(test::samePixels(run({{}, 3, 1, 7}), filledWith(source, 7)));
    // Divisor 0 is 1; taps past +-32768 are 32768; a bias past any sum saturates.
    EXPECT_TRUE(test::samePixels(run({nine, 3, 0, 0}), run({nine, 3, 1, 0})));
    EXPECT_TRUE(test::samePixels(run({{INT_MAX}, 1, 32768, 0}), source));
    EXPECT_TRUE(test::samePixels(run({{INT_MIN}, 1, INT_MIN, 0}), run({{1}, 1, 65536, 0})));
    EXPECT_TRUE(test::samePixels(run({nine, 3, 1, INT_MAX}), filledWith(source, 255)));
    EXPECT_TRUE(test::samePixels(run({nine, 3, -1, INT_MIN}), filledWith(source, 0)));
}

TEST(AverageBlur, EqualsTheMeanOfTheSquareOnEveryLayoutAndSize) {
    for (const int radius : {1, 2, 9}) {
        for (const EffectLayout& layout : filteredLayouts()) {
            for (const test::ImageSize size :
                 {test::ImageSize{1, 1}, {9, 1}, {7, 5}, {1001, 3}, {600, 420}}) {
                if (size.width * size.height > 10000 &&
                    (layout.type != FIT_BITMAP || layout.bpp != 24 || radius != 1)) {
                    continue;  // one banded image is enough
                }
                fipImage image = test::makeEffectImage(layout, size.width, size.height, 11);
                const int side = 2 * radius + 1;
                const fipImage expected = test::referenceConvolution(
                    image, std::vector<int>(side * side, 1), side, side * side, 0);
                ASSERT_TRUE(averageBlur(image, {radius})) << describe(layout);
                // Running sums of floats round differently from a sum of the square.
                if (isFloat(layout)) {
                    EXPECT_LT(largestDifference(image, expected), 1e-5) << describe(layout);
                } else {
                    EXPECT_TRUE(test::samePixels(image, expected))
                        << describe(layout) << " radius " << radius << " " << size.width;
                }
            }
        }
    }
    const fipImage source = test::makeEffectImage({FIT_BITMAP, 24}, 7, 5, 2);
    for (const int radius : {0, -3}) {
        fipImage image(source);
        EXPECT_TRUE(averageBlur(image, {radius}));
        EXPECT_TRUE(test::samePixels(image, source));
    }
    fipImage huge(source);
    fipImage limit(source);
    EXPECT_TRUE(averageBlur(huge, {INT_MAX}));
    EXPECT_TRUE(averageBlur(limit, {10000}));
    EXPECT_TRUE(test::samePixels(huge, limit));
}

TEST(TrueColorEffects, EqualTheirKernelsAndKeepAlpha) {
    const auto kernelFor = [](int w) { return std::vector<int>{-w, -w, 0, -w, 0, w, 0, w, w}; };
    std::vector<int> heavy(25, -1);
    heavy[12] = 24;
    for (const EffectLayout& layout : test::trueColorLayouts()) {
        std::vector<test::ImageSize> sizes = test::effectSizes();
        sizes.push_back(kBanded);
        for (const test::ImageSize size : sizes) {
            const bool banded = size.width == kBanded.width;
            const fipImage source = test::makeEffectImage(layout, size.width, size.height, 4);
            const auto check = [&](const std::function<bool(fipImage&)>& effect,
                                   const fipImage& expected, const char* name) {
                fipImage image(source);
                ASSERT_TRUE(effect(image)) << name;
                EXPECT_TRUE(test::samePixels(image, expected))
                    << name << " " << describe(layout) << " " << size.width;
            };
            check(
                edgeDetectLight,
                test::referenceConvolution(source, {0, -1, 0, -1, 4, -1, 0, -1, 0}, 3, 1, 0, true),
                "light");
            check(edgeDetectMedium,
                  test::referenceConvolution(source, {-1, -1, -1, -1, 8, -1, -1, -1, -1}, 3, 1, 0,
                                             true),
                  "medium");
            check(edgeDetectHeavy, test::referenceConvolution(source, heavy, 5, 1, 0, true),
                  "heavy");
            // Weights past 1..15 are clamped.
            check([](fipImage& i) { return emboss(i, {-4}); },
                  test::referenceConvolution(source, kernelFor(1), 3, 8, 128, true), "emboss 1");
            check([](fipImage& i) { return emboss(i, {99}); },
                  test::referenceConvolution(source, kernelFor(15), 3, 8, 128, true), "emboss 15");
            for (const int size : banded ? std::vector<int>{5} : std::vector<int>{5, 4, 1, 0, 99}) {
                const int radius = (std::clamp(size, 1, 31) | 1) / 2;
                check([size](fipImage& i) { return erode(i, {size}); },
                      test::mapChannels(source,
                                        [&](const Grid& g, int x, int y, int c) {
                                            double darkest = g.edge(x, y, c);
                                            for (int dy = -radius; dy <= radius && c < 3; ++dy) {
                                                for (int dx = -radius; dx <= radius; ++dx) {
                                                    darkest = std::min(darkest,
                                                                       g.edge(x + dx, y + dy, c));
                                                }
                                            }
                                            return darkest;
                                        }),
                      "erode");
            }
        }
    }
}

}  // namespace
}  // namespace tarn
