#include "dialogs/thumb_wnd.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include "ui/screen_grab.h"
#include "ui/ui_test_support.h"

namespace tarn {
namespace {

fipImage red(unsigned width, unsigned height) {
    fipImage image(FIT_BITMAP, width, height, 24);
    const RGBQUAD c{0, 0, 255, 0};
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            image.setPixelColor(x, y, const_cast<RGBQUAD*>(&c));
        }
    }
    return image;
}

bool isRed(const wxImage& shown, int x, int y) {
    return shown.GetRed(x, y) > 200 && shown.GetGreen(x, y) < 60 && shown.GetBlue(x, y) < 60;
}
bool isWhite(const wxImage& shown, int x, int y) {
    return shown.GetRed(x, y) == 255 && shown.GetGreen(x, y) == 255 && shown.GetBlue(x, y) == 255;
}

TEST(ThumbWnd, DrawsThePictureShrunkAndCentredOnWhite) {
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Preview", wxDefaultPosition, wxSize(300, 300));
    auto* thumb = new CThumbWnd(frame, wxID_ANY, wxPoint(0, 0), wxSize(100, 100));
    test::showAndWait(frame);
    thumb->SetSize(100, 100);

    wxImage shown = test::grabClientArea(thumb);
    ASSERT_TRUE(shown.IsOk());
    EXPECT_TRUE(isWhite(shown, 50, 50));  // nothing yet

    thumb->setImage(red(1, 1000));
    shown = test::grabClientArea(thumb);
    for (int y = 0; y < 100; y += 9) {
        EXPECT_TRUE(isRed(shown, 49, y)) << y;
        EXPECT_TRUE(isWhite(shown, 48, y)) << y;
        EXPECT_TRUE(isWhite(shown, 50, y)) << y;
    }

    thumb->SetSize(200, 200);
    thumb->setImage(red(50, 40));
    shown = test::grabClientArea(thumb);
    EXPECT_TRUE(isRed(shown, 75, 80));
    EXPECT_TRUE(isRed(shown, 124, 119));
    EXPECT_TRUE(isWhite(shown, 74, 100));
    EXPECT_TRUE(isWhite(shown, 125, 100));
    EXPECT_TRUE(isWhite(shown, 100, 79));
    EXPECT_TRUE(isWhite(shown, 100, 120));
    frame->Destroy();
    test::flushEvents();
}

}  // namespace
}  // namespace tarn
