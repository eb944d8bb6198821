// The image view's tools driven with the mouse inside the real main frame: selecting with the
// ratio commands, the zoom and pan tools, and pictures through the clipboard to and from other
// programs.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "app/settings.h"
#include "commands/command_ids.h"
#include "dialogs/dlg_set_zoom_level.h"
#include "frame/status_bar_texts.h"
#include "imaging/image_fixtures.h"
#include "ui/image_view_fixture.h"
#include "ui/other_program_clipboard.h"

#include <FreeImage.h>

namespace tarn {
namespace {

using test::waitFor;

class ImageViewTools : public ImageViewTest {
protected:
    const Rect& selection() const { return view->selection().rect(); }
};

TEST_F(ImageViewTools, SelectingWithTheMouseAndTheRatioCommands) {
    writeGradient(path("a.png"), 400, 300);
    open();
    openFile("a.png");
    ASSERT_DOUBLE_EQ(view->geometry().zoom(), 1.0);
    EXPECT_FALSE(enabled(cmd::kClearSelection));
    EXPECT_FALSE(enabled(cmd::kCut));
    ASSERT_TRUE(frame->runCommand(cmd::kSelectTool));
    EXPECT_TRUE(checked(cmd::kSelectTool));
    EXPECT_FALSE(checked(cmd::kPanTool));

    drag(10, 10, 110, 90);
    EXPECT_EQ(selection(), (Rect{10, 10, 110, 90}));
    EXPECT_TRUE(enabled(cmd::kCut));
    const std::string mouse = paneText(*frame->statusBar(), pane::kMouse);
    EXPECT_NE(mouse.find(" - 100x80"), std::string::npos) << mouse;
    // A click on a handle keeps it; one outside clears it.
    click(108, 88);
    EXPECT_FALSE(view->selection().empty());
    click(300, 250);
    EXPECT_TRUE(view->selection().empty());
    EXPECT_EQ(paneText(*frame->statusBar(), pane::kMouse).find(" - "), std::string::npos);

    ASSERT_TRUE(frame->runCommand(cmd::kRatio3x4));
    EXPECT_TRUE(checked(cmd::kRatio3x4));
    EXPECT_FALSE(checked(cmd::kRatioFree));
    EXPECT_TRUE(checked(cmd::kRatioPortrait));
    drag(10, 10, 110, 110);
    EXPECT_EQ(selection(), (Rect{10, 10, 85, 110}));
    // Turned to landscape the selection and the check marks follow.
    ASSERT_TRUE(frame->runCommand(cmd::kRatioLandscape));
    EXPECT_EQ(selection(), (Rect{10, 10, 110, 85}));
    EXPECT_TRUE(checked(cmd::kRatio3x4));
    EXPECT_TRUE(checked(cmd::kRatioLandscape));

    ASSERT_TRUE(frame->runCommand(cmd::kRatio1x1));
    ASSERT_TRUE(frame->runCommand(cmd::kSelectAll));
    EXPECT_EQ(selection(), (Rect{0, 0, 400, 300}));
    EXPECT_TRUE(checked(cmd::kRatioFree));
    ASSERT_TRUE(frame->runCommand(cmd::kClearSelection));
    EXPECT_TRUE(view->selection().empty());
    // Ctrl+A is the view's own key.
    view->SetFocus();
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = 'A';
    key.m_controlDown = true;
    key.SetEventObject(view);
    view->GetEventHandler()->ProcessEvent(key);
    EXPECT_EQ(selection(), (Rect{0, 0, 400, 300}));
    // A new image starts without one.
    ASSERT_TRUE(frame->runCommand(cmd::kSelectAll));
    ASSERT_TRUE(frame->runCommand(cmd::kReopen));
    EXPECT_TRUE(view->selection().empty());
}

TEST_F(ImageViewTools, TheZoomToolCentresTheClickAndThePanToolDragsTheImage) {
    writeGradient(path("a.png"), 3000, 2000);
    open();
    openFile("a.png");
    ASSERT_TRUE(frame->runCommand(cmd::kActualSize));
    ASSERT_TRUE(frame->runCommand(cmd::kZoomTool));
    const ViewGeometry& g = view->geometry();
    const int x0 = g.clientWidth() / 2 + 100;
    const int y0 = g.clientHeight() / 2 + 50;
    const PointF target = g.windowToImage(x0, y0);
    mouseAt(wxEVT_LEFT_DOWN, {0, 0}, x0, y0, true);
    mouseAt(wxEVT_LEFT_UP, {0, 0}, x0, y0);
    ASSERT_GT(g.zoom(), 1.0);
    const PointF centre = g.windowToImage(g.clientWidth() / 2, g.clientHeight() / 2);
    EXPECT_NEAR(centre.x, target.x, 2);
    EXPECT_NEAR(centre.y, target.y, 2);
    // The magnifier shows over the picture only.
    const auto cursorAt = [&](int x, int y) {
        wxSetCursorEvent event(x, y);
        event.SetEventObject(view);
        view->GetEventHandler()->ProcessEvent(event);
        return event.HasCursor();
    };
    EXPECT_TRUE(cursorAt(x0, y0));
    ASSERT_TRUE(frame->runCommand(cmd::kZoomFitImage));
    const Rect fitted = g.displayedImage();
    ASSERT_TRUE(fitted.left > 0 || fitted.top > 0);
    EXPECT_FALSE(fitted.left > 0 ? cursorAt(fitted.left - 1, fitted.top + 5)
                                 : cursorAt(fitted.left + 5, fitted.top - 1));
    ASSERT_TRUE(frame->runCommand(cmd::kActualSize));
    const double zoomed = g.zoom();
    mouse(wxEVT_RIGHT_DOWN, 10, 10);
    mouse(wxEVT_RIGHT_UP, 10, 10);
    EXPECT_LT(view->geometry().zoom(), zoomed);

    ASSERT_TRUE(frame->runCommand(cmd::kActualSize));
    ASSERT_TRUE(frame->runCommand(cmd::kPanTool));
    const double x = view->geometry().scrollX();
    const double y = view->geometry().scrollY();
    drag(400, 300, 350, 270);
    EXPECT_EQ(view->geometry().scrollX(), x + 50);
    EXPECT_EQ(view->geometry().scrollY(), y + 30);
}

TEST_F(ImageViewTools, PicturesGoToAndComeFromOtherProgramsThroughTheClipboard) {
    writeGradient(path("a.png"), 400, 300);
    open();
    openFile("a.png");
    ASSERT_TRUE(frame->runCommand(cmd::kSelectTool));
    drag(10, 20, 110, 100);
    ASSERT_EQ(selection(), (Rect{10, 20, 110, 100}));

    // Copied: another program reads a PNG of the selection.
    const test::TempDir dir;
    const std::string copied = (dir.path() / "copied.png").string();
    ASSERT_TRUE(frame->runCommand(cmd::kCopy));
    test::runWhileAnswering("timeout 10 xclip -o -selection clipboard -t image/png > '" + copied +
                            "'");
    fipSuperImage piece;
    ASSERT_TRUE(piece.load(copied.c_str()));
    ASSERT_EQ(piece.getWidth(), 100u);
    ASSERT_EQ(piece.getHeight(), 80u);
    EXPECT_EQ(rgb(pixel(piece, 0, 0)), rgb(pixel(image(), 10, 20)));
    EXPECT_EQ(rgb(pixel(piece, 99, 79)), rgb(pixel(image(), 109, 99)));
    EXPECT_FALSE(view->isModified());

    // Cut: the piece goes out and the background colour is left, one undo step.
    ASSERT_TRUE(frame->runCommand(cmd::kCut));
    EXPECT_TRUE(view->isModified());
    EXPECT_EQ(rgb(pixel(image(), 50, 50)), "0,0,0");
    EXPECT_EQ(rgb(pixel(image(), 5, 50)), "5,50,77");
    EXPECT_TRUE(waitFor([&] { return enabled(cmd::kPaste); }));
    ASSERT_TRUE(frame->runCommand(cmd::kUndo));
    EXPECT_EQ(rgb(pixel(image(), 50, 50)), "50,50,77");

    // Another program's larger picture, pasted without a selection, is cut at the top-left.
    const std::string theirs = (dir.path() / "theirs.png").string();
    ASSERT_EQ(std::system(("convert -size 600x500 xc:'rgb(200,10,10)' '" + theirs + "'").c_str()),
              0);
    test::offerPictureByXclip(theirs);
    ASSERT_TRUE(frame->runCommand(cmd::kClearSelection));
    EXPECT_TRUE(enabled(cmd::kPaste));
    ASSERT_TRUE(frame->runCommand(cmd::kPaste));
    EXPECT_EQ(image().getWidth(), 400u);
    EXPECT_EQ(image().getHeight(), 300u);
    EXPECT_EQ(image().getBitsPerPixel(), 24u);
    EXPECT_EQ(rgb(pixel(image(), 0, 0)), "200,10,10");
    EXPECT_EQ(rgb(pixel(image(), 399, 299)), "200,10,10");

    // Into a selection it is scaled to the selection and leaves the rest alone.
    ASSERT_TRUE(frame->runCommand(cmd::kUndo));
    drag(10, 20, 110, 100);
    ASSERT_TRUE(frame->runCommand(cmd::kPaste));
    EXPECT_EQ(rgb(pixel(image(), 10, 20)), "200,10,10");
    EXPECT_EQ(rgb(pixel(image(), 109, 99)), "200,10,10");
    EXPECT_EQ(rgb(pixel(image(), 9, 20)), "9,20,77");
    EXPECT_EQ(rgb(pixel(image(), 110, 100)), "110,100,77");
}

TEST_F(ImageViewTools, APictureTooLargeToPasteIsRefusedWithAMessage) {
    writeGradient(path("a.png"), 40, 30);
    open();
    openFile("a.png");
    // A small PNG whose header claims 20000 x 20000 pixels.
    const test::TempDir dir;
    const std::string huge = (dir.path() / "huge.png").string();
    writeGradient(huge, 1, 1);
    {
        std::fstream file(huge, std::ios::in | std::ios::out | std::ios::binary);
        const unsigned char size[] = {0, 0, 0x4e, 0x20, 0, 0, 0x4e, 0x20};
        file.seekp(16);
        file.write(reinterpret_cast<const char*>(size), sizeof size);
    }
    test::offerPictureByXclip(huge);
    EXPECT_TRUE(enabled(cmd::kPaste));
    ASSERT_TRUE(frame->runCommand(cmd::kPaste));
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0],
              "warn: The picture on the clipboard is too large to paste (20000 x 20000).");
    EXPECT_FALSE(view->isModified());
    EXPECT_FALSE(enabled(cmd::kUndo));
}

TEST_F(ImageViewTools, TheToolAndTheRatioAreKeptForTheNextRun) {
    writeGradient(path("a.png"), 40, 30);
    open();
    openFile("a.png");
    ASSERT_TRUE(frame->runCommand(cmd::kZoomTool));
    ASSERT_TRUE(frame->runCommand(cmd::kRatio9x13));
    ASSERT_TRUE(frame->runCommand(cmd::kRatioLandscape));
    fixture.close();
    const SettingsStore& store = fixture.context->settings;
    EXPECT_EQ(store.get(settings::kViewTool), 2);
    EXPECT_EQ(store.get(settings::kSelType), 2);
    EXPECT_NEAR(store.get(settings::kSelRatio), 13.0 / 9.0, 1e-5);
    EXPECT_EQ(store.get(settings::kSelOrientation), 1);
    ASSERT_TRUE(store.color(settings::kImageBkColor).has_value());

    open();
    openFile("a.png");
    EXPECT_TRUE(checked(cmd::kZoomTool));
    EXPECT_TRUE(checked(cmd::kRatio9x13));
    EXPECT_TRUE(checked(cmd::kRatioLandscape));
}

}  // namespace
}  // namespace tarn

namespace tarn {
namespace {

// "Set Zoom Level" as the user fills it in: a level typed, the lock box, then Ok.
struct ZoomLevelInput {
    std::string level;
    bool lock = false;
    std::vector<std::string> messages;
    bool closed = false;
};

TEST_F(ImageViewTools, SetZoomLevelActsOnTheViewItCameFrom) {
    writeGradient(path("a.png"), 3000, 2000);
    open();
    openFile("a.png");
    ZoomLevelInput input;
    view->prompts().runDialog = [&](wxDialog& shown) {
        auto& dialog = dynamic_cast<CDlgSetZoomLevel&>(shown);
        dialog.setMessageFunction([&](const wxString& text, const wxString& title) {
            input.messages.push_back((title + ": " + text).utf8_string());
        });
        // It opens on the present zoom, whole text selected for typing over.
        EXPECT_EQ(dialog.levelList()->GetValue().utf8_string(),
                  std::to_string(static_cast<int>(std::lround(view->geometry().zoom() * 100))));
        dialog.levelList()->SetValue(wxString::FromUTF8(input.level));
        dialog.lockBox()->SetValue(input.lock);
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        ok.SetEventObject(&dialog);
        dialog.GetEventHandler()->ProcessEvent(ok);
        input.closed = dialog.GetReturnCode() == wxID_OK;
        return dialog.GetReturnCode();
    };
    input.level = "250";
    ASSERT_TRUE(frame->runCommand(cmd::kZoomTo));
    EXPECT_TRUE(input.closed);
    EXPECT_DOUBLE_EQ(view->geometry().zoom(), 2.5);
    EXPECT_FALSE(checked(cmd::kZoomLock));

    input = ZoomLevelInput{"5", false, {}, false};
    ASSERT_TRUE(frame->runCommand(cmd::kZoomTo));
    EXPECT_FALSE(input.closed);
    ASSERT_EQ(input.messages.size(), 1u);
    EXPECT_EQ(input.messages[0],
              "Set Zoom Level: You must specify a valid zoom level (7% - 1600%).");
    EXPECT_DOUBLE_EQ(view->geometry().zoom(), 2.5);

    // The present zoom typed again: only the lock changes, on and then off.
    input = ZoomLevelInput{"250", true, {}, false};
    ASSERT_TRUE(frame->runCommand(cmd::kZoomTo));
    EXPECT_TRUE(checked(cmd::kZoomLock));
    EXPECT_DOUBLE_EQ(view->geometry().zoom(), 2.5);
    input = ZoomLevelInput{"250", false, {}, false};
    ASSERT_TRUE(frame->runCommand(cmd::kZoomTo));
    EXPECT_FALSE(checked(cmd::kZoomLock));
    EXPECT_DOUBLE_EQ(view->geometry().zoom(), 2.5);
}

}  // namespace
}  // namespace tarn
