#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "effect_fixtures.h"
#include "imaging/effects/geometry.h"
#include "imaging/effects/resample_filters.h"

namespace tarn {
namespace {

using test::describe;
using test::EffectLayout;

double cubicKernel(double x, double b, double c) {
    x = std::fabs(x);
    if (x < 1) {
        return ((12 - 9 * b - 6 * c) * x * x * x + (-18 + 12 * b + 6 * c) * x * x + 6 - 2 * b) / 6;
    }
    if (x < 2) {
        return ((-b - 6 * c) * x * x * x + (6 * b + 30 * c) * x * x + (-12 * b - 48 * c) * x +
                8 * b + 24 * c) /
               6;
    }
    return 0;
}

double kernel(FREE_IMAGE_FILTER filter, double t) {
    const double pi = 3.14159265358979323846;
    switch (filter) {
        case FILTER_BOX:
            return t >= -0.5 && t < 0.5 ? 1 : 0;
        case FILTER_BILINEAR:
            return std::max(0.0, 1 - std::fabs(t));
        case FILTER_BSPLINE:
            return cubicKernel(t, 1, 0);
        case FILTER_BICUBIC:
            return cubicKernel(t, 1.0 / 3, 1.0 / 3);
        case FILTER_CATMULLROM:
            return cubicKernel(t, 0, 0.5);
        default: {
            if (std::fabs(t) >= 3) {
                return 0;
            }
            const auto sinc = [&](double x) { return x == 0 ? 1 : std::sin(pi * x) / (pi * x); };
            return sinc(t) * sinc(t / 3);
        }
    }
}

// The weights of every source pixel i for each target pixel x along one axis, before
// normalising: the kernel centred on the target pixel's centre, stretched when shrinking.
std::vector<std::vector<double>> axisWeights(FREE_IMAGE_FILTER filter, unsigned source,
                                             unsigned target) {
    const double scale = static_cast<double>(source) / target;
    std::vector<std::vector<double>> weights(target, std::vector<double>(source));
    for (unsigned x = 0; x < target; ++x) {
        for (unsigned i = 0; i < source; ++i) {
            weights[x][i] = kernel(filter, (i + 0.5 - (x + 0.5) * scale) / std::max(1.0, scale));
        }
    }
    return weights;
}

// Every target pixel as the normalised sum over every source pixel, in doubles.
fipImage referenceRescale(const fipImage& source, unsigned width, unsigned height,
                          FREE_IMAGE_FILTER filter) {
    const unsigned sw = source.getWidth();
    const unsigned sh = source.getHeight();
    const unsigned channels = source.getBitsPerPixel() / 8;
    const auto across = axisWeights(filter, sw, width);
    const auto down = axisWeights(filter, sh, height);
    fipImage result(FIT_BITMAP, width, height, source.getBitsPerPixel());
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            std::vector<double> sums(channels, 0.0);
            double total = 0;
            for (unsigned j = 0; j < sh; ++j) {
                for (unsigned i = 0; i < sw; ++i) {
                    const double w = down[y][j] * across[x][i];
                    if (w == 0) {
                        continue;
                    }
                    total += w;
                    for (unsigned c = 0; c < channels; ++c) {
                        sums[c] += w * source.getScanLine(j)[i * channels + c];
                    }
                }
            }
            for (unsigned c = 0; c < channels; ++c) {
                const double value = std::floor(sums[c] / total + 0.5);
                result.getScanLine(y)[x * channels + c] =
                    static_cast<BYTE>(std::clamp(value, 0.0, 255.0));
            }
        }
    }
    return result;
}

const FREE_IMAGE_FILTER kFilters[] = {FILTER_BOX,     FILTER_BILINEAR,   FILTER_BSPLINE,
                                      FILTER_BICUBIC, FILTER_CATMULLROM, FILTER_LANCZOS3};

// Within one level: our two passes add in floats, the reference in doubles. Both vector paths
// where the processor has the wide one.
TEST(RescaleImage, TrueColourMatchesTheDoubleReferenceWithinOneLevel) {
    for (const bool wide : {false, hasWideVectors()}) {
        for (const EffectLayout& layout : test::trueColorLayouts()) {
            for (const test::ImageSize size : test::effectSizes()) {
                const fipImage source = test::makeEffectImage(layout, size.width, size.height, 11);
                const test::ImageSize targets[] = {
                    {1, 1},
                    {3, 2},
                    {11, 13},
                    {std::min(2 * size.width + 1, 25u), 2 * size.height + 1}};
                for (const test::ImageSize target : targets) {
                    for (const FREE_IMAGE_FILTER filter : kFilters) {
                        ResampleFilter kernel{};
                        ASSERT_TRUE(resampleFilter(filter, kernel));
                        fipImage image;
                        image = resampleTrueColour(fipImage(source), target.width, target.height,
                                                   kernel, wide)
                                    .release();
                        const fipImage expected =
                            referenceRescale(source, target.width, target.height, filter);
                        const int difference = test::maxByteDifference(image, expected);
                        EXPECT_TRUE(difference == 0 || difference == 1)
                            << difference << " " << describe(layout) << " " << size.width << "x"
                            << size.height << " to " << target.width << "x" << target.height
                            << " filter " << filter << (wide ? " wide" : "");
                    }
                }
            }
        }
    }
}

TEST(RescaleImage, KeepsResolutionAndMetadataAndStaysCloseToTheLibrary) {
    // A smooth picture: a diagonal ramp in each channel.
    fipImage source(FIT_BITMAP, 200, 150, 24);
    for (unsigned y = 0; y < 150; ++y) {
        for (unsigned x = 0; x < 200; ++x) {
            BYTE* p = source.getScanLine(y) + 3 * x;
            p[0] = static_cast<BYTE>(x), p[1] = static_cast<BYTE>(y + 50),
            p[2] = static_cast<BYTE>((x + y) / 2);
        }
    }
    source.setHorizontalResolution(118.0);
    FreeImage_SetMetadataKeyValue(FIMD_COMMENTS, source, "Comment", "kept");
    fipImage ours(source);
    ASSERT_TRUE(rescaleImage(ours, {97, 61, FILTER_LANCZOS3}));
    EXPECT_NEAR(ours.getHorizontalResolution(), 118.0, 0.01);
    FITAG* tag = nullptr;
    EXPECT_TRUE(FreeImage_GetMetadata(FIMD_COMMENTS, ours, "Comment", &tag));
    fipImage library;
    library = FreeImage_Rescale(source, 97, 61, FILTER_LANCZOS3);
    const int difference = test::maxByteDifference(ours, library);
    EXPECT_TRUE(difference >= 0 && difference <= 2) << difference;
}

TEST(RescaleImage, OtherLayoutsGoThroughTheLibraryAndBadRequestsChangeNothing) {
    for (const EffectLayout& layout : test::everyLayout()) {
        const FREE_IMAGE_TYPE type = layout.type;
        const bool taken = type == FIT_BITMAP || type == FIT_UINT16 || type == FIT_FLOAT ||
                           type == FIT_RGB16 || type == FIT_RGBA16 || type == FIT_RGBF ||
                           type == FIT_RGBAF;
        fipImage image = test::makeEffectImage(layout, 9, 7);
        const fipImage before(image);
        EXPECT_EQ(rescaleImage(image, {5, 12, FILTER_CATMULLROM}), taken) << describe(layout);
        if (taken) {
            EXPECT_EQ(image.getWidth(), 5u) << describe(layout);
            EXPECT_EQ(image.getHeight(), 12u) << describe(layout);
            ASSERT_TRUE(rescaleImage(image, {1, 1, FILTER_BOX})) << describe(layout);
        } else {
            EXPECT_TRUE(test::samePixels(image, before)) << describe(layout);
        }
    }
    const RescaleParams refused[] = {{0, 5, FILTER_BOX},
                                     {5, 0, FILTER_BOX},
                                     {60000, 60000, FILTER_LANCZOS3},
                                     {5, 5, static_cast<FREE_IMAGE_FILTER>(7)}};
    for (const RescaleParams& params : refused) {
        fipImage image = test::makeEffectImage({FIT_BITMAP, 24}, 9, 7);
        const fipImage before(image);
        EXPECT_FALSE(rescaleImage(image, params)) << params.width << "x" << params.height;
        EXPECT_TRUE(test::samePixels(image, before));
    }
    fipImage empty;
    EXPECT_FALSE(rescaleImage(empty, {5, 5, FILTER_BOX}));
}

}  // namespace
}  // namespace tarn
