#include "imaging/effects/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "effect_fixtures.h"

namespace tarn {
namespace {

using test::describe;
using test::EffectLayout;

// The pixel at column x of bitmap row y, as its bytes (packed pixels as one value).
std::string pixelAt(const fipImage& image, unsigned x, unsigned y) {
    const BYTE* row = image.getScanLine(y);
    const unsigned bpp = image.getBitsPerPixel();
    if (bpp == 1) {
        return std::string(1, static_cast<char>((row[x / 8] >> (7 - x % 8)) & 1));
    }
    if (bpp == 4) {
        return std::string(1, static_cast<char>((row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 15));
    }
    return std::string(reinterpret_cast<const char*>(row) + x * (bpp / 8), bpp / 8);
}

bool samePalette(const fipImage& a, const fipImage& b) {
    return a.getPaletteSize() == b.getPaletteSize() &&
           (a.getPaletteSize() == 0 ||
            std::memcmp(a.getPalette(), b.getPalette(), a.getPaletteSize()) == 0);
}

// The source pixel that lands on (x, y) of the result after turns quarter turns
// counter-clockwise, rows counted from the bottom as in the bitmap.
std::string turnedPixel(const fipImage& source, int turns, unsigned x, unsigned y) {
    const unsigned w = source.getWidth();
    const unsigned h = source.getHeight();
    switch (turns) {
        case 1:
            return pixelAt(source, y, h - 1 - x);
        case 2:
            return pixelAt(source, w - 1 - x, h - 1 - y);
        case 3:
            return pixelAt(source, w - 1 - y, x);
        default:
            return pixelAt(source, x, y);
    }
}

std::vector<EffectLayout> rotatableLayouts() {
    return {{FIT_BITMAP, 1},
            {FIT_BITMAP, 8},
            {FIT_BITMAP, 8, false, true},
            {FIT_BITMAP, 24},
            {FIT_BITMAP, 32}};
}

TEST(RotateImage, QuarterTurnsMovePixelsExactlyAndSwapTheResolution) {
    const std::pair<double, int> angles[] = {{90, 1},  {180, 2},  {270, 3}, {-90, 3},
                                             {450, 1}, {-540, 2}, {0, 0},   {720, 0}};
    for (const EffectLayout& layout : rotatableLayouts()) {
        for (const test::ImageSize size : test::effectSizes()) {
            for (const auto& [degrees, turns] : angles) {
                fipImage source = test::makeEffectImage(layout, size.width, size.height, 7);
                source.setHorizontalResolution(30.0);
                source.setVerticalResolution(60.0);
                fipImage turned(source);
                ASSERT_TRUE(rotateImage(turned, degrees)) << describe(layout) << " " << degrees;
                const bool sideways = turns % 2 == 1;
                ASSERT_EQ(turned.getWidth(), sideways ? size.height : size.width);
                ASSERT_EQ(turned.getHeight(), sideways ? size.width : size.height);
                ASSERT_EQ(turned.getBitsPerPixel(), layout.bpp);
                ASSERT_TRUE(samePalette(turned, source)) << describe(layout);
                EXPECT_NEAR(turned.getHorizontalResolution(), sideways ? 60.0 : 30.0, 0.01);
                for (unsigned y = 0; y < turned.getHeight(); ++y) {
                    for (unsigned x = 0; x < turned.getWidth(); ++x) {
                        ASSERT_EQ(pixelAt(turned, x, y), turnedPixel(source, turns, x, y))
                            << describe(layout) << " " << degrees << " at " << x << "," << y
                            << " of " << size.width << "x" << size.height;
                    }
                }
            }
        }
    }
}

TEST(RotateImage, RefusesBadAnglesOtherLayoutsAndResultsPastTheLimit) {
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};
    for (const double degrees : bad) {
        fipImage image = test::makeEffectImage({FIT_BITMAP, 24}, 7, 5);
        const fipImage before(image);
        EXPECT_FALSE(rotateImage(image, degrees));
        EXPECT_TRUE(test::samePixels(image, before));
    }
    for (const EffectLayout& layout : test::everyLayout()) {
        if (layout.type == FIT_BITMAP &&
            (layout.bpp == 1 || layout.bpp == 8 || layout.bpp == 24 || layout.bpp == 32)) {
            continue;
        }
        fipImage image = test::makeEffectImage(layout, 7, 5);
        const fipImage before(image);
        EXPECT_FALSE(rotateImage(image, 90)) << describe(layout);
        EXPECT_FALSE(rotateImage(image, 30)) << describe(layout);
        EXPECT_TRUE(test::samePixels(image, before)) << describe(layout);
    }
    fipImage empty;
    EXPECT_FALSE(rotateImage(empty, 90));
    // A long line turned by 45 degrees needs a canvas of over a gigapixel.
    fipImage line(FIT_BITMAP, 50000, 1, 8);
    EXPECT_FALSE(rotateImage(line, 45));
    EXPECT_EQ(line.getWidth(), 50000u);
}

// Where the pixels of the bright quarter of the picture land: their mean position.
std::pair<double, double> brightCentre(const fipImage& image, bool palette) {
    double sx = 0, sy = 0, n = 0;
    for (unsigned y = 0; y < image.getHeight(); ++y) {
        for (unsigned x = 0; x < image.getWidth(); ++x) {
            const BYTE* p = image.getScanLine(y) + x * (palette ? 1 : 3);
            const bool bright = palette ? image.getPalette()[*p].rgbRed == 250 : p[2] > 200;
            if (bright) {
                sx += x, sy += y, n += 1;
            }
        }
    }
    return {sx / n, sy / n};
}

TEST(RotateImage, OtherAnglesTurnTheSameWayOnEveryDepthAndKeepPaletteIndices) {
    // The top-right quarter is bright red; the rest is a dull colour.
    fipImage colour(FIT_BITMAP, 40, 30, 24);
    fipImage indexed(FIT_BITMAP, 40, 30, 8);
    RGBQUAD* palette = indexed.getPalette();
    for (unsigned i = 0; i < 256; ++i) {
        palette[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(255 - i), 10, 0};
    }
    palette[3] = RGBQUAD{0, 0, 250, 0};
    for (unsigned y = 0; y < 30; ++y) {
        for (unsigned x = 0; x < 40; ++x) {
            const bool bright = x >= 20 && y >= 15;
            BYTE* p = colour.getScanLine(y) + 3 * x;
            p[0] = 0, p[1] = 40, p[2] = bright ? 250 : 60;
            indexed.getScanLine(y)[x] = bright ? 3 : static_cast<BYTE>(100 + (x + y) % 7);
        }
    }
    fipImage before(indexed);
    ASSERT_TRUE(rotateImage(colour, 30, RGBQUAD{0, 0, 0, 0}));
    ASSERT_TRUE(rotateImage(indexed, 30, RGBQUAD{255, 0, 10, 0}));
    EXPECT_NEAR(colour.getWidth(), 40 * std::cos(0.5236) + 30 * std::sin(0.5236), 2.0);
    EXPECT_NEAR(indexed.getHeight(), colour.getHeight(), 2.0);
    const auto [cx, cy] = brightCentre(colour, false);
    const auto [ix, iy] = brightCentre(indexed, true);
    EXPECT_NEAR(cx - colour.getWidth() / 2.0, ix - indexed.getWidth() / 2.0, 1.5);
    EXPECT_NEAR(cy - colour.getHeight() / 2.0, iy - indexed.getHeight() / 2.0, 1.5);
    // Counter-clockwise: the top-right quarter moves up and to the left.
    EXPECT_LT(cx - colour.getWidth() / 2.0, 10.0 * std::cos(0.5236) + 1.0);
    EXPECT_GT(cy - colour.getHeight() / 2.0, 7.5 * std::cos(0.5236) + 5.0 * std::sin(0.5236));
    // No blended indices: each one is a source index or the background's nearest entry, 255.
    for (unsigned y = 0; y < indexed.getHeight(); ++y) {
        for (unsigned x = 0; x < indexed.getWidth(); ++x) {
            const BYTE i = indexed.getScanLine(y)[x];
            ASSERT_TRUE(i == 3 || i == 255 || (i >= 100 && i < 107)) << int(i);
        }
    }
    EXPECT_EQ(indexed.getScanLine(0)[0], 255);
    EXPECT_EQ(std::memcmp(indexed.getPalette(), before.getPalette(), 1024), 0);

    fipImage a = test::makeEffectImage({FIT_BITMAP, 1}, 9, 7);
    fipImage b(a);
    ASSERT_TRUE(rotateImage(a, 1e9));
    ASSERT_TRUE(rotateImage(b, 280));
    EXPECT_TRUE(test::samePixels(a, b));
}

TEST(FlipImage, MirrorsEveryLayoutPixelForPixel) {
    for (const EffectLayout& layout : test::everyLayout()) {
        for (const test::ImageSize size : test::effectSizes()) {
            const fipImage source = test::makeEffectImage(layout, size.width, size.height, 5);
            fipImage across(source);
            fipImage down(source);
            ASSERT_TRUE(flipImageHorizontal(across)) << describe(layout);
            ASSERT_TRUE(flipImageVertical(down)) << describe(layout);
            for (unsigned y = 0; y < size.height; ++y) {
                for (unsigned x = 0; x < size.width; ++x) {
                    ASSERT_EQ(pixelAt(across, x, y), pixelAt(source, size.width - 1 - x, y))
                        << describe(layout) << " " << size.width << "x" << size.height;
                    ASSERT_EQ(pixelAt(down, x, y), pixelAt(source, x, size.height - 1 - y))
                        << describe(layout) << " " << size.width << "x" << size.height;
                }
            }
            ASSERT_TRUE(flipImageHorizontal(across));
            EXPECT_TRUE(test::samePixels(across, source)) << describe(layout);
        }
    }
    fipImage empty;
    EXPECT_FALSE(flipImageHorizontal(empty));
    EXPECT_FALSE(flipImageVertical(empty));
}

TEST(CropImage, KeepsTheRectangleCountedFromTheTopOnEveryLayout) {
    struct Rect {
        int left, top, right, bottom;
    };
    // Inside, clipped on every side, a single pixel.
    const Rect rects[] = {{1, 1, 3, 4}, {-5, -5, 1000, 1000}, {0, 2, 1, 3}, {4, 0, 6000, 2}};
    for (const EffectLayout& layout : test::everyLayout()) {
        for (const test::ImageSize size : test::effectSizes()) {
            const fipImage source = test::makeEffectImage(layout, size.width, size.height, 9);
            for (const Rect& r : rects) {
                const int left = std::max(r.left, 0);
                const int top = std::max(r.top, 0);
                const int right = std::min<int>(r.right, static_cast<int>(size.width));
                const int bottom = std::min<int>(r.bottom, static_cast<int>(size.height));
                fipImage image(source);
                const bool empty = right <= left || bottom <= top;
                ASSERT_EQ(cropImage(image, r.left, r.top, r.right, r.bottom), !empty)
                    << describe(layout);
                if (empty) {
                    EXPECT_TRUE(test::samePixels(image, source));
                    continue;
                }
                ASSERT_EQ(image.getWidth(), unsigned(right - left));
                ASSERT_EQ(image.getHeight(), unsigned(bottom - top));
                for (int y = top; y < bottom; ++y) {
                    for (int x = left; x < right; ++x) {
                        ASSERT_EQ(pixelAt(image, x - left, bottom - 1 - y),
                                  pixelAt(source, x, size.height - 1 - y))
                            << describe(layout) << " " << x << "," << y;
                    }
                }
                EXPECT_TRUE(samePalette(image, source)) << describe(layout);
            }
        }
    }
    fipImage image = test::makeEffectImage({FIT_BITMAP, 24}, 7, 5);
    EXPECT_FALSE(cropImage(image, 3, 1, 3, 4));
    EXPECT_FALSE(cropImage(image, 5, 4, 2, 1));
    EXPECT_EQ(image.getWidth(), 7u);
}

}  // namespace
}  // namespace tarn
