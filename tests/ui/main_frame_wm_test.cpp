// Main-frame behaviour that needs a window manager: full screen and minimising. Each test
// starts openbox on the test display for its own duration.
#include <gtest/gtest.h>

#include <cstdlib>

#include "browser/image_list_ctrl.h"
#include "ui/frame_fixture.h"
#include "ui/ui_test_support.h"
#include "ui/window_manager.h"
#include "viewer/image_view.h"
#include "widgets/super_splitter_wnd.h"

namespace tarn {
namespace {

using namespace std::chrono_literals;
using test::pumpEvents;
using test::waitFor;

// Waits until a condition holds, for at most about two seconds.
TEST(MainFrameWithWindowManager, FullScreenAndBackRestoresThePlacement) {
    test::WindowManager wm;
    ASSERT_TRUE(wm.running());
    test::FrameFixture f;
    f.storeNormalPlacement(100, 80, 740, 560);
    CMainFrame* frame = f.open();
    ASSERT_TRUE(waitFor([&] { return frame->GetSize() == wxSize(640, 480); }));
    const wxRect before = frame->GetRect();

    frame->enterImageMode();
    frame->enterFullScreen();
    const wxSize screen = wxGetDisplaySize();
    EXPECT_TRUE(waitFor([&] { return frame->GetClientSize() == screen; }));
    EXPECT_TRUE(frame->isFullScreen());
    // Only the image view shows: no bars, no status bar.
    EXPECT_EQ(frame->imageView()->GetSize(), screen);
    EXPECT_FALSE(frame->GetStatusBar()->IsShown());

    frame->leaveFullScreen();
    EXPECT_TRUE(waitFor([&] { return frame->GetSize() == before.GetSize(); }));
    EXPECT_FALSE(frame->isFullScreen());
    EXPECT_TRUE(frame->GetStatusBar()->IsShown());
    EXPECT_GE(frame->GetMinSize().x, 400);
}

TEST(MainFrameWithWindowManager, AWindowClosedMinimisedOpensRestored) {
    test::WindowManager wm;
    ASSERT_TRUE(wm.running());
    test::FrameFixture f;
    CMainFrame* frame = f.open();
    // It opens maximised; the window manager's answer to that must be in before it is undone,
    // or it arrives after the new size and maximises the window again.
    ASSERT_TRUE(waitFor([&] { return frame->IsMaximized(); }));
    frame->Maximize(false);
    // Restored to the screen-sized rectangle it had before it was maximised.
    ASSERT_TRUE(waitFor([&] { return !frame->IsMaximized() && frame->GetSize().x > 1000; }));
    frame->SetSize(50, 50, 700, 500);
    ASSERT_TRUE(waitFor([&] { return frame->GetSize() == wxSize(700, 500); }));
    frame->Iconize();
    ASSERT_TRUE(waitFor([&] { return frame->IsIconized(); }));
    f.close();

    const auto placement = f.context->settings.placement();
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(placement->showCmd, kShowRestore);
    // The window manager may add its border to the size it reports.
    EXPECT_NEAR(placement->right - placement->left, 700, 4);

    frame = f.open();
    EXPECT_TRUE(waitFor([&] { return frame->IsShownOnScreen(); }));
    EXPECT_FALSE(frame->IsIconized());
    EXPECT_FALSE(frame->IsMaximized());
    EXPECT_TRUE(waitFor([&] { return std::abs(frame->GetSize().x - 700) <= 4; }));
}

TEST(MainFrameWithWindowManager, WithoutAPlacementTheFrameOpensMaximised) {
    test::WindowManager wm;
    ASSERT_TRUE(wm.running());
    test::FrameFixture f;
    CMainFrame* frame = f.open();
    EXPECT_TRUE(waitFor([&] { return frame->IsMaximized(); }));
    // The folder column keeps its width once the window manager has sized the frame.
    EXPECT_EQ(frame->outerSplitter()->GetSashPosition(), 185);
}

}  // namespace
}  // namespace tarn
