#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include "imaging/image_draw.h"
#include "imaging/imaging_service.h"

namespace tarn {
namespace {

fipSuperImage gradient(unsigned width, unsigned height) {
    fipSuperImage image;
    image.setSize(FIT_BITMAP, width, height, 24);
    for (unsigned y = 0; y < height; ++y) {
        BYTE* p = image.getScanLine(y);
        for (unsigned x = 0; x < width; ++x, p += 3) {
            p[FI_RGBA_RED] = static_cast<BYTE>(x * 20);
            p[FI_RGBA_GREEN] = static_cast<BYTE>(y * 30);
            p[FI_RGBA_BLUE] = 99;
        }
    }
    return image;
}

RGBQUAD colorAt(fipImage& image, unsigned x, unsigned yFromTop) {
    RGBQUAD c{};
    image.getPixelColor(x, image.getHeight() - 1 - yFromTop, &c);
    return c;
}

TEST(ImagingClipboard, BitmapGoesOutAndComesBack) {
    ImagingService service;
    const fipSuperImage source = gradient(7, 5);
    ASSERT_TRUE(copyToClipboard(source));
    fipImage pasted;
    ASSERT_TRUE(pasteFromClipboard(pasted));
    ASSERT_EQ(pasted.getWidth(), 7u);
    ASSERT_EQ(pasted.getHeight(), 5u);
    fipSuperImage expected = source;
    for (unsigned y = 0; y < 5; ++y) {
        for (unsigned x = 0; x < 7; ++x) {
            const RGBQUAD a = colorAt(pasted, x, y);
            const RGBQUAD b = colorAt(expected, x, y);
            EXPECT_EQ(a.rgbRed, b.rgbRed);
            EXPECT_EQ(a.rgbGreen, b.rgbGreen);
            EXPECT_EQ(a.rgbBlue, b.rgbBlue);
        }
    }
}

TEST(ImagingClipboard, CutPutsThePieceOutAndClearsIt) {
    ImagingService service;
    fipSuperImage image = gradient(8, 6);
    fipSuperImage before = image;
    ASSERT_TRUE(cutToClipboard(image, 2, 1, 3, 2, RGBQUAD{0, 0, 0, 0}));
    const RGBQUAD cleared = colorAt(image, 3, 2);
    EXPECT_EQ(cleared.rgbRed + cleared.rgbGreen + cleared.rgbBlue, 0);
    EXPECT_EQ(colorAt(image, 5, 1).rgbRed, colorAt(before, 5, 1).rgbRed);
    fipImage piece;
    ASSERT_TRUE(pasteFromClipboard(piece));
    ASSERT_EQ(piece.getWidth(), 3u);
    ASSERT_EQ(piece.getHeight(), 2u);
    EXPECT_EQ(colorAt(piece, 0, 0).rgbRed, colorAt(before, 2, 1).rgbRed);
    EXPECT_EQ(colorAt(piece, 2, 1).rgbGreen, colorAt(before, 4, 2).rgbGreen);

    // Nothing to cut outside the picture: the image and the clipboard stay.
    EXPECT_FALSE(cutToClipboard(image, 20, 20, 3, 3, RGBQUAD{0, 0, 0, 0}));
}

TEST(ImagingClipboard, TextOnTheClipboardPastesNothing) {
    ImagingService service;
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject("just words"));
    wxTheClipboard->Close();
    fipImage image = gradient(2, 2);
    EXPECT_FALSE(pasteFromClipboard(image));
    EXPECT_EQ(image.getWidth(), 2u);
}

}  // namespace
}  // namespace tarn
