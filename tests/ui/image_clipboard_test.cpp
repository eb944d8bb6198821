#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "browser/file_clipboard.h"
#include "fakes/temp_dir.h"
#include "imaging/imaging_service.h"
#include "ui/other_program_clipboard.h"
#include "ui/ui_test_support.h"

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

void expectSamePixels(fipImage& a, fipImage& b) {
    ASSERT_EQ(a.getWidth(), b.getWidth());
    ASSERT_EQ(a.getHeight(), b.getHeight());
    for (unsigned y = 0; y < a.getHeight(); ++y) {
        for (unsigned x = 0; x < a.getWidth(); ++x) {
            RGBQUAD p{}, q{};
            a.getPixelColor(x, y, &p);
            b.getPixelColor(x, y, &q);
            ASSERT_EQ(p.rgbRed, q.rgbRed) << x << "," << y;
            ASSERT_EQ(p.rgbGreen, q.rgbGreen) << x << "," << y;
            ASSERT_EQ(p.rgbBlue, q.rgbBlue) << x << "," << y;
        }
    }
}

void putText(const char* text) {
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject(text));
    wxTheClipboard->Close();
}

TEST(ImageClipboard, PicturesGoOutAndComeBackAndTextIsNoPicture) {
    ImagingService service;
    fipSuperImage source = gradient(7, 5);
    ASSERT_TRUE(putImageOnClipboard(source));
    EXPECT_TRUE(clipboardHasImage());
    ClipboardPicture pasted = imageFromClipboard(1000);
    EXPECT_FALSE(pasted.tooLarge);
    expectSamePixels(pasted.image, source);
    // Pasting leaves it there.
    EXPECT_TRUE(imageFromClipboard(1000).image.isValid());
    // Fewer pixels allowed than it has: refused with its size.
    const ClipboardPicture refused = imageFromClipboard(34);
    EXPECT_TRUE(refused.tooLarge);
    EXPECT_FALSE(refused.image.isValid());
    EXPECT_EQ(refused.width, 7u);
    EXPECT_EQ(refused.height, 5u);

    putText("just words");
    EXPECT_TRUE(test::waitFor([] { return !clipboardHasImage(); }));
    EXPECT_FALSE(imageFromClipboard(1000).image.isValid());
}

TEST(ImageClipboard, OtherProgramsPasteOurPicturesAndWePasteTheirs) {
    ImagingService service;
    const test::TempDir dir;
    const std::string ours = (dir.path() / "ours.png").string();
    fipSuperImage source = gradient(9, 4);
    ASSERT_TRUE(putImageOnClipboard(source));
    test::runWhileAnswering("timeout 10 xclip -o -selection clipboard -t image/png > '" + ours +
                            "'");
    fipSuperImage read;
    ASSERT_TRUE(read.load(ours.c_str()));
    EXPECT_EQ(read.getFIF(), FIF_PNG);
    expectSamePixels(read, source);

    const std::string theirs = (dir.path() / "theirs.png").string();
    ASSERT_EQ(std::system(("convert -size 12x3 xc:'rgb(10,200,30)' '" + theirs + "'").c_str()), 0);
    test::offerPictureByXclip(theirs);
    ClipboardPicture pasted = imageFromClipboard(1000);
    ASSERT_TRUE(pasted.image.isValid());
    EXPECT_EQ(pasted.image.getWidth(), 12u);
    EXPECT_EQ(pasted.image.getHeight(), 3u);
    ASSERT_TRUE(pasted.image.convertTo24Bits());
    RGBQUAD c{};
    pasted.image.getPixelColor(5, 1, &c);
    EXPECT_EQ(c.rgbRed, 10);
    EXPECT_EQ(c.rgbGreen, 200);
    EXPECT_EQ(c.rgbBlue, 30);
}

}  // namespace
}  // namespace tarn
