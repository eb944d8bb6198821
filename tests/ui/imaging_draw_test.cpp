#include <gtest/gtest.h>
#include <wx/dcmemory.h>

#include "imaging/image_draw.h"
#include "imaging/imaging_service.h"

namespace tarn {
namespace {

// Sets the top-left pixel (the last scan line in the library's bottom-up order).
template <typename Pixel>
Pixel* topLeft(fipImage& image) {
    return reinterpret_cast<Pixel*>(image.getScanLine(image.getHeight() - 1));
}

struct Rgb {
    int red;
    int green;
    int blue;
};

void expectPixel(const wxImage& image, int x, int y, Rgb expected, int tolerance = 0) {
    ASSERT_TRUE(image.IsOk());
    EXPECT_NEAR(image.GetRed(x, y), expected.red, tolerance) << x << "," << y;
    EXPECT_NEAR(image.GetGreen(x, y), expected.green, tolerance) << x << "," << y;
    EXPECT_NEAR(image.GetBlue(x, y), expected.blue, tolerance) << x << "," << y;
}

TEST(ImagingDraw, StandardBitmapsConvertWithTheRightColoursAndOrientation) {
    ImagingService service;
    fipImage rgb(FIT_BITMAP, 4, 3, 24);
    BYTE* p = topLeft<BYTE>(rgb);
    p[FI_RGBA_RED] = 200;
    p[FI_RGBA_GREEN] = 10;
    p[FI_RGBA_BLUE] = 30;
    wxImage out = toWxImage(rgb);
    EXPECT_EQ(out.GetWidth(), 4);
    EXPECT_EQ(out.GetHeight(), 3);
    EXPECT_FALSE(out.HasAlpha());
    expectPixel(out, 0, 0, {200, 10, 30});
    expectPixel(out, 0, 2, {0, 0, 0});

    fipImage rgba(FIT_BITMAP, 4, 3, 32);
    p = topLeft<BYTE>(rgba);
    p[FI_RGBA_RED] = 1;
    p[FI_RGBA_GREEN] = 2;
    p[FI_RGBA_BLUE] = 3;
    p[FI_RGBA_ALPHA] = 77;
    out = toWxImage(rgba);
    ASSERT_TRUE(out.HasAlpha());
    expectPixel(out, 0, 0, {1, 2, 3});
    EXPECT_EQ(out.GetAlpha(0, 0), 77);
    EXPECT_EQ(out.GetAlpha(1, 0), 0);

    fipImage eight(FIT_BITMAP, 4, 3, 8);
    eight.getPalette()[5] = RGBQUAD{3, 2, 1, 0};  // blue, green, red
    topLeft<BYTE>(eight)[1] = 5;
    out = toWxImage(eight);
    expectPixel(out, 1, 0, {1, 2, 3});

    fipImage four(FIT_BITMAP, 5, 2, 4);
    four.getPalette()[9] = RGBQUAD{92, 91, 90, 0};
    topLeft<BYTE>(four)[2] = 0x09;  // x = 5 (low nibble) is past the width; x = 4 is high
    topLeft<BYTE>(four)[0] = 0x90;  // x = 0
    out = toWxImage(four);
    expectPixel(out, 0, 0, {90, 91, 92});
    expectPixel(out, 1, 0, {0, 0, 0});

    fipImage one(FIT_BITMAP, 9, 2, 1);
    one.getPalette()[1] = RGBQUAD{255, 255, 255, 0};
    topLeft<BYTE>(one)[0] = 0x80;  // x = 0 set
    topLeft<BYTE>(one)[1] = 0x80;  // x = 8 set
    out = toWxImage(one);
    expectPixel(out, 0, 0, {255, 255, 255});
    expectPixel(out, 1, 0, {0, 0, 0});
    expectPixel(out, 8, 0, {255, 255, 255});
    expectPixel(out, 8, 1, {0, 0, 0});

    fipImage sixteen(rgb);
    ASSERT_TRUE(sixteen.convertTo16Bits565());
    out = toWxImage(sixteen);
    expectPixel(out, 0, 0, {200, 10, 30}, 8);
}

TEST(ImagingDraw, WideAndFloatTypesConvert) {
    ImagingService service;
    fipImage grey16(FIT_UINT16, 3, 2, 16);
    topLeft<WORD>(grey16)[0] = 0x8000;
    expectPixel(toWxImage(grey16), 0, 0, {128, 128, 128});

    fipImage rgb16(FIT_RGB16, 3, 2, 48);
    topLeft<FIRGB16>(rgb16)[2] = FIRGB16{65535, 0, 32768};
    expectPixel(toWxImage(rgb16), 2, 0, {255, 0, 128});

    fipImage rgba16(FIT_RGBA16, 3, 2, 64);
    topLeft<FIRGBA16>(rgba16)[0] = FIRGBA16{0, 65535, 0, 0x4000};
    wxImage out = toWxImage(rgba16);
    expectPixel(out, 0, 0, {0, 255, 0});
    ASSERT_TRUE(out.HasAlpha());
    EXPECT_EQ(out.GetAlpha(0, 0), 64);

    fipImage grey(FIT_FLOAT, 3, 2, 32);
    topLeft<float>(grey)[0] = 1.0f;
    out = toWxImage(grey);
    expectPixel(out, 0, 0, {255, 255, 255});
    expectPixel(out, 1, 1, {0, 0, 0});

    for (const FREE_IMAGE_TYPE type : {FIT_RGBF, FIT_RGBAF}) {
        fipImage hdr(type, 3, 2, type == FIT_RGBF ? 96 : 128);
        float* first = topLeft<float>(hdr);
        first[0] = first[1] = first[2] = 4.0f;
        out = toWxImage(hdr);
        ASSERT_TRUE(out.IsOk()) << type;
        EXPECT_GT(out.GetRed(0, 0), 200) << type;
        EXPECT_LT(out.GetRed(2, 1), 30) << type;
    }
    EXPECT_FALSE(toWxImage(fipImage()).IsOk());
}

// Draws into a blue 100 x 80 canvas and returns what it shows.
template <typename Draw>
wxImage drawn(Draw draw) {
    wxBitmap canvas(100, 80, 24);
    {
        wxMemoryDC dc(canvas);
        dc.SetBackground(wxBrush(wxColour(0, 0, 255)));
        dc.Clear();
        draw(dc);
    }
    return canvas.ConvertToImage();
}

fipImage solid(unsigned width, unsigned height, unsigned bpp, BYTE red, BYTE green, BYTE blue,
               BYTE alpha = 255) {
    fipImage image(FIT_BITMAP, width, height, bpp);
    for (unsigned y = 0; y < height; ++y) {
        BYTE* p = image.getScanLine(y);
        for (unsigned x = 0; x < width; ++x, p += bpp / 8) {
            p[FI_RGBA_RED] = red;
            p[FI_RGBA_GREEN] = green;
            p[FI_RGBA_BLUE] = blue;
            if (bpp == 32) {
                p[FI_RGBA_ALPHA] = alpha;
            }
        }
    }
    return image;
}

TEST(ImagingDraw, DrawExFillsExactlyTheRectangle) {
    ImagingService service;
    const fipImage red = solid(10, 10, 24, 255, 0, 0);
    for (const StretchMode mode : {StretchMode::Fast, StretchMode::Quality}) {
        const wxImage out = drawn([&](wxDC& dc) {
            EXPECT_TRUE(drawEx(dc, wxRect(20, 10, 40, 30), red, false, nullptr, nullptr, mode));
        });
        expectPixel(out, 20, 10, {255, 0, 0});
        expectPixel(out, 59, 39, {255, 0, 0});
        expectPixel(out, 19, 10, {0, 0, 255});
        expectPixel(out, 60, 39, {0, 0, 255});
        expectPixel(out, 20, 40, {0, 0, 255});
    }
    const wxImage untouched = drawn([&](wxDC& dc) {
        EXPECT_FALSE(
            drawEx(dc, wxRect(0, 0, 0, 10), red, false, nullptr, nullptr, StretchMode::Fast));
        EXPECT_FALSE(drawEx(dc, wxRect(0, 0, 10, 10), fipImage(), false, nullptr, nullptr,
                            StretchMode::Fast));
    });
    expectPixel(untouched, 5, 5, {0, 0, 255});
}

TEST(ImagingDraw, QualityModeFiltersAndFastModeSamples) {
    ImagingService service;
    // A one-pixel checkerboard averages to grey when filtered, stays black or white sampled.
    fipImage board(FIT_BITMAP, 200, 200, 24);
    for (unsigned y = 0; y < 200; ++y) {
        BYTE* p = board.getScanLine(y);
        for (unsigned x = 0; x < 200; ++x, p += 3) {
            p[0] = p[1] = p[2] = (x + y) % 2 == 0 ? 255 : 0;
        }
    }
    const wxImage quality = drawn([&](wxDC& dc) {
        drawEx(dc, wxRect(0, 0, 50, 50), board, false, nullptr, nullptr, StretchMode::Quality);
    });
    EXPECT_NEAR(quality.GetRed(25, 25), 128, 20);
    const wxImage fast = drawn([&](wxDC& dc) {
        drawEx(dc, wxRect(0, 0, 50, 50), board, false, nullptr, nullptr, StretchMode::Fast);
    });
    const int value = fast.GetRed(25, 25);
    EXPECT_TRUE(value == 0 || value == 255) << value;
}

TEST(ImagingDraw, TransparentImagesLieOnTheChosenBackground) {
    ImagingService service;
    fipImage clear = solid(10, 10, 32, 255, 0, 0, 0);
    RGBQUAD green{0, 255, 0, 0};
    wxImage out = drawn([&](wxDC& dc) {
        drawEx(dc, wxRect(0, 0, 10, 10), clear, false, &green, nullptr, StretchMode::Fast);
    });
    expectPixel(out, 5, 5, {0, 255, 0});

    RGBQUAD yellow{0, 255, 255, 0};
    ASSERT_TRUE(clear.setFileBkColor(&yellow));
    out = drawn([&](wxDC& dc) {
        drawEx(dc, wxRect(0, 0, 10, 10), clear, true, &green, nullptr, StretchMode::Fast);
    });
    expectPixel(out, 5, 5, {255, 255, 0});
    out = drawn([&](wxDC& dc) {
        drawEx(dc, wxRect(0, 0, 10, 10), clear, false, &green, nullptr, StretchMode::Fast);
    });
    expectPixel(out, 5, 5, {0, 255, 0});

    const fipImage backdrop = solid(10, 10, 24, 0, 0, 128);
    fipImage plain = solid(10, 10, 32, 255, 0, 0, 0);
    out = drawn([&](wxDC& dc) {
        drawEx(dc, wxRect(0, 0, 10, 10), plain, false, nullptr, &backdrop, StretchMode::Fast);
    });
    expectPixel(out, 5, 5, {0, 0, 128});

    // Half-transparent red on white.
    RGBQUAD white{255, 255, 255, 0};
    fipImage half = solid(10, 10, 32, 255, 0, 0, 128);
    out = drawn([&](wxDC& dc) {
        drawEx(dc, wxRect(0, 0, 10, 10), half, false, &white, nullptr, StretchMode::Fast);
    });
    expectPixel(out, 5, 5, {255, 127, 127}, 2);
}

TEST(ImagingDraw, WxImageComesBackAsTheSamePicture) {
    ImagingService service;
    wxImage source(5, 4);
    source.SetRGB(0, 0, 10, 20, 30);
    source.SetRGB(4, 3, 40, 50, 60);
    fipImage image;
    ASSERT_TRUE(fromWxImage(source, image));
    EXPECT_EQ(image.getBitsPerPixel(), 24u);
    expectPixel(toWxImage(image), 0, 0, {10, 20, 30});
    expectPixel(toWxImage(image), 4, 3, {40, 50, 60});
    source.InitAlpha();
    source.SetAlpha(4, 3, 9);
    ASSERT_TRUE(fromWxImage(source, image));
    EXPECT_EQ(image.getBitsPerPixel(), 32u);
    EXPECT_EQ(toWxImage(image).GetAlpha(4, 3), 9);
}

}  // namespace
}  // namespace tarn
