// The image view inside the real main frame: opening from the list, navigation through the
// folder and the pages of a file, saving, the save-changes question, deleting, zoom, the drawn
// pixels, full screen and the quick slide show.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "browser/image_list_ctrl.h"
#include "commands/command_ids.h"
#include "fakes/temp_dir.h"
#include "frame/main_frame.h"
#include "frame/status_bar_texts.h"
#include "frame/super_status_bar.h"
#include "imaging/image_fixtures.h"
#include "ui/frame_fixture.h"
#include "ui/image_view_fixture.h"
#include "ui/screen_grab.h"
#include "viewer/image_view.h"

// After the toolkit headers: FreeImage.h defines a name they take for the Windows headers.
#include <FreeImage.h>

namespace tarn {
namespace {

namespace fs = std::filesystem;
using test::pumpEvents;
using test::waitFor;
using test::writePicture;

// A picture whose pixel (x, y) is white when x + y is even, else black.
void writeChecker(const std::string& path, int width, int height) {
    FIBITMAP* dib = FreeImage_Allocate(width, height, 24);
    for (int y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(dib, height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const BYTE v = (x + y) % 2 == 0 ? 255 : 0;
            line[x * 3] = line[x * 3 + 1] = line[x * 3 + 2] = v;
        }
    }
    FreeImage_Save(FIF_PNG, dib, path.c_str());
    FreeImage_Unload(dib);
}

// Pages of 10, 13, 16 ... pixels width, so a page tells which one it is.
void writePages(const std::string& path, int count) {
    FIMULTIBITMAP* pages = FreeImage_OpenMultiBitmap(FIF_TIFF, path.c_str(), TRUE, FALSE, TRUE);
    for (int i = 0; i < count; ++i) {
        FIBITMAP* page = FreeImage_Allocate(10 + 3 * i, 8, 24);
        FreeImage_AppendPage(pages, page);
        FreeImage_Unload(page);
    }
    FreeImage_CloseMultiBitmap(pages);
}

TEST_F(ImageViewTest, OpeningFromTheListSwitchesModeAndBrowseReturns) {
    writePicture(path("a.png"), 40, 30);
    writePicture(path("b.png"), 50, 20);
    open();
    openFile("a.png");
    EXPECT_TRUE(view->hasImage());
    EXPECT_EQ(openName(), "a.png");
    EXPECT_EQ(frame->GetTitle().utf8_string(), "a.png - Tarn Photo Viewer");
    EXPECT_TRUE(view->IsShown());
    EXPECT_EQ(view->document().pageCount(), 1);
    // The next image is read ahead.
    view->prefetchSlot().wait();
    EXPECT_EQ(view->prefetchSlot().path(), path("b.png"));

    EXPECT_TRUE(frame->runCommand(cmd::kBrowse));
    EXPECT_EQ(frame->mode(), CMainFrame::kBrowserMode);
    EXPECT_FALSE(view->hasImage());
    EXPECT_TRUE(view->prefetchSlot().path().empty());
}

TEST_F(ImageViewTest, NavigationFollowsTheFolderAndSkipsOtherFiles) {
    writePicture(path("a.png"), 40, 30);
    std::ofstream(path("notes.txt")) << "text";
    writePicture(path("c.png"), 30, 30);
    writePicture(path("d.png"), 20, 30);
    open();
    openFile("a.png");
    EXPECT_FALSE(frame->commandState(cmd::kPreviousImage).enabled);
    EXPECT_FALSE(frame->commandState(cmd::kFirstImage).enabled);
    EXPECT_FALSE(frame->runCommand(cmd::kPreviousImage));
    EXPECT_TRUE(frame->runCommand(cmd::kNextImage));
    EXPECT_EQ(openName(), "c.png");
    EXPECT_TRUE(frame->runCommand(cmd::kLastImage));
    EXPECT_EQ(openName(), "d.png");
    EXPECT_FALSE(frame->commandState(cmd::kNextImage).enabled);
    EXPECT_FALSE(frame->runCommand(cmd::kNextImage));
    EXPECT_EQ(openName(), "d.png");
    EXPECT_TRUE(frame->runCommand(cmd::kPreviousImage));
    EXPECT_EQ(openName(), "c.png");
    // Going back kept the image left in the pre-load slot for an immediate return.
    EXPECT_EQ(view->prefetchSlot().path(), path("d.png"));
    EXPECT_TRUE(frame->runCommand(cmd::kFirstImage));
    EXPECT_EQ(openName(), "a.png");

    // The wheel steps images: towards the user the next one.
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.m_wheelRotation = -120;
    wheel.m_wheelDelta = 120;
    view->GetEventHandler()->ProcessEvent(wheel);
    EXPECT_EQ(openName(), "c.png");
    wheel.m_wheelRotation = 120;
    view->GetEventHandler()->ProcessEvent(wheel);
    EXPECT_EQ(openName(), "a.png");
}

TEST_F(ImageViewTest, EditedImageIsNeverKeptInThePreloadSlot) {
    writePicture(path("a.png"), 40, 30);
    writePicture(path("b.png"), 50, 20);
    open();
    openFile("b.png");
    view->document().setModified(true);
    answers.querySave = 1002;  // discard
    EXPECT_TRUE(frame->runCommand(cmd::kPreviousImage));
    EXPECT_EQ(openName(), "a.png");
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0], "query " + path("b.png"));
    // The slot reads b.png from its file instead of holding the discarded edit.
    view->prefetchSlot().wait();
    auto taken = view->prefetchSlot().take(path("b.png"), 0);
    ASSERT_TRUE(taken);
    ASSERT_TRUE(taken->image);
    EXPECT_FALSE(view->document().modified());
}

TEST_F(ImageViewTest, CancelInTheSaveQuestionKeepsTheImage) {
    writePicture(path("a.png"), 40, 30);
    writePicture(path("b.png"), 50, 20);
    open();
    openFile("a.png");
    view->document().setModified(true);
    answers.querySave = 2;
    EXPECT_TRUE(frame->runCommand(cmd::kNextImage));
    EXPECT_EQ(openName(), "a.png");
    EXPECT_TRUE(view->document().modified());
    EXPECT_TRUE(frame->runCommand(cmd::kBrowse));
    EXPECT_EQ(frame->mode(), CMainFrame::kImageMode);
    // Closing the window asks too; Cancel keeps the image mode.
    frame->Close();
    pumpEvents();
    EXPECT_EQ(frame->mode(), CMainFrame::kImageMode);
    // Discard: the window only returns to the browser.
    answers.querySave = 1002;
    frame->Close();
    pumpEvents();
    EXPECT_EQ(frame->mode(), CMainFrame::kBrowserMode);
    EXPECT_EQ(answers.asked.size(), 4u);
}

TEST_F(ImageViewTest, AFileThatCannotBeLoadedLeavesTheViewEmptyAndNavigable) {
    writePicture(path("a.png"), 40, 30);
    std::ofstream(path("b.png")) << "not a picture at all";
    writePicture(path("c.png"), 30, 30);
    open();
    openFile("a.png");
    EXPECT_TRUE(frame->runCommand(cmd::kNextImage));
    EXPECT_FALSE(view->hasImage());
    EXPECT_EQ(view->document().itemIndex(), indexOf("b.png"));
    EXPECT_EQ(frame->GetTitle().utf8_string(), "Tarn Photo Viewer");
    EXPECT_FALSE(frame->commandState(cmd::kSave).enabled);
    const wxImage shown = grab();
    EXPECT_EQ(shown.GetRed(5, 5), 138);
    EXPECT_TRUE(frame->runCommand(cmd::kNextImage));
    EXPECT_EQ(openName(), "c.png");
}

TEST_F(ImageViewTest, AFileThatCannotBeLoadedIsNotOpenedFromTheList) {
    writePicture(path("a.png"), 40, 30);
    std::ofstream(path("b.png")) << "not a picture at all";
    open();
    frame->imageList()->openItem(indexOf("b.png"));
    EXPECT_EQ(frame->mode(), CMainFrame::kBrowserMode);
    EXPECT_EQ(answers.asked, std::vector<std::string>{"warn: Can not open this item."});
    EXPECT_FALSE(view->hasImage());
    // A loadable one still opens.
    openFile("a.png");
    EXPECT_EQ(openName(), "a.png");
}

TEST_F(ImageViewTest, PagesOfAMultiPageFile) {
    writePages(path("pages.tif"), 3);
    open();
    openFile("pages.tif");
    EXPECT_EQ(view->document().pageCount(), 3);
    EXPECT_FALSE(frame->runCommand(cmd::kPreviousPage));
    EXPECT_FALSE(frame->runCommand(cmd::kFirstPage));
    EXPECT_TRUE(frame->runCommand(cmd::kNextPage));
    EXPECT_EQ(view->document().pageIndex(), 1);
    EXPECT_EQ(view->document().image()->getWidth(), 13u);
    EXPECT_TRUE(frame->runCommand(cmd::kLastPage));
    EXPECT_EQ(view->document().pageIndex(), 2);
    EXPECT_FALSE(frame->commandState(cmd::kNextPage).enabled);
    EXPECT_FALSE(frame->runCommand(cmd::kNextPage));
    EXPECT_FALSE(frame->runCommand(cmd::kLastPage));
    EXPECT_EQ(view->document().pageIndex(), 2);
    EXPECT_TRUE(frame->runCommand(cmd::kFirstPage));
    EXPECT_EQ(view->document().pageIndex(), 0);
    EXPECT_EQ(view->document().image()->getWidth(), 10u);
}

TEST_F(ImageViewTest, SaveAsKeepsTheDocumentAndAFailedSaveSaysSo) {
    writePicture(path("a.png"), 40, 30);
    open();
    openFile("a.png");
    view->document().setModified(true);
    answers.saveAsPath = path("copy.bmp");
    EXPECT_TRUE(frame->runCommand(cmd::kSaveAs));
    EXPECT_TRUE(fs::exists(path("copy.bmp")));
    EXPECT_EQ(view->document().path(), path("a.png"));
    EXPECT_EQ(frame->GetTitle().utf8_string(), "a.png - Tarn Photo Viewer");
    EXPECT_FALSE(view->document().modified());

    // A save that cannot be written: the message, and the changes are still there.
    view->document().setModified(true);
    const std::string missing = fixture.pictures + "/no such folder/x.png";
    answers.saveAsPath = missing;
    EXPECT_TRUE(frame->runCommand(cmd::kSaveAs));
    ASSERT_FALSE(answers.asked.empty());
    EXPECT_EQ(answers.asked.back(), "Save File: Failed to save file '" + missing + "'.");
    EXPECT_TRUE(view->document().modified());
    // Cancel in the save dialog saves nothing.
    answers.saveAsPath.reset();
    const std::size_t before = answers.asked.size();
    EXPECT_TRUE(frame->runCommand(cmd::kSaveAs));
    EXPECT_EQ(answers.asked.size(), before + 1);
    EXPECT_TRUE(view->document().modified());
}

TEST_F(ImageViewTest, DeletingTheLastImageShowsThePreviousOne) {
    writePicture(path("a.png"), 40, 30);
    writePicture(path("b.png"), 50, 20);
    writePicture(path("c.png"), 30, 20);
    open();
    openFile("c.png");
    view->document().setModified(true);
    answers.confirm = false;
    EXPECT_TRUE(frame->runCommand(cmd::kDelete));
    EXPECT_TRUE(fs::exists(path("c.png")));
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0],
              "Delete File: The file has been changed. Do you really want to delete the file?");

    answers.confirm = true;
    EXPECT_TRUE(frame->runCommand(cmd::kDelete));
    EXPECT_FALSE(fs::exists(path("c.png")));
    EXPECT_EQ(openName(), "b.png");
    EXPECT_EQ(indexOf("c.png"), -1);
    // The file went to the Trash of the run, not away for good.
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    ASSERT_NE(dataHome, nullptr);
    EXPECT_TRUE(fs::exists(std::string(dataHome) + "/Trash/files/c.png"));

    // In the middle, the next image follows.
    frame->runCommand(cmd::kFirstImage);
    EXPECT_EQ(openName(), "a.png");
    EXPECT_TRUE(frame->runCommand(cmd::kDelete));
    EXPECT_EQ(openName(), "b.png");
}

TEST_F(ImageViewTest, ZoomCommandsAndTheFitAppliedToEachNewImage) {
    writePicture(path("a.png"), 3000, 2000);
    writePicture(path("b.png"), 3000, 2000);
    open();
    openFile("a.png");
    const double fitted = view->geometry().zoom();
    EXPECT_LT(fitted, 1.0);
    EXPECT_TRUE(frame->commandState(cmd::kZoomFitImage).checked);
    EXPECT_TRUE(frame->runCommand(cmd::kZoomIn));
    EXPECT_GT(view->geometry().zoom(), fitted);
    EXPECT_FALSE(view->geometry().fitActive());
    EXPECT_TRUE(frame->runCommand(cmd::kZoom100));
    EXPECT_DOUBLE_EQ(view->geometry().zoom(), 1.0);
    EXPECT_TRUE(frame->commandState(cmd::kZoom100).checked);
    EXPECT_EQ(frame->statusBar()->slider()->GetValue(), zoomToSlider(1.0));
    // The next image opens with the zoom type again.
    EXPECT_TRUE(frame->runCommand(cmd::kNextImage));
    EXPECT_TRUE(view->geometry().fitActive());
    EXPECT_DOUBLE_EQ(view->geometry().zoom(), fitted);
    // 100 % shows scroll bars for a picture larger than the window.
    frame->runCommand(cmd::kActualSize);
    EXPECT_TRUE(view->geometry().horizontalBar().shown);
    EXPECT_TRUE(waitFor([&] {
        return view->GetClientSize().y < view->GetSize().y &&
               view->geometry().clientHeight() == view->GetClientSize().y;
    }));
    // The bar takes its room from the client area, and the image fills what is left.
    EXPECT_LT(view->GetClientSize().y, view->GetSize().y);
    EXPECT_EQ(view->geometry().clientHeight(), view->GetClientSize().y);
    EXPECT_EQ(view->geometry().clientWidth(), view->GetClientSize().x);
}

TEST_F(ImageViewTest, PixelsAtOneHundredAndSixteenHundredPercent) {
    writeChecker(path("checker.png"), 4, 4);
    open();
    openFile("checker.png");
    ASSERT_DOUBLE_EQ(view->geometry().zoom(), 1.0);
    wxImage shown = grab();
    const int w = shown.GetWidth();
    const int h = shown.GetHeight();
    const int left = (w - 4 + 1) / 2;
    const int top = (h - 4 + 1) / 2;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(shown.GetRed(left + x, top + y), (x + y) % 2 == 0 ? 255 : 0) << x << "," << y;
        }
    }
    EXPECT_EQ(shown.GetRed(left - 1, top), 138);
    EXPECT_EQ(shown.GetRed(left, top - 1), 138);

    EXPECT_TRUE(frame->runCommand(cmd::kZoom1600));
    shown = grab();
    const int bigLeft = (w - 64 + 1) / 2;
    const int bigTop = (h - 64 + 1) / 2;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const int expected = (x / 16 + y / 16) % 2 == 0 ? 255 : 0;
            ASSERT_EQ(shown.GetRed(bigLeft + x, bigTop + y), expected) << x << "," << y;
        }
    }
    EXPECT_EQ(shown.GetRed(bigLeft - 1, bigTop + 5), 138);
    EXPECT_EQ(shown.GetRed(bigLeft + 64, bigTop + 5), 138);
}

TEST_F(ImageViewTest, QuickSlideShowStepsAndStopsAtTheLastImage) {
    writePicture(path("a.png"), 40, 30);
    writePicture(path("b.png"), 50, 20);
    open();
    openFile("a.png");
    EXPECT_TRUE(frame->commandState(cmd::kQuickSlideShow).enabled);
    EXPECT_TRUE(frame->runCommand(cmd::kQuickSlideShow));
    EXPECT_TRUE(view->quickSlideShowRunning());
    EXPECT_TRUE(frame->commandState(cmd::kQuickSlideShow).checked);
    view->onQuickSlideTimer();
    EXPECT_EQ(openName(), "b.png");
    EXPECT_TRUE(view->quickSlideShowRunning());
    view->onQuickSlideTimer();
    EXPECT_EQ(openName(), "b.png");
    EXPECT_FALSE(view->quickSlideShowRunning());
}

TEST_F(ImageViewTest, FullScreenHidesThePointerAfterATick) {
    writePicture(path("a.png"), 40, 30);
    open();
    openFile("a.png");
    EXPECT_TRUE(frame->runCommand(cmd::kFullScreen));
    EXPECT_TRUE(view->isFullScreen());
    EXPECT_TRUE(frame->isFullScreen());
    EXPECT_EQ(view->backdrop(), wxColour(0, 0, 0));
    EXPECT_FALSE(view->geometry().horizontalBar().shown);
    view->onCursorTimer();
    EXPECT_TRUE(view->cursorHidden());
    wxMouseEvent move(wxEVT_MOTION);
    move.SetPosition(wxPoint(7, 9));
    view->GetEventHandler()->ProcessEvent(move);
    EXPECT_FALSE(view->cursorHidden());
    // Leaving the image view leaves full screen too.
    EXPECT_TRUE(frame->runCommand(cmd::kBrowse));
    EXPECT_FALSE(frame->isFullScreen());
    EXPECT_FALSE(view->isFullScreen());
    EXPECT_EQ(view->backdrop(), wxColour(138, 138, 138));
}

}  // namespace
}  // namespace tarn

namespace tarn {
namespace {

// A key as the frame's key hook sees it.
void pressKey(wxWindow* target, int code) {
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = code;
    key.SetEventObject(target);
    target->GetEventHandler()->ProcessEvent(key);
}

TEST_F(ImageViewTest, TheViewsOwnKeys) {
    writePicture(path("a.png"), 3000, 2000);
    writePicture(path("b.png"), 3000, 2000);
    open();
    openFile("a.png");
    view->SetFocus();
    pumpEvents();
    pressKey(view, WXK_PAGEDOWN);
    EXPECT_EQ(openName(), "b.png");
    pressKey(view, WXK_LEFT);
    EXPECT_EQ(openName(), "a.png");
    pressKey(view, '/');
    EXPECT_DOUBLE_EQ(view->geometry().zoom(), 1.0);
    pressKey(view, '-');
    EXPECT_DOUBLE_EQ(view->geometry().zoom(), 0.7);
    pressKey(view, '8');
    EXPECT_TRUE(view->geometry().fitActive());
    EXPECT_LT(view->geometry().zoom(), 0.7);
    pressKey(view, WXK_END);
    EXPECT_EQ(openName(), "b.png");
    pressKey(view, WXK_ESCAPE);
    EXPECT_EQ(frame->mode(), CMainFrame::kBrowserMode);
}

TEST_F(ImageViewTest, AnEditShowsAtOnceAndCtrlZAndCtrlYUndoAndRedoIt) {
    writePicture(path("a.png"), 300, 200);
    open();
    openFile("a.png");
    view->SetFocus();
    EXPECT_FALSE(frame->commandState(cmd::kUndo).enabled);
    ASSERT_TRUE(view->edit([](fipSuperImage& image) { return image.rotate(90) != FALSE; }));
    // The fit follows the new size; the image is changed and can be undone.
    EXPECT_EQ(view->geometry().imageWidth(), 200);
    EXPECT_TRUE(view->isModified());
    EXPECT_TRUE(frame->commandState(cmd::kUndo).enabled);
    EXPECT_FALSE(frame->commandState(cmd::kRedo).enabled);
    const auto ctrlKey = [&](char letter) {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = letter;
        key.m_controlDown = true;
        key.SetEventObject(view);
        view->GetEventHandler()->ProcessEvent(key);
    };
    ctrlKey('Z');
    EXPECT_EQ(view->document().image()->getWidth(), 300u);
    EXPECT_EQ(view->geometry().imageWidth(), 300);
    EXPECT_TRUE(frame->commandState(cmd::kRedo).enabled);
    ctrlKey('Y');
    EXPECT_EQ(view->document().image()->getWidth(), 200u);
    EXPECT_FALSE(frame->commandState(cmd::kRedo).enabled);
}

TEST_F(ImageViewTest, OpenDialogMovesTheBrowserToTheChosenFolder) {
    writePicture(path("a.png"), 40, 30);
    fixture.addFolder("trip");
    writePicture(path("trip/x.png"), 20, 10);
    writePicture(path("trip/y.png"), 20, 10);
    open();
    std::string startFolder;
    view->prompts().openFile = [&](const std::string& folder) -> std::optional<std::string> {
        startFolder = folder;
        return path("trip/y.png");
    };
    // From the browser the chosen file opens as a double-click does.
    EXPECT_TRUE(frame->runCommand(cmd::kOpen));
    pumpEvents();
    EXPECT_EQ(startFolder, fixture.pictures);
    EXPECT_EQ(frame->mode(), CMainFrame::kImageMode);
    EXPECT_EQ(openName(), "y.png");
    EXPECT_EQ(model().folderPath(), path("trip"));
    EXPECT_TRUE(frame->runCommand(cmd::kPreviousImage));
    EXPECT_EQ(openName(), "x.png");
    // Cancelled: nothing changes.
    view->prompts().openFile = [](const std::string&) { return std::optional<std::string>(); };
    EXPECT_TRUE(frame->runCommand(cmd::kOpen));
    EXPECT_EQ(openName(), "x.png");
}

TEST_F(ImageViewTest, ZoomSettingsAreKeptForTheNextRun) {
    writePicture(path("a.png"), 3000, 2000);
    open();
    openFile("a.png");
    frame->runCommand(cmd::kZoomLock);
    frame->runCommand(cmd::kZoom300);
    fixture.close();
    EXPECT_EQ(fixture.context->settings.get(settings::kZoomType), 4);
    EXPECT_DOUBLE_EQ(fixture.context->settings.get(settings::kZoomLevel), 3.0);
    // Zoom lock opens the next run's images at that zoom.
    open();
    openFile("a.png");
    EXPECT_DOUBLE_EQ(view->geometry().zoom(), 3.0);
    EXPECT_TRUE(frame->commandState(cmd::kZoomLock).checked);
}

}  // namespace
}  // namespace tarn

namespace tarn {
namespace {

TEST_F(ImageViewTest, ViewAndEditAndFullScreenFromTheBrowser) {
    writePicture(path("a.png"), 40, 30);
    writePicture(path("b.png"), 40, 30);
    fixture.addFolder("sub");
    open();
    frame->imageList()->SetFocus();
    frame->imageList()->selectOnly(indexOf("sub"));
    EXPECT_FALSE(frame->commandState(cmd::kFullScreen).enabled);
    frame->imageList()->selectOnly(indexOf("b.png"));
    EXPECT_TRUE(frame->runCommand(cmd::kViewAndEdit));
    EXPECT_EQ(frame->mode(), CMainFrame::kImageMode);
    EXPECT_EQ(openName(), "b.png");
    EXPECT_TRUE(frame->runCommand(cmd::kBrowse));

    frame->imageList()->SetFocus();
    frame->imageList()->selectOnly(indexOf("a.png"));
    EXPECT_TRUE(frame->commandState(cmd::kFullScreen).enabled);
    EXPECT_TRUE(frame->runCommand(cmd::kFullScreen));
    EXPECT_EQ(openName(), "a.png");
    EXPECT_TRUE(view->isFullScreen());
    EXPECT_TRUE(frame->isFullScreen());
    EXPECT_TRUE(frame->runCommand(cmd::kFullScreen));
    EXPECT_FALSE(frame->isFullScreen());
    EXPECT_EQ(frame->mode(), CMainFrame::kImageMode);
}

}  // namespace
}  // namespace tarn

namespace tarn {
namespace {

TEST_F(ImageViewTest, StatusPanesAndTheZoomSlider) {
    writePicture(path("a.png"), 40, 30);
    writePicture(path("b.png"), 3000, 2000, {}, FIF_UNKNOWN, 8);
    open();
    openFile("b.png");
    CSuperStatusBar& bar = *frame->statusBar();
    EXPECT_EQ(paneText(bar, pane::kPosition), "2/2");
    EXPECT_EQ(paneText(bar, pane::kName), "b.png");
    EXPECT_EQ(paneText(bar, pane::kDimensions), "3000x2000x8b");
    EXPECT_EQ(paneText(bar, pane::kZoom), zoomPaneText(view->geometry().zoom()));

    // Moving the slider sets a custom zoom: the fit no longer governs it.
    wxCommandEvent moved(wxEVT_SLIDER, CSuperStatusBar::kSliderId);
    moved.SetInt(zoomToSlider(2.0));
    moved.SetEventObject(bar.slider());
    bar.slider()->GetEventHandler()->ProcessEvent(moved);
    EXPECT_NEAR(view->geometry().zoom(), sliderToZoom(zoomToSlider(2.0)), 1e-9);
    EXPECT_FALSE(view->geometry().fitActive());
    EXPECT_EQ(paneText(bar, pane::kZoom), zoomPaneText(view->geometry().zoom()));

    // Reopen reads the same item again.
    EXPECT_TRUE(frame->runCommand(cmd::kReopen));
    EXPECT_EQ(openName(), "b.png");
    // Without an image, the one pane of the empty view; Reopen needs a loaded image.
    frame->runCommand(cmd::kClose);
    EXPECT_EQ(frame->GetTitle().utf8_string(), "Tarn Photo Viewer");
    EXPECT_EQ(paneText(bar, pane::kTotals), "No images");
    EXPECT_FALSE(frame->runCommand(cmd::kReopen));
    EXPECT_TRUE(frame->commandState(cmd::kClose).enabled);
}

}  // namespace
}  // namespace tarn

namespace tarn {
namespace {

TEST_F(ImageViewTest, FilesChangingUnderTheOpenImage) {
    writePicture(path("a.png"), 40, 30);
    writePicture(path("b.png"), 50, 20);
    writePicture(path("c.png"), 30, 20);
    open();
    openFile("b.png");
    // Another program removes the first file; the list reads the folder again.
    fs::remove(path("a.png"));
    frame->imageList()->refresh();
    EXPECT_FALSE(frame->commandState(cmd::kPreviousImage).enabled);
    EXPECT_TRUE(frame->runCommand(cmd::kNextImage));
    EXPECT_EQ(openName(), "c.png");

    // The open file itself goes: the picture stays on screen and Save writes it back.
    fs::remove(path("c.png"));
    view->document().setModified(true);
    EXPECT_TRUE(frame->runCommand(cmd::kSave));
    EXPECT_TRUE(fs::exists(path("c.png")));
    EXPECT_FALSE(view->document().modified());
    EXPECT_TRUE(frame->runCommand(cmd::kPreviousImage));
    EXPECT_EQ(openName(), "b.png");
}

}  // namespace
}  // namespace tarn
