#include "frame/main_frame.h"

#include <gtest/gtest.h>
#include <wx/statusbr.h>

#include "browser/browser_view.h"
#include "browser/image_list_ctrl.h"
#include "browser/shell_tree.h"
#include "ui/frame_fixture.h"
#include "ui/ui_test_support.h"
#include "viewer/image_view.h"
#include "widgets/super_splitter_wnd.h"

namespace tarn {
namespace {

using test::pumpEvents;
using test::waitFor;

// A picture folder with two images and a sub-folder.
struct FrameFixture : test::FrameFixture {
    FrameFixture() {
        addFolder("Holiday");
        addImage("a.png");
        addImage("b.png");
    }
};

TEST(MainFrame, FirstActivationBrowsesThePictureFolder) {
    FrameFixture f;
    CMainFrame* frame = f.open();
    EXPECT_EQ(frame->GetTitle(), "Pictures - Tarn Photo Viewer");
    EXPECT_EQ(frame->imageList()->model().folderPath(), f.pictures);
    EXPECT_EQ(frame->imageList()->model().count(), 3);
    const auto selected = frame->folderTree()->selectedFolder();
    ASSERT_TRUE(selected.has_value());
    EXPECT_EQ(f.context->shell.pathOf(*selected), f.pictures);
    EXPECT_EQ(frame->addressBox()->GetValue(), wxString::FromUTF8(f.pictures));
    EXPECT_EQ(frame->mode(), CMainFrame::kBrowserMode);
    EXPECT_EQ(frame->outerSplitter()->GetSashPosition(), 185);
    EXPECT_TRUE(frame->browserToolBar()->IsShown());
    EXPECT_FALSE(frame->imageToolBar()->IsShown());
    EXPECT_TRUE(frame->browserView()->foldersShown());
    EXPECT_GE(frame->GetSize().x, 400);
}

TEST(MainFrame, ImageModeHidesTheBrowserAndComesBackAsItWas) {
    FrameFixture f;
    CMainFrame* frame = f.open();
    frame->setAddressBarShown(false);
    frame->enterImageMode();
    pumpEvents();
    EXPECT_EQ(frame->mode(), CMainFrame::kImageMode);
    EXPECT_FALSE(frame->outerSplitter()->IsShown());
    EXPECT_TRUE(frame->imageView()->IsShown());
    EXPECT_TRUE(frame->imageToolBar()->IsShown());
    EXPECT_FALSE(frame->browserToolBar()->IsShown());
    EXPECT_EQ(frame->GetTitle(), "Tarn Photo Viewer");
    // The image view covers exactly the splitter's place.
    EXPECT_EQ(frame->imageView()->GetRect(), frame->outerSplitter()->GetRect());

    frame->leaveImageMode();
    pumpEvents();
    EXPECT_EQ(frame->mode(), CMainFrame::kBrowserMode);
    EXPECT_EQ(frame->previousMode(), CMainFrame::kImageMode);
    EXPECT_TRUE(frame->outerSplitter()->IsShown());
    EXPECT_FALSE(frame->imageView()->IsShown());
    EXPECT_TRUE(frame->browserToolBar()->IsShown());
    EXPECT_FALSE(frame->addressBox()->IsShownOnScreen());
    EXPECT_EQ(frame->imageList()->model().folderPath(), f.pictures);
    EXPECT_EQ(frame->GetTitle(), "Pictures - Tarn Photo Viewer");
}

TEST(MainFrame, ClosingInTheImageModeOnlyReturnsToTheBrowser) {
    FrameFixture f;
    CMainFrame* frame = f.open();
    bool destroyed = false;
    frame->Bind(wxEVT_DESTROY, [&](wxWindowDestroyEvent& e) {
        destroyed = destroyed || e.GetWindow() == frame;
        e.Skip();
    });
    frame->enterImageMode();
    frame->Close();
    pumpEvents();
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(frame->mode(), CMainFrame::kBrowserMode);

    frame->enterImageMode();
    frame->requestExit();
    pumpEvents();
    EXPECT_TRUE(destroyed);
    f.frame = nullptr;
}

TEST(MainFrame, BarChoicesAndPlacementPersist) {
    FrameFixture f;
    CMainFrame* frame = f.open();
    frame->setToolBarShown(false);
    frame->setStatusBarShown(false);
    frame->SetSize(60, 70, 640, 480);
    pumpEvents();
    EXPECT_FALSE(frame->GetStatusBar()->IsShown());
    f.close();

    const SettingsStore& s = f.context->settings;
    EXPECT_FALSE(s.get(settings::kShowToolBar));
    EXPECT_TRUE(s.get(settings::kShowAddressBar));
    EXPECT_FALSE(s.get(settings::kShowStatusBar));
    const auto placement = s.placement();
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(placement->right - placement->left, 640);
    EXPECT_EQ(placement->bottom - placement->top, 480);

    // The next frame opens with the same choices and size.
    frame = f.open();
    EXPECT_FALSE(frame->toolBarShown());
    EXPECT_FALSE(frame->browserToolBar()->IsShown());
    EXPECT_EQ(frame->GetSize(), wxSize(640, 480));
}

TEST(MainFrame, ShrinkingNarrowsTheFolderColumnNotBelowItsLimit) {
    FrameFixture f;
    CMainFrame* frame = f.open();
    frame->SetSize(0, 0, 900, 600);
    ASSERT_TRUE(waitFor([&] { return frame->GetClientSize().x > 800; }));
    EXPECT_EQ(frame->outerSplitter()->GetSashPosition(), 185);
    // A wide folder column, then a frame too narrow for it and the list's limit: the folder
    // column gives way so that the list keeps its 100 pixels.
    frame->outerSplitter()->SetSashPosition(700);
    ASSERT_TRUE(waitFor([&] { return frame->outerSplitter()->GetSashPosition() > 400; }))
        << frame->outerSplitter()->GetSashPosition();
    frame->SetSize(0, 0, 500, 600);
    const auto listWidth = [&] {
        return frame->GetClientSize().x - frame->outerSplitter()->GetSashPosition() -
               frame->outerSplitter()->GetSashSize();
    };
    EXPECT_TRUE(waitFor([&] { return frame->GetClientSize().x < 520 && listWidth() == 100; }))
        << "list " << listWidth();
    EXPECT_GE(frame->outerSplitter()->GetSashPosition(), 120);
}

}  // namespace
}  // namespace tarn
