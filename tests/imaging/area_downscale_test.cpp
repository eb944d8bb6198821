#include "imaging/area_downscale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "image_fixtures.h"

namespace tarn {
namespace {

using test::layoutName;
using test::makeImage;

// How much of source pixel j the target pixel i covers along an axis, in source pixels.
double coverage(int i, int j, int source, int target) {
    const double scale = static_cast<double>(source) / target;
    const double from = std::max<double>(i * scale, j);
    const double to = std::min<double>((i + 1) * scale, j + 1);
    return std::max(0.0, to - from);
}

// The slow, obvious area average: every source pixel weighted by the area of it the target
// pixel covers. Channels 0-2 are RGB, 3 alpha.
std::vector<double> referenceAverage(const PixelRowReader& reader, int width, int height) {
    const int sw = reader.width();
    const int sh = reader.height();
    std::vector<unsigned char> rgb(static_cast<std::size_t>(sw) * 3 * sh);
    std::vector<unsigned char> alpha(static_cast<std::size_t>(sw) * sh);
    for (int y = 0; y < sh; ++y) {
        reader.readRow(y, &rgb[static_cast<std::size_t>(y) * sw * 3], &alpha[y * sw]);
    }
    std::vector<double> result(static_cast<std::size_t>(width) * height * 4);
    for (int ty = 0; ty < height; ++ty) {
        for (int tx = 0; tx < width; ++tx) {
            double sums[4] = {};
            double area = 0;
            for (int y = 0; y < sh; ++y) {
                const double wy = coverage(ty, y, sh, height);
                for (int x = 0; wy > 0 && x < sw; ++x) {
                    const double w = wy * coverage(tx, x, sw, width);
                    const std::size_t at = static_cast<std::size_t>(y) * sw + x;
                    for (int c = 0; c < 3; ++c) {
                        sums[c] += w * rgb[at * 3 + c];
                    }
                    sums[3] += w * alpha[at];
                    area += w;
                }
            }
            for (int c = 0; c < 4; ++c) {
                result[(static_cast<std::size_t>(ty) * width + tx) * 4 + c] = sums[c] / area;
            }
        }
    }
    return result;
}

struct Scaled {
    std::vector<unsigned char> rgb;
    std::vector<unsigned char> alpha;
};

Scaled downscaled(const PixelRowReader& reader, int width, int height, int threads) {
    Scaled out{std::vector<unsigned char>(static_cast<std::size_t>(width) * height * 3),
               std::vector<unsigned char>(static_cast<std::size_t>(width) * height)};
    downscaleArea(reader, width, height, out.rgb.data(), out.alpha.data(), threads);
    return out;
}

TEST(AreaDownscale, EachPixelIsTheAverageOfTheSourcePixelsItCovers) {
    struct Case {
        unsigned sourceWidth, sourceHeight;
        int width, height;
    };
    const Case cases[] = {{7, 5, 3, 2},  {1001, 3, 10, 2}, {9, 1, 4, 1},    {1, 9, 1, 4},
                          {5, 3, 11, 7}, {1, 1, 3, 2},     {13, 11, 13, 11}};
    for (const PixelLayout layout :
         {PixelLayout::Rgb24, PixelLayout::Rgba32, PixelLayout::Palette4, PixelLayout::Grey16,
          PixelLayout::Rgba64, PixelLayout::RgbaFloat}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << layoutName(layout) << " " << c.sourceWidth << "x" << c.sourceHeight
                         << " to " << c.width << "x" << c.height);
            const FreeImageBitmap dib = makeImage(layout, c.sourceWidth, c.sourceHeight, 21);
            const PixelRowReader reader(dib.get());
            const Scaled out = downscaled(reader, c.width, c.height, 1);
            const std::vector<double> expected = referenceAverage(reader, c.width, c.height);
            for (int i = 0; i < c.width * c.height; ++i) {
                for (int k = 0; k < 3; ++k) {
                    ASSERT_LE(std::abs(out.rgb[i * 3 + k] - expected[i * 4 + k]), 1.0)
                        << "pixel " << i << " channel " << k;
                }
                ASSERT_LE(std::abs(out.alpha[i] - expected[i * 4 + 3]), 1.0) << "pixel " << i;
            }
        }
    }
}

TEST(AreaDownscale, ThreadedBandsGiveTheSameResultAsOneThread) {
    for (const PixelLayout layout : {PixelLayout::Rgba32, PixelLayout::Palette8}) {
        SCOPED_TRACE(layoutName(layout));
        const FreeImageBitmap dib = makeImage(layout, 301, 257, 4);
        const PixelRowReader reader(dib.get());
        const Scaled single = downscaled(reader, 37, 29, 1);
        for (const int threads : {2, 3, 8}) {
            const Scaled banded = downscaled(reader, 37, 29, threads);
            EXPECT_EQ(banded.rgb, single.rgb) << threads;
            EXPECT_EQ(banded.alpha, single.alpha) << threads;
        }
        // More threads than target rows.
        EXPECT_EQ(downscaled(reader, 5, 2, 8).rgb, downscaled(reader, 5, 2, 1).rgb);
    }
    EXPECT_EQ(downscaleThreads(999, 1000, 500), 1);
    EXPECT_EQ(downscaleThreads(6000, 4000, 1), 1);
    EXPECT_GE(downscaleThreads(6000, 4000, 500), 1);
    EXPECT_LE(downscaleThreads(6000, 4000, 500), 8);
}

}  // namespace
}  // namespace tarn
