// The geometry and depth commands of the image view, each through its real dialog filled in as
// a user would, and the edit that follows.
#include <gtest/gtest.h>

#include <string>

#include "commands/command_ids.h"
#include "dialogs/dlg_change_bpp.h"
#include "dialogs/dlg_resize.h"
#include "dialogs/dlg_resize_canvas.h"
#include "dialogs/dlg_set_dpi.h"
#include "imaging/image_fixtures.h"
#include "ui/dialog_input.h"
#include "ui/image_view_fixture.h"

namespace tarn {
namespace {

using test::writePicture;

class ImageViewGeometry : public ImageViewTest {
protected:
    double dpiX() const { return image().getHorizontalResolution() * 2.54; }
};

TEST_F(ImageViewGeometry, ResizeScalesTheImageAndCancelPushesNothing) {
    writePicture(path("a.png"), 400, 300, {10, 20, 30, 0});
    open();
    openFile("a.png");
    frame->runCommand(cmd::kSelectAll);
    answerNextDialog<CDlgResize>([](CDlgResize&) { return false; });
    ASSERT_TRUE(frame->runCommand(cmd::kResize));
    EXPECT_FALSE(frame->commandState(cmd::kUndo).enabled);
    EXPECT_EQ(image().getWidth(), 400u);

    answerNextDialog<CDlgResize>([](CDlgResize& d) {
        test::choose(d.presetList(), 7);  // "50%"
        EXPECT_EQ(d.newSizeLabel()->GetLabel(), "200 x 150");
        return true;
    });
    ASSERT_TRUE(frame->runCommand(cmd::kResize));
    EXPECT_EQ(image().getWidth(), 200u);
    EXPECT_EQ(image().getHeight(), 150u);
    EXPECT_EQ(view->geometry().imageWidth(), 200);
    EXPECT_TRUE(view->selection().empty());
    EXPECT_TRUE(view->isModified());
    ASSERT_TRUE(frame->runCommand(cmd::kUndo));
    EXPECT_EQ(image().getWidth(), 400u);

    // A new resolution is written with the new size.
    const double before = dpiX();
    answerNextDialog<CDlgResize>([](CDlgResize& d) {
        test::type(d.dpiBox(), "144");
        return true;
    });
    ASSERT_TRUE(frame->runCommand(cmd::kResize));
    EXPECT_NEAR(dpiX(), 144, 0.5) << before;
}

TEST_F(ImageViewGeometry, CanvasSizeDpiAndColourDepthChangeTheImage) {
    writePicture(path("a.png"), 400, 300, {10, 20, 30, 0});
    open();
    openFile("a.png");
    answerNextDialog<CDlgResizeCanvas>([](CDlgResizeCanvas& d) {
        test::type(d.widthBox(), "500");
        return true;
    });
    ASSERT_TRUE(frame->runCommand(cmd::kCanvasSize));
    ASSERT_EQ(image().getWidth(), 500u);
    ASSERT_EQ(image().getHeight(), 300u);
    // Centred on the white the dialog starts with.
    fipImage copy = image();
    RGBQUAD border{}, middle{};
    copy.getPixelColor(10, 150, &border);
    copy.getPixelColor(250, 150, &middle);
    EXPECT_EQ(border.rgbRed + border.rgbGreen + border.rgbBlue, 3 * 255);
    EXPECT_EQ(middle.rgbRed, 30);

    answerNextDialog<CDlgSetDPI>([](CDlgSetDPI& d) {
        test::type(d.xBox(), "300");
        test::type(d.yBox(), "150");
        return true;
    });
    ASSERT_TRUE(frame->runCommand(cmd::kSetDpi));
    EXPECT_NEAR(dpiX(), 300, 0.05);  // kept as whole dots per metre
    EXPECT_NEAR(image().getVerticalResolution() * 2.54, 150, 0.05);

    answerNextDialog<CDlgChangeBPP>([](CDlgChangeBPP& d) {
        test::click(d.depthButton(2));  // 8-bit
        return true;
    });
    ASSERT_TRUE(frame->runCommand(cmd::kDepthCustom));
    EXPECT_EQ(image().getBitsPerPixel(), 8u);
    // Three steps to undo, back to the first picture.
    for (int step = 0; step < 3; ++step) {
        ASSERT_TRUE(frame->runCommand(cmd::kUndo)) << step;
    }
    EXPECT_EQ(image().getWidth(), 400u);
    EXPECT_EQ(image().getBitsPerPixel(), 24u);
}

}  // namespace
}  // namespace tarn
