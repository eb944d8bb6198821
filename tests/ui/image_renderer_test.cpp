#include "viewer/image_renderer.h"

#include <gtest/gtest.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "fakes/temp_dir.h"
#include "imaging/imaging_service.h"
#include "screen_grab.h"
#include "ui_test_support.h"

namespace tarn {
namespace {

struct Rgb {
    int red;
    int green;
    int blue;
    bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.red << "," << c.green << "," << c.blue << ")";
}

const Rgb kBackdrop{138, 138, 138};
// Painted before each paint, so that a pixel the renderer leaves alone shows up.
const wxColour kUntouched(255, 0, 255);

Rgb pixelAt(const wxImage& image, int x, int y) {
    return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

// x and y counted from the top of the picture.
BYTE* pixelOf(fipImage& image, int x, int y) {
    const unsigned step = image.getBitsPerPixel() / 8;
    return image.getScanLine(image.getHeight() - 1 - y) + x * step;
}

void setRgb(fipImage& image, int x, int y, Rgb c, int alpha = 255) {
    BYTE* p = pixelOf(image, x, y);
    p[FI_RGBA_RED] = static_cast<BYTE>(c.red);
    p[FI_RGBA_GREEN] = static_cast<BYTE>(c.green);
    p[FI_RGBA_BLUE] = static_cast<BYTE>(c.blue);
    if (image.getBitsPerPixel() == 32) {
        p[FI_RGBA_ALPHA] = static_cast<BYTE>(alpha);
    }
}

// A colour of its own for every pixel of a picture up to 50 x 50.
Rgb uniqueColour(int x, int y) {
    return {5 + x * 5, 5 + y * 5, 200};
}

fipImage uniqueImage(int width, int height) {
    fipImage image(FIT_BITMAP, width, height, 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            setRgb(image, x, y, uniqueColour(x, y));
        }
    }
    return image;
}

ViewGeometry makeView(int windowW, int windowH, int imageW, int imageH) {
    ViewGeometry view;
    view.setScrollBarSize(15, 15);
    view.setWindowSize(windowW, windowH);
    view.openImage(imageW, imageH);
    return view;
}

class ImageRendererTest : public ::testing::Test {
protected:
    // Paints the client area of the view into a bitmap and reads it back.
    wxImage paint(const ViewGeometry& view, const fipImage* image, const std::string& path = "a",
                  bool dragging = false, const wxColour& backdrop = wxColour(138, 138, 138)) {
        wxBitmap bitmap(view.clientWidth(), view.clientHeight(), 24);
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(kUntouched));
        dc.Clear();
        renderer.paint(dc, view, image, path, dragging, backdrop);
        dc.SelectObject(wxNullBitmap);
        return bitmap.ConvertToImage();
    }

    // Every pixel inside the rectangle is expected(x - left, y - top), every pixel outside it
    // the backdrop.
    static void expectPicture(const wxImage& out, const wxRect& rect,
                              const std::function<Rgb(int, int)>& expected,
                              Rgb backdrop = kBackdrop) {
        ASSERT_TRUE(out.IsOk());
        int wrong = 0;
        for (int y = 0; y < out.GetHeight() && wrong < 5; ++y) {
            for (int x = 0; x < out.GetWidth() && wrong < 5; ++x) {
                const Rgb want = rect.Contains(x, y) ? expected(x - rect.x, y - rect.y) : backdrop;
                const Rgb got = pixelAt(out, x, y);
                if (got != want) {
                    ++wrong;
                    ADD_FAILURE() << "at " << x << "," << y << " got " << got << " want " << want;
                }
            }
        }
    }

    ImagingService service;
    ImageRenderer renderer;
};

TEST_F(ImageRendererTest, NoImageFillsTheClientWithTheBackdrop) {
    ViewGeometry view;
    view.setWindowSize(50, 40);
    const wxImage out = paint(view, nullptr, "", false, wxColour(0, 0, 0));
    expectPicture(
        out, wxRect(), [](int, int) { return Rgb{}; }, Rgb{0, 0, 0});
}

TEST_F(ImageRendererTest, CallersPenAndBrushComeBack) {
    const fipImage image = uniqueImage(4, 4);
    const ViewGeometry view = makeView(30, 20, 4, 4);
    wxBitmap bitmap(30, 20, 24);
    wxMemoryDC dc(bitmap);
    dc.SetPen(wxPen(wxColour(1, 2, 3), 3));
    dc.SetBrush(wxBrush(wxColour(4, 5, 6)));
    renderer.paint(dc, view, &image, "a", false, wxColour(138, 138, 138));
    EXPECT_EQ(dc.GetPen().GetColour(), wxColour(1, 2, 3));
    EXPECT_EQ(dc.GetPen().GetWidth(), 3);
    EXPECT_EQ(dc.GetBrush().GetColour(), wxColour(4, 5, 6));
}

TEST_F(ImageRendererTest, ActualSizeIsPixelExactAndCentred) {
    const fipImage image = uniqueImage(4, 4);
    const ViewGeometry view = makeView(100, 80, 4, 4);
    ASSERT_EQ(view.drawPath(false), DrawPath::Copy);
    expectPicture(paint(view, &image), wxRect(48, 38, 4, 4), uniqueColour);
}

TEST_F(ImageRendererTest, ActualSizePansOverABigImage) {
    const fipImage image = uniqueImage(40, 30);
    ViewGeometry view = makeView(30, 25, 40, 30);
    view.setFixedZoom(1);
    view.setScroll(7, 3);
    const wxImage out = paint(view, &image);
    expectPicture(out, wxRect(0, 0, view.clientWidth(), view.clientHeight()),
                  [](int x, int y) { return uniqueColour(x + 7, y + 3); });
}

TEST_F(ImageRendererTest, EnlargedPixelsCoverExactBlocks) {
    const fipImage image = uniqueImage(4, 4);
    ViewGeometry view = makeView(100, 80, 4, 4);
    view.setFixedZoom(16);
    ASSERT_EQ(view.drawPath(false), DrawPath::Fast);
    expectPicture(paint(view, &image), wxRect(18, 8, 64, 64),
                  [](int x, int y) { return uniqueColour(x / 16, y / 16); });
}

TEST_F(ImageRendererTest, EnlargedAndScrolledShowsThePixelsUnderTheWindow) {
    const fipImage image = uniqueImage(20, 20);
    ViewGeometry view = makeView(100, 80, 20, 20);
    view.setFixedZoom(16);
    for (const auto& [sx, sy] : {std::pair{37, 21}, std::pair{0, 0}, std::pair{500, 500}}) {
        view.setScroll(sx, sy);
        const int x0 = static_cast<int>(view.scrollX());
        const int y0 = static_cast<int>(view.scrollY());
        SCOPED_TRACE(testing::Message() << "scroll " << x0 << "," << y0);
        expectPicture(paint(view, &image), wxRect(0, 0, view.clientWidth(), view.clientHeight()),
                      [&](int x, int y) { return uniqueColour((x + x0) / 16, (y + y0) / 16); });
    }
}

// A one-pixel black and white checkerboard: smoothing turns it grey, sampling does not.
fipImage fineChecker(int width, int height) {
    fipImage image(FIT_BITMAP, width, height, 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int v = (x + y) % 2 == 0 ? 255 : 0;
            setRgb(image, x, y, {v, v, v});
        }
    }
    return image;
}

TEST_F(ImageRendererTest, ReducedViewIsSmoothedAndCachedButSampledWhileTheSliderDrags) {
    const fipImage image = fineChecker(200, 160);
    const ViewGeometry view = makeView(100, 80, 200, 160);
    ASSERT_EQ(view.zoom(), 0.5);
    ASSERT_EQ(view.drawPath(false), DrawPath::HighQuality);

    wxImage out = paint(view, &image);
    EXPECT_TRUE(renderer.hasCache("a", 100, 80));
    EXPECT_FALSE(renderer.hasCache("b", 100, 80));
    EXPECT_FALSE(renderer.hasCache("a", 99, 80));
    for (int y = 0; y < 80; y += 7) {
        for (int x = 0; x < 100; x += 3) {
            EXPECT_NEAR(out.GetRed(x, y), 128, 1) << x << "," << y;
        }
    }

    out = paint(view, &image, "a", true);
    const int first = out.GetRed(0, 0);
    EXPECT_TRUE(first == 0 || first == 255);
    EXPECT_EQ(out.GetRed(1, 0), first);  // every other source pixel
    EXPECT_EQ(out.GetRed(0, 1), first);
}

TEST_F(ImageRendererTest, CacheIsReusedForTheSamePathAndRebuiltForAnother) {
    fipImage image = uniqueImage(40, 40);
    ViewGeometry view = makeView(30, 30, 40, 40);
    ASSERT_EQ(view.drawPath(false), DrawPath::HighQuality);
    const wxImage before = paint(view, &image, "a");
    const wxRect rect(0, 0, view.displayWidth(), view.displayHeight());

    // Changed pixels do not show while the cache for the same path and size is kept...
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            setRgb(image, x, y, {250, 10, 20});
        }
    }
    expectPicture(paint(view, &image, "a"), rect,
                  [&](int x, int y) { return pixelAt(before, x, y); });
    // ...and do under another path, or once the cache is dropped.
    const auto red = [](int, int) { return Rgb{250, 10, 20}; };
    expectPicture(paint(view, &image, "b"), rect, red);
    EXPECT_TRUE(renderer.hasCache("b", rect.width, rect.height));
    EXPECT_FALSE(renderer.hasCache("a", rect.width, rect.height));
    renderer.invalidate();
    EXPECT_FALSE(renderer.hasCache("b", rect.width, rect.height));
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            setRgb(image, x, y, {1, 2, 3});
        }
    }
    expectPicture(paint(view, &image, "b"), rect, [](int, int) { return Rgb{1, 2, 3}; });

    // Another display size rebuilds it too.
    view.setFixedZoom(0.5);
    const wxImage half = paint(view, &image, "b");
    EXPECT_TRUE(renderer.hasCache("b", 20, 20));
    EXPECT_EQ(pixelAt(half, 10, 10), (Rgb{1, 2, 3}));
}

TEST_F(ImageRendererTest, SmoothedViewLargerThanTheWindowFollowsTheScrollOffsets) {
    // Red rises by one per pixel across, green by one per pixel down.
    fipImage image(FIT_BITMAP, 400, 400, 24);
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 400; ++x) {
            setRgb(image, x, y, {x * 255 / 399, y * 255 / 399, 9});
        }
    }
    ViewGeometry view = makeView(100, 80, 400, 400);
    view.setFixedZoom(0.5);
    ASSERT_EQ(view.drawPath(false), DrawPath::HighQuality);
    view.setScroll(50, 60);
    ASSERT_EQ(view.scrollX(), 50);
    ASSERT_EQ(view.scrollY(), 60);
    const wxImage out = paint(view, &image);
    for (int y = 0; y < view.clientHeight(); y += 5) {
        for (int x = 0; x < view.clientWidth(); x += 5) {
            // Display pixel d averages image pixels 2d and 2d + 1.
            EXPECT_NEAR(out.GetRed(x, y), (2 * (x + 50) + 0.5) * 255 / 399, 1.5) << x << "," << y;
            EXPECT_NEAR(out.GetGreen(x, y), (2 * (y + 60) + 0.5) * 255 / 399, 1.5) << x << "," << y;
        }
    }
}

TEST_F(ImageRendererTest, BigImageIsAveragedOverExactlyItsSourceBlocks) {
    // Big enough to be shared out among threads in bands of rows.
    fipImage image(FIT_BITMAP, 1250, 1000, 24);
    for (int y = 0; y < 1000; ++y) {
        for (int x = 0; x < 1250; ++x) {
            setRgb(image, x, y, {x / 5, y / 4, (x + y) % 2 == 0 ? 255 : 0});
        }
    }
    const ViewGeometry view = makeView(125, 100, 1250, 1000);
    ASSERT_EQ(view.zoom(), 0.1);
    ASSERT_EQ(view.drawPath(false), DrawPath::HighQuality);
    // Each display pixel averages a 10 x 10 block.
    const auto mean = [](int start, int divisor) {
        int sum = 0;
        for (int i = start; i < start + 10; ++i) {
            sum += i / divisor;
        }
        return (sum + 5) / 10;
    };
    const wxImage out = paint(view, &image);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 125; ++x) {
            const Rgb got = pixelAt(out, x, y);
            ASSERT_NEAR(got.red, mean(10 * x, 5), 1) << x << "," << y;
            ASSERT_NEAR(got.green, mean(10 * y, 4), 1) << x << "," << y;
            ASSERT_NEAR(got.blue, 128, 1) << x << "," << y;
        }
    }
}

TEST_F(ImageRendererTest, ExtremeShapesDrawAtFitAndEnlarged) {
    fipImage dot(FIT_BITMAP, 1, 1, 24);
    setRgb(dot, 0, 0, {10, 20, 30});
    ViewGeometry view = makeView(100, 80, 1, 1);
    expectPicture(paint(view, &dot), wxRect(50, 40, 1, 1), [](int, int) {
        return Rgb{10, 20, 30};
    });
    view.setFixedZoom(16);
    expectPicture(paint(view, &dot), wxRect(42, 32, 16, 16), [](int, int) {
        return Rgb{10, 20, 30};
    });

    fipImage column(FIT_BITMAP, 1, 30000, 24);
    for (int y = 0; y < 30000; ++y) {
        setRgb(column, 0, y, {y % 256, 7, 8});
    }
    view = makeView(100, 80, 1, 30000);
    // Fitted, the column is one pixel wide and each of its 80 pixels averages 375 rows.
    ASSERT_EQ(view.displayWidth(), 1);
    ASSERT_EQ(view.displayHeight(), 80);
    expectPicture(paint(view, &column, "column"), wxRect(50, 0, 1, 80), [](int, int y) {
        int sum = 0;
        for (int row = y * 375; row < (y + 1) * 375; ++row) {
            sum += row % 256;
        }
        return Rgb{(2 * sum + 375) / 750, 7, 8};
    });
    EXPECT_TRUE(renderer.hasCache("column", 1, 80));

    view.setFixedZoom(16);
    view.setScroll(0, 16.0 * 29990);
    const int top = static_cast<int>(view.scrollY());
    const Placement placement = view.placement();
    const wxRect strip(placement.x.destStart, 0, 16, view.clientHeight());
    expectPicture(paint(view, &column, "column"), strip, [&](int, int y) {
        return Rgb{(y + top) / 16 % 256, 7, 8};
    });

    view.setFixedZoom(0.3);
    EXPECT_EQ(view.drawPath(true), DrawPath::Fast);
    const wxImage dragged = paint(view, &column, "column", true);
    EXPECT_EQ(pixelAt(dragged, 0, 0), kBackdrop);
}

TEST_F(ImageRendererTest, PalettesAndDeepImagesShowTheirColours) {
    const ViewGeometry view = makeView(20, 20, 4, 4);
    const wxRect rect(8, 8, 4, 4);

    fipImage eight(FIT_BITMAP, 4, 4, 8);
    eight.getPalette()[5] = RGBQUAD{30, 20, 10, 0};  // blue, green, red
    *pixelOf(eight, 3, 0) = 5;
    expectPicture(paint(view, &eight, "8"), rect, [](int x, int y) {
        return x == 3 && y == 0 ? Rgb{10, 20, 30} : Rgb{0, 0, 0};
    });

    fipImage four(FIT_BITMAP, 4, 4, 4);
    four.getPalette()[0] = RGBQUAD{0, 0, 255, 0};
    four.getPalette()[9] = RGBQUAD{0, 255, 0, 0};
    *pixelOf(four, 0, 1) = 0x09;  // left pixel 0, right pixel 9
    expectPicture(paint(view, &four, "4"), rect, [](int x, int y) {
        return x == 1 && y == 1 ? Rgb{0, 255, 0} : Rgb{255, 0, 0};
    });

    fipImage one(FIT_BITMAP, 4, 4, 1);
    one.getPalette()[0] = RGBQUAD{0, 0, 0, 0};
    one.getPalette()[1] = RGBQUAD{200, 100, 50, 0};
    *pixelOf(one, 0, 2) = 0x40;  // second pixel from the left
    expectPicture(paint(view, &one, "1"), rect, [](int x, int y) {
        return x == 1 && y == 2 ? Rgb{50, 100, 200} : Rgb{0, 0, 0};
    });

    fipImage grey16(FIT_UINT16, 4, 4, 16);
    for (int y = 0; y < 4; ++y) {
        auto* row = reinterpret_cast<WORD*>(grey16.getScanLine(3 - y));
        for (int x = 0; x < 4; ++x) {
            row[x] = static_cast<WORD>((x * 4 + y) * 4096);
        }
    }
    expectPicture(paint(view, &grey16, "16"), rect, [](int x, int y) {
        const int v = (x * 4 + y) * 16;
        return Rgb{v, v, v};
    });

    fipImage rgb48(FIT_RGB16, 4, 4, 48);
    reinterpret_cast<FIRGB16*>(rgb48.getScanLine(3))[2] = FIRGB16{0x1200, 0x3400, 0x5600};
    expectPicture(paint(view, &rgb48, "48"), rect, [](int x, int y) {
        return x == 2 && y == 0 ? Rgb{0x12, 0x34, 0x56} : Rgb{0, 0, 0};
    });

    fipImage rgb565;
    ASSERT_TRUE(rgb565.setSize(FIT_BITMAP, 4, 4, 16, FI16_565_RED_MASK, FI16_565_GREEN_MASK,
                               FI16_565_BLUE_MASK));
    auto* word = reinterpret_cast<WORD*>(rgb565.getScanLine(3));
    word[0] = static_cast<WORD>(0x1f << FI16_565_RED_SHIFT);
    expectPicture(paint(view, &rgb565, "565"), rect, [](int x, int y) {
        return x == 0 && y == 0 ? Rgb{255, 0, 0} : Rgb{0, 0, 0};
    });
}

TEST_F(ImageRendererTest, DeepAndPalettedImagesAreSmoothedToo) {
    fipImage grey16(FIT_UINT16, 40, 40, 16);
    for (int y = 0; y < 40; ++y) {
        auto* row = reinterpret_cast<WORD*>(grey16.getScanLine(y));
        for (int x = 0; x < 40; ++x) {
            row[x] = (x + y) % 2 == 0 ? 0xffff : 0;
        }
    }
    ViewGeometry view = makeView(100, 100, 40, 40);
    view.setFixedZoom(0.5);
    ASSERT_EQ(view.drawPath(false), DrawPath::HighQuality);
    wxImage out = paint(view, &grey16, "grey");
    EXPECT_NEAR(out.GetRed(40, 40), 128, 1);

    fipImage eight(FIT_BITMAP, 40, 40, 8);
    eight.getPalette()[1] = RGBQUAD{0, 0, 200, 0};
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; x += 2) {
            eight.getScanLine(y)[x] = 1;
        }
    }
    out = paint(view, &eight, "eight");
    EXPECT_EQ(pixelAt(out, 40, 40), (Rgb{100, 0, 0}));
}

TEST_F(ImageRendererTest, TransparentPixelsLieOnTheFileBackgroundOrACheckerboard) {
    fipImage rgba(FIT_BITMAP, 4, 4, 32);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            setRgb(rgba, x, y, {200, 0, 0}, 255);
        }
    }
    setRgb(rgba, 1, 1, {200, 0, 0}, 0);
    setRgb(rgba, 2, 1, {200, 0, 0}, 128);
    RGBQUAD blue{200, 0, 0, 0};
    ASSERT_TRUE(rgba.setFileBkColor(&blue));
    ViewGeometry view = makeView(20, 20, 4, 4);
    const wxRect rect(8, 8, 4, 4);
    for (const double zoom : {1.0, 4.0}) {
        view.setFixedZoom(zoom);
        const int size = static_cast<int>(zoom);
        const wxImage out = paint(view, &rgba, "rgba");
        const int left = (20 - 4 * size + 1) / 2;
        SCOPED_TRACE(zoom);
        EXPECT_EQ(pixelAt(out, left, left), (Rgb{200, 0, 0}));
        EXPECT_EQ(pixelAt(out, left + size, left + size), (Rgb{0, 0, 200}));
        const Rgb half = pixelAt(out, left + 2 * size, left + size);
        EXPECT_NEAR(half.red, 100, 2);
        EXPECT_NEAR(half.blue, 100, 2);
        EXPECT_EQ(pixelAt(out, 0, 0), kBackdrop);
    }

    // Without a file background the transparent pixel shows a grey checkerboard, not its colour.
    fipImage bare(FIT_BITMAP, 4, 4, 32);
    setRgb(bare, 1, 1, {200, 0, 0}, 0);
    view.setFixedZoom(1);
    const Rgb shown = pixelAt(paint(view, &bare, "bare"), rect.x + 1, rect.y + 1);
    EXPECT_EQ(shown.red, shown.green);
    EXPECT_EQ(shown.green, shown.blue);
    EXPECT_GT(shown.red, 100);

    // A palette entry made transparent by the file's table.
    fipImage eight(FIT_BITMAP, 4, 4, 8);
    eight.getPalette()[0] = RGBQUAD{0, 0, 255, 0};
    eight.getPalette()[1] = RGBQUAD{0, 255, 0, 0};
    BYTE table[2] = {255, 0};
    eight.setTransparencyTable(table, 2);
    eight.getPalette()[2] = RGBQUAD{255, 255, 255, 0};
    *pixelOf(eight, 0, 0) = 1;
    RGBQUAD white{255, 255, 255, 2};  // palette images name their background by index
    ASSERT_TRUE(eight.setFileBkColor(&white));
    const wxImage out = paint(view, &eight, "eight");
    EXPECT_EQ(pixelAt(out, rect.x, rect.y), (Rgb{255, 255, 255}));
    EXPECT_EQ(pixelAt(out, rect.x + 1, rect.y), (Rgb{255, 0, 0}));
}

TEST_F(ImageRendererTest, TransparentImageIsFlattenedOnceIntoTheCache) {
    fipImage rgba(FIT_BITMAP, 40, 40, 32);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            setRgb(rgba, x, y, {0, 250, 0}, x < 20 ? 255 : 0);
        }
    }
    RGBQUAD red{0, 0, 250, 0};
    rgba.setFileBkColor(&red);
    ViewGeometry view = makeView(100, 100, 40, 40);
    view.setFixedZoom(0.5);
    const wxImage out = paint(view, &rgba, "rgba");
    const int left = (100 - 20 + 1) / 2;
    EXPECT_EQ(pixelAt(out, left + 2, 50), (Rgb{0, 250, 0}));
    EXPECT_EQ(pixelAt(out, left + 17, 50), (Rgb{250, 0, 0}));
}

// A window that paints itself through the renderer, read back from the screen.
class PaintedWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_frame = new wxFrame(nullptr, wxID_ANY, "renderer", wxDefaultPosition, wxSize(300, 260));
        m_window = new wxWindow(m_frame, wxID_ANY, wxPoint(0, 0), wxSize(200, 150));
        m_window->SetBackgroundStyle(wxBG_STYLE_PAINT);
        m_window->Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
            wxPaintDC dc(m_window);
            renderer.paint(dc, view, image, "shown", false, wxColour(138, 138, 138));
        });
        test::showAndWait(m_frame);
        const wxSize size = m_window->GetClientSize();
        view.setScrollBarSize(0, 0);
        view.setWindowSize(size.x, size.y);
    }
    void TearDown() override { m_frame->Destroy(); }

    wxImage grab() {
        const wxImage shown = test::grabClientArea(m_window);
        EXPECT_TRUE(shown.IsOk()) << "could not capture the screen";
        return shown;
    }

    ImagingService service;
    ImageRenderer renderer;
    ViewGeometry view;
    const fipImage* image = nullptr;
    wxFrame* m_frame = nullptr;
    wxWindow* m_window = nullptr;
};

TEST_F(PaintedWindowTest, EveryDrawingPathShowsOnTheScreen) {
    const fipImage picture = uniqueImage(40, 30);
    image = &picture;
    view.openImage(40, 30);
    const int w = view.clientWidth();
    const int h = view.clientHeight();
    ASSERT_GE(w, 160);
    ASSERT_GE(h, 120);

    // Actual size, centred.
    wxImage out = grab();
    const int left = (w - 40 + 1) / 2;
    const int top = (h - 30 + 1) / 2;
    EXPECT_EQ(pixelAt(out, left, top), uniqueColour(0, 0));
    EXPECT_EQ(pixelAt(out, left + 39, top + 29), uniqueColour(39, 29));
    EXPECT_EQ(pixelAt(out, left - 1, top), kBackdrop);
    EXPECT_EQ(pixelAt(out, 0, 0), kBackdrop);

    // Enlarged and scrolled: whole blocks of 16 x 16 from the scroll offsets on.
    view.setFixedZoom(16);
    view.setScroll(100, 50);
    out = grab();
    for (int y = 0; y < h; y += 9) {
        for (int x = 0; x < w; x += 9) {
            ASSERT_EQ(pixelAt(out, x, y), uniqueColour((x + 100) / 16, (y + 50) / 16))
                << x << "," << y;
        }
    }

    // Smoothed: each pixel the average of a 2 x 2 block of the unique colours.
    view.setFixedZoom(0.5);
    out = grab();
    EXPECT_TRUE(renderer.hasCache("shown", 20, 15));
    const Rgb average = pixelAt(out, (w - 20 + 1) / 2 + 3, (h - 15 + 1) / 2 + 2);
    EXPECT_NEAR(average.red, 5 + 6.5 * 5, 1);
    EXPECT_NEAR(average.green, 5 + 4.5 * 5, 1);
    EXPECT_EQ(pixelAt(out, 0, 0), kBackdrop);

    // Smoothed and larger than the window: the part at the scroll offsets.
    fipImage big(FIT_BITMAP, 800, 600, 24);
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            setRgb(big, x, y, {x * 255 / 799, y * 255 / 599, 50});
        }
    }
    image = &big;
    renderer.invalidate();
    view.openImage(800, 600);
    view.setFixedZoom(0.5);
    view.setScroll(50, 20);
    ASSERT_EQ(view.drawPath(false), DrawPath::HighQuality);
    out = grab();
    for (int y = 0; y < view.clientHeight(); y += 11) {
        for (int x = 0; x < view.clientWidth(); x += 11) {
            ASSERT_NEAR(out.GetRed(x, y), (2 * (x + 50) + 0.5) * 255 / 799, 1.5) << x << "," << y;
            ASSERT_NEAR(out.GetGreen(x, y), (2 * (y + 20) + 0.5) * 255 / 599, 1.5) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace tarn
