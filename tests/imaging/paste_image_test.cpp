#include "imaging/paste_image.h"

#include <gtest/gtest.h>

#include <string>

namespace tarn {
namespace {

// x, y from the top-left; red = 10 x + 1, green = 10 y + 1, blue = tag.
fipImage picture(unsigned width, unsigned height, BYTE tag, unsigned bpp = 24) {
    fipImage image(FIT_BITMAP, width, height, bpp);
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            RGBQUAD c{tag, static_cast<BYTE>(10 * y + 1), static_cast<BYTE>(10 * x + 1), 255};
            image.setPixelColor(x, height - 1 - y, &c);
        }
    }
    return image;
}

std::string colorAt(fipImage& image, unsigned x, unsigned y) {
    RGBQUAD c{};
    const unsigned row = image.getHeight() - 1 - y;
    if (image.getBitsPerPixel() <= 8) {
        BYTE index = 0;
        image.getPixelIndex(x, row, &index);
        c = image.getPalette()[index];
    } else {
        image.getPixelColor(x, row, &c);
    }
    return std::to_string(c.rgbRed) + "," + std::to_string(c.rgbGreen) + "," +
           std::to_string(c.rgbBlue);
}

TEST(PasteImage, ALargerPictureIsCutAtTheTopLeftAndASmallerOneCoversOnlyItsPart) {
    fipImage target = picture(10, 8, 1);
    ASSERT_TRUE(pasteImage(target, picture(15, 12, 2), nullptr));
    EXPECT_EQ(target.getWidth(), 10u);
    EXPECT_EQ(target.getHeight(), 8u);
    EXPECT_EQ(colorAt(target, 0, 0), "1,1,2");
    EXPECT_EQ(colorAt(target, 9, 7), "91,71,2");

    fipImage small = picture(10, 8, 1);
    ASSERT_TRUE(pasteImage(small, picture(3, 2, 5), nullptr));
    EXPECT_EQ(colorAt(small, 2, 1), "21,11,5");
    EXPECT_EQ(colorAt(small, 3, 1), "31,11,1");
    EXPECT_EQ(colorAt(small, 2, 2), "21,21,1");
}

TEST(PasteImage, IntoAnAreaThePictureIsScaledToItAndTheRestStays) {
    fipImage target = picture(10, 8, 1);
    fipImage flat(FIT_BITMAP, 2, 2, 32);
    RGBQUAD red{0, 0, 250, 255};
    flat.setPixelColor(0, 0, &red);
    flat.setPixelColor(1, 0, &red);
    flat.setPixelColor(0, 1, &red);
    flat.setPixelColor(1, 1, &red);
    const Rect area{2, 3, 7, 7};
    ASSERT_TRUE(pasteImage(target, flat, &area));
    EXPECT_EQ(target.getBitsPerPixel(), 24u);
    for (unsigned y = 0; y < 8; ++y) {
        for (unsigned x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 7 && y >= 3 && y < 7;
            const std::string own =
                std::to_string(10 * x + 1) + "," + std::to_string(10 * y + 1) + ",1";
            EXPECT_EQ(colorAt(target, x, y), inside ? "250,0,0" : own) << x << "," << y;
        }
    }
}

TEST(PasteImage, PaletteTargetsGetTheNearestOfTheirOwnColoursAtEveryDepth) {
    for (const unsigned bpp : {1u, 4u, 8u}) {
        // Odd widths cross the byte boundaries of the packed rows.
        fipImage target(FIT_BITMAP, 7, 3, bpp);
        RGBQUAD* palette = target.getPalette();
        const unsigned colors = target.getPaletteSize() / sizeof(RGBQUAD);
        for (unsigned i = 0; i < colors; ++i) {
            palette[i] = RGBQUAD{0, 0, 0, 0};
        }
        palette[0] = RGBQUAD{0, 0, 0, 0};        // black
        palette[1] = RGBQUAD{255, 255, 255, 0};  // white
        if (colors > 2) {
            palette[2] = RGBQUAD{0, 0, 255, 0};  // red
        }
        fipImage source(FIT_BITMAP, 7, 3, 24);
        for (unsigned x = 0; x < 7; ++x) {
            for (unsigned y = 0; y < 3; ++y) {
                RGBQUAD c = x % 3 == 0   ? RGBQUAD{20, 10, 10, 0}     // near black
                            : x % 3 == 1 ? RGBQUAD{240, 250, 230, 0}  // near white
                                         : RGBQUAD{30, 20, 200, 0};   // reddish
                source.setPixelColor(x, y, &c);
            }
        }
        ASSERT_TRUE(pasteImage(target, source, nullptr)) << bpp;
        EXPECT_EQ(target.getBitsPerPixel(), bpp);
        for (unsigned x = 0; x < 7; ++x) {
            const std::string expected = x % 3 == 0   ? "0,0,0"
                                         : x % 3 == 1 ? "255,255,255"
                                         : bpp == 1   ? "0,0,0"
                                                      : "255,0,0";
            EXPECT_EQ(colorAt(target, x, 1), expected) << bpp << " bits, x " << x;
        }
    }
}

TEST(PasteImage, NothingChangesWhenThereIsNothingToPaste) {
    fipImage target = picture(4, 4, 1);
    EXPECT_FALSE(pasteImage(target, fipImage(), nullptr));
    fipImage none;
    EXPECT_FALSE(pasteImage(none, picture(2, 2, 1), nullptr));
    EXPECT_EQ(colorAt(target, 3, 3), "31,31,1");
    fipImage same = picture(3, 3, 9);
    EXPECT_TRUE(convertToDepthOf(same, target));
    EXPECT_EQ(colorAt(same, 2, 2), "21,21,9");
}

}  // namespace
}  // namespace tarn
