#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/uiaction.h>

#include <filesystem>

#include "browser/image_list_ctrl.h"
#include "browser/shell_tree.h"
#include "commands/menu_builder.h"
#include "fakes/fake_special_folders.h"
#include "fakes/temp_dir.h"
#include "frame/main_frame.h"
#include "frame/super_status_bar.h"
#include "ui/frame_fixture.h"
#include "ui/ui_test_support.h"

namespace tarn {
namespace {

using test::flushEvents;
using test::pumpEvents;
using test::waitFor;

// A user whose picture folder holds what the test puts there before opening the frame.
struct StatusFixture : test::FrameFixture {
    CMainFrame* open() {
        test::FrameFixture::open();
        pumpEvents(200);  // the list reports its state 100 ms after a change
        return frame;
    }

    const PaneLayout* pane(int id) const {
        for (const PaneLayout& p : frame->statusBar()->paneLayout()) {
            if (p.id == id) {
                return &p;
            }
        }
        return nullptr;
    }
    std::string paneText(int id) const {
        const PaneLayout* p = pane(id);
        return p != nullptr ? p->text : "<none>";
    }
};

TEST(StatusBar, BrowserPanesDescribeTheSelectionOrTheFolder) {
    StatusFixture f;
    for (const char* sub : {"one", "two", "three"}) {
        std::filesystem::create_directories(f.pictures + "/" + sub);
    }
    CMainFrame* frame = f.open();
    std::vector<int> ids;
    for (const PaneLayout& p : frame->statusBar()->paneLayout()) {
        ids.push_back(p.id);
    }
    EXPECT_EQ(ids, (std::vector<int>{pane::kTotals, pane::kName, pane::kModified, pane::kSize,
                                     pane::kDimensions, pane::kSlider}));
    EXPECT_EQ(f.paneText(pane::kTotals), "Total 3 objects (0 byte)");
    // The bar shows the texts it laid out.
    EXPECT_EQ(frame->statusBar()->GetStatusText(0), "Total 3 objects (0 byte)");
    // The name of the focused item, or of the folder when none has the focus.
    const FolderModel& model = frame->imageList()->model();
    const FolderItem* focused = model.item(model.focusedIndex());
    EXPECT_EQ(f.paneText(pane::kName), focused != nullptr ? focused->displayName : "Pictures");
    EXPECT_EQ(f.paneText(pane::kModified).rfind("Modified Date: ", 0), 0u);

    // In the image mode without an image one pane says so.
    frame->enterImageMode();
    pumpEvents();
    ASSERT_EQ(frame->statusBar()->paneLayout().size(), 1u);
    EXPECT_EQ(f.paneText(pane::kTotals), "No images");
    EXPECT_FALSE(frame->statusBar()->slider()->IsShown());
    frame->leaveImageMode();
    pumpEvents();
    EXPECT_EQ(f.paneText(pane::kTotals), "Total 3 objects (0 byte)");
    EXPECT_TRUE(frame->statusBar()->slider()->IsShown());
}

TEST(StatusBar, SelectingAFileShowsItsSize) {
    StatusFixture f;
    test::writeFile(f.pictures + "/notes.txt", std::string(1536, 'x'));
    test::writeFile(f.pictures + "/other.txt", std::string(10, 'y'));
    CMainFrame* frame = f.open();
    const FolderModel& model = frame->imageList()->model();
    int index = -1;
    for (int i = 0; i < model.count(); ++i) {
        if (model.item(i)->displayName == "notes.txt") {
            index = i;
        }
    }
    ASSERT_GE(index, 0);
    frame->imageList()->selectOnly(index);
    EXPECT_TRUE(waitFor([&] { return f.paneText(pane::kTotals) == "Selected 1 object (1.50 KB)"; }))
        << f.paneText(pane::kTotals);
    EXPECT_EQ(f.paneText(pane::kName), "notes.txt");
    EXPECT_EQ(f.paneText(pane::kSize), "1.50 KB");
    EXPECT_FALSE(f.pane(pane::kDimensions)->enabled);  // not an image
}

TEST(StatusBar, TheSliderAndTheThumbnailSizeFollowEachOther) {
    StatusFixture f;
    CMainFrame* frame = f.open();
    CSuperStatusBar* bar = frame->statusBar();
    frame->setThumbnailSize(85);
    EXPECT_EQ(bar->slider()->GetValue(), 30);
    frame->setThumbnailSize(500);  // clamped
    EXPECT_EQ(bar->slider()->GetValue(), 100);
    EXPECT_EQ(frame->imageList()->thumbSize(), wxSize(200, 200));

    // The user moves the slider.
    bar->slider()->SetValue(0);
    wxCommandEvent moved(wxEVT_SLIDER, CSuperStatusBar::kSliderId);
    moved.SetInt(0);
    moved.SetEventObject(bar->slider());
    bar->slider()->ProcessWindowEvent(moved);
    EXPECT_EQ(frame->imageList()->thumbSize(), wxSize(36, 36));

    // The slider sits at the right end, the magnifier just left of it.
    const int width = bar->GetClientSize().x;
    EXPECT_EQ(bar->slider()->GetPosition().x, width - 139);
    EXPECT_EQ(bar->icon()->GetPosition().x, width - 155);
}

TEST(StatusBar, ADragThatRestsSettlesAfterItsPause) {
    StatusFixture f;
    CMainFrame* frame = f.open();
    CSuperStatusBar* bar = frame->statusBar();
    wxScrollEvent track(wxEVT_SCROLL_THUMBTRACK, CSuperStatusBar::kSliderId, 50);
    track.SetEventObject(bar->slider());
    bar->slider()->ProcessWindowEvent(track);
    EXPECT_TRUE(bar->tracking());
    pumpEvents(100);
    EXPECT_TRUE(bar->tracking());
    EXPECT_TRUE(waitFor([&] { return !bar->tracking(); }, 2000));
}

TEST(StatusBar, ANarrowWindowShrinksTheLaterPanesFirst) {
    StatusFixture f;
    test::writeFile(f.pictures + "/a-file-with-a-long-name.txt", "abc");
    CMainFrame* frame = f.open();
    frame->imageList()->selectOnly(0);
    frame->SetSize(0, 0, 1400, 500);
    const auto everyPaneShown = [&] {
        for (const PaneLayout& p : frame->statusBar()->paneLayout()) {
            if (p.enabled && p.id != pane::kSlider && p.width <= 0) {
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(waitFor(everyPaneShown));
    frame->SetSize(0, 0, 400, 500);
    EXPECT_TRUE(waitFor([&] {
        const auto& panes = frame->statusBar()->paneLayout();
        return panes.size() >= 4 && panes[3].width == 0;
    }));
    const auto& panes = frame->statusBar()->paneLayout();
    ASSERT_GE(panes.size(), 4u);
    EXPECT_GT(panes[0].width, 0);
    EXPECT_EQ(panes[3].width, 0);  // the size pane went first
    bool zeroSeen = false;
    for (const PaneLayout& p : panes) {
        if (p.id == pane::kSlider) {
            EXPECT_EQ(p.width, kSliderPaneWidth);
            continue;
        }
        if (zeroSeen) {
            EXPECT_EQ(p.width, 0) << p.id;
        }
        zeroSeen = zeroSeen || p.width == 0;
    }
}

// Keys typed into the address bar stay there; accelerators that text fields do not need still
// work with the focus in it.
TEST(Accelerators, TypingInTheAddressBarKeepsItsKeys) {
    StatusFixture f;
    std::filesystem::create_directories(f.pictures + "/sub");
    CMainFrame* frame = f.open();
    const auto sub = f.context->shell.idFromPath(f.pictures + "/sub");
    ASSERT_TRUE(frame->folderTree()->selectFolder(*sub));
    pumpEvents();
    wxComboBox* box = frame->addressBox();
    wxUIActionSimulator sim;
    sim.MouseMove(box->GetScreenPosition() + wxPoint(20, box->GetSize().y / 2));
    sim.MouseClick();
    flushEvents();
    box->SetFocus();
    ASSERT_TRUE(waitFor([&] { return box->HasFocus() || wxWindow::FindFocus() == box; }));

    box->ChangeValue("abc");
    box->SetInsertionPoint(0);
    sim.Char(WXK_DELETE);
    pumpEvents();
    EXPECT_EQ(box->GetValue(), "bc");
    box->SetInsertionPointEnd();
    sim.Char(WXK_NUMPAD_ADD);  // "+" (the simulator types "=" for a plain '+')
    sim.Char('-');
    pumpEvents();
    EXPECT_EQ(box->GetValue(), "bc+-");
    // Shift+H is an accelerator (horizontal flip) but types a capital here.
    sim.Char('h', wxMOD_SHIFT);
    pumpEvents();
    EXPECT_EQ(box->GetValue(), "bc+-H");
    sim.Char('a', wxMOD_CONTROL);  // selects the text
    sim.Char('z');
    pumpEvents();
    EXPECT_EQ(box->GetValue(), "z");
    EXPECT_EQ(frame->imageList()->model().selectedCount(), 0);

    // Alt+Left is no text key: Back still runs.
    EXPECT_EQ(frame->imageList()->model().folderPath(), f.pictures + "/sub");
    sim.Char(WXK_LEFT, wxMOD_ALT);
    EXPECT_TRUE(waitFor([&] { return frame->imageList()->model().folderPath() == f.pictures; }));
}

TEST(Accelerators, TableKeysReachTheirCommandsInEveryMode) {
    StatusFixture f;
    std::filesystem::create_directories(f.pictures + "/sub");
    CMainFrame* frame = f.open();
    wxUIActionSimulator sim;
    // Frame route in the browser: Alt+Right goes forward again.
    const auto sub = f.context->shell.idFromPath(f.pictures + "/sub");
    ASSERT_TRUE(frame->folderTree()->selectFolder(*sub));
    pumpEvents();
    frame->goBack();
    pumpEvents();
    frame->imageList()->SetFocus();
    pumpEvents();
    sim.Char(WXK_RIGHT, wxMOD_ALT);
    EXPECT_TRUE(
        waitFor([&] { return frame->imageList()->model().folderPath() == f.pictures + "/sub"; }));

    // Frame route, image mode: Ctrl+Q ends the program.
    bool destroyed = false;
    frame->Bind(wxEVT_DESTROY, [&](wxWindowDestroyEvent& e) {
        destroyed = destroyed || e.GetWindow() == frame;
        e.Skip();
    });
    frame->enterImageMode();
    pumpEvents();
    sim.Char('q', wxMOD_CONTROL);
    EXPECT_TRUE(waitFor([&] { return destroyed; }));
    if (destroyed) {
        f.frame = nullptr;
    }
}

}  // namespace
}  // namespace tarn
