// The slide show: moving through a folder, the automatic advance, drawing, the button strip and
// the pointer, and the frame's mode switch around it. The tests that need full screen start
// openbox on the test display.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/tooltip.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "browser/image_list_ctrl.h"
#include "commands/command_ids.h"
#include "slideshow/slide_tool_bar.h"
#include "slideshow/slide_view.h"
#include "ui/frame_fixture.h"
#include "ui/screen_grab.h"
#include "ui/ui_test_support.h"
#include "ui/window_manager.h"
#include "viewer/image_view.h"
#include "widgets/super_splitter_wnd.h"

namespace tarn {
namespace {

using namespace std::chrono_literals;
using test::flushEvents;
using test::pumpEvents;
using test::waitFor;

struct SlideShowFixture : test::FrameFixture {
    std::string path(const std::string& name) const { return pictures + "/" + name; }

    void addPicture(const std::string& name, int width, int height, const wxColour& colour) const {
        wxImage image(width, height);
        image.SetRGB(wxRect(0, 0, width, height), colour.Red(), colour.Green(), colour.Blue());
        ASSERT_TRUE(image.SaveFile(wxString::FromUTF8(path(name)), wxBITMAP_TYPE_PNG));
    }
    void addFile(const std::string& name, const std::string& content) const {
        test::writeFile(path(name), content);
    }

    CSlideView* view() const { return frame->slideView(); }
    std::string shown() const {
        return std::filesystem::path(view()->currentPath()).filename().string();
    }
    // One tick of a timer, as if its interval had passed.
    void advanceTick() {
        wxTimer timer;
        wxTimerEvent event(timer);
        view()->onAdvanceTimer(event);
        flushEvents();
    }
    void pointerTick() {
        wxTimer timer;
        wxTimerEvent event(timer);
        view()->onPointerTimer(event);
        flushEvents();
    }
    // The slide as the view paints it on an area of the given size.
    wxImage drawn(const wxSize& area) const {
        wxBitmap bitmap(area, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxRED_BRUSH);  // anything the slide leaves unpainted shows red
            dc.Clear();
            view()->drawSlide(dc, area);
        }
        return bitmap.ConvertToImage();
    }
};

wxColour pixel(const wxImage& image, int x, int y) {
    return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

TEST(SlideShow, NextAndPreviousSkipOtherFilesBothWays) {
    SlideShowFixture f;
    f.addFolder("f");
    f.addPicture("a.png", 40, 30, *wxRED);
    f.addFile("b.txt", "text");
    f.addPicture("c.png", 40, 30, *wxGREEN);
    f.addFile("d.txt", "text");
    f.addPicture("e.png", 40, 30, *wxBLUE);
    CMainFrame* frame = f.open();

    // Nothing selected: the show starts at the folder's first image.
    ASSERT_TRUE(frame->runCommand(cmd::kSlideShow));
    EXPECT_EQ(frame->mode(), CMainFrame::kSlideShowMode);
    EXPECT_EQ(frame->previousMode(), CMainFrame::kBrowserMode);
    EXPECT_FALSE(frame->outerSplitter()->IsShown());
    EXPECT_TRUE(f.view()->IsShown());
    EXPECT_TRUE(f.view()->playing());
    EXPECT_TRUE(f.view()->toolBar()->IsShown());
    EXPECT_EQ(f.shown(), "a.png");
    ASSERT_NE(f.view()->currentImage(), nullptr);
    EXPECT_EQ(f.view()->currentPageCount(), 1);
    // The next image is being read in the background already.
    EXPECT_EQ(f.view()->prefetchSlot().path(), f.path("c.png"));
    // The browser's commands rest while the show runs.
    EXPECT_FALSE(frame->commandState(cmd::kSlideShow).enabled);

    f.view()->next();
    EXPECT_EQ(f.shown(), "c.png");
    f.view()->next();
    EXPECT_EQ(f.shown(), "e.png");
    EXPECT_FALSE(f.view()->canNext());
    f.view()->next();
    EXPECT_EQ(f.shown(), "e.png");

    f.view()->previous();
    EXPECT_EQ(f.shown(), "c.png");
    // The slide just left waits in the pre-load slot, so that going forward is immediate.
    EXPECT_EQ(f.view()->prefetchSlot().path(), f.path("e.png"));
    EXPECT_TRUE(f.view()->prefetchSlot().hasResult());
    f.view()->previous();
    EXPECT_EQ(f.shown(), "a.png");
    EXPECT_FALSE(f.view()->canPrevious());
    f.view()->previous();
    EXPECT_EQ(f.shown(), "a.png");
    ASSERT_NE(f.view()->currentImage(), nullptr);
    EXPECT_EQ(f.view()->currentImage()->getWidth(), 40u);
}

TEST(SlideShow, AdvancePausesOnTheLastImageAndPlayPausesAgainAtTheNextTick) {
    SlideShowFixture f;
    f.addPicture("a.png", 40, 30, *wxRED);
    f.addPicture("b.png", 40, 30, *wxGREEN);
    CMainFrame* frame = f.open();
    frame->startSlideShow(0);
    CSuperBitmapButton* play = f.view()->toolBar()->button(CSlideToolBar::kPlayId);
    CSuperBitmapButton* pause = f.view()->toolBar()->button(CSlideToolBar::kPauseId);
    EXPECT_TRUE(f.view()->advanceTimerRunning());
    EXPECT_TRUE(play->isActive());
    EXPECT_FALSE(pause->isActive());

    f.advanceTick();
    EXPECT_EQ(f.shown(), "b.png");
    EXPECT_TRUE(f.view()->playing());
    EXPECT_TRUE(f.view()->advanceTimerRunning());

    // No image after b: the show stays on it, paused.
    f.advanceTick();
    EXPECT_EQ(f.shown(), "b.png");
    EXPECT_FALSE(f.view()->playing());
    EXPECT_FALSE(f.view()->advanceTimerRunning());
    EXPECT_FALSE(play->isActive());
    EXPECT_TRUE(pause->isActive());
    ASSERT_NE(f.view()->currentImage(), nullptr);

    f.view()->play();
    EXPECT_TRUE(f.view()->playing());
    EXPECT_TRUE(f.view()->advanceTimerRunning());
    EXPECT_TRUE(play->isActive());
    f.advanceTick();
    EXPECT_FALSE(f.view()->playing());
    EXPECT_TRUE(pause->isActive());

    // Pause while paused and Play while playing change nothing.
    f.view()->pause();
    EXPECT_FALSE(f.view()->playing());
    f.view()->play();
    f.view()->play();
    EXPECT_TRUE(f.view()->playing());
    f.view()->pause();
    EXPECT_FALSE(f.view()->advanceTimerRunning());
    EXPECT_TRUE(pause->isActive());
}

TEST(SlideShow, CorruptFileShowsNoImageAvailableAndTheShowGoesOn) {
    SlideShowFixture f;
    f.addPicture("a.png", 40, 30, *wxRED);
    f.addFile("b.jpg", std::string("\xff\xd8\xff\xe0 not really a JPEG", 22));
    f.addPicture("c.png", 40, 30, *wxGREEN);
    CMainFrame* frame = f.open();
    frame->startSlideShow(0);

    f.advanceTick();
    EXPECT_EQ(f.shown(), "b.jpg");
    EXPECT_EQ(f.view()->currentImage(), nullptr);
    EXPECT_TRUE(f.view()->playing());
    const wxImage slide = f.drawn(wxSize(640, 480));
    int white = 0;
    int other = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const wxColour c = pixel(slide, x, y);
            if (c.Red() > 200 && c.Green() > 200 && c.Blue() > 200) {
                ++white;
                // The text sits around the middle.
                EXPECT_NEAR(y, 240, 30);
                EXPECT_NEAR(x, 320, 150);
            } else if (c.Red() != c.Green() || c.Green() != c.Blue()) {
                ++other;  // neither black, white nor the grey of smoothed text edges
            }
        }
    }
    EXPECT_GT(white, 20);
    EXPECT_EQ(other, 0);
    EXPECT_EQ(pixel(slide, 0, 0), *wxBLACK);
    EXPECT_EQ(pixel(slide, 639, 479), *wxBLACK);

    f.advanceTick();
    EXPECT_EQ(f.shown(), "c.png");
    ASSERT_NE(f.view()->currentImage(), nullptr);
    // The last image: the next tick pauses.
    f.advanceTick();
    EXPECT_FALSE(f.view()->playing());
}

TEST(SlideShow, SmallImageAtItsOwnSizeCentredLargeOneFittedToTheScreen) {
    SlideShowFixture f;
    f.addPicture("a small.png", 100, 100, *wxGREEN);
    f.addPicture("b wide.png", 4000, 1000, *wxBLUE);
    CMainFrame* frame = f.open();
    frame->startSlideShow(0);
    const wxSize screen(1280, 1024);

    const wxImage small = f.drawn(screen);
    EXPECT_EQ(pixel(small, 590, 462), *wxGREEN);
    EXPECT_EQ(pixel(small, 689, 561), *wxGREEN);
    EXPECT_EQ(pixel(small, 640, 512), *wxGREEN);
    for (const wxPoint p : {wxPoint(589, 500), wxPoint(690, 500), wxPoint(640, 461),
                            wxPoint(640, 562), wxPoint(0, 0), wxPoint(1279, 1023)}) {
        EXPECT_EQ(pixel(small, p.x, p.y), *wxBLACK) << p.x << "," << p.y;
    }

    f.view()->next();
    EXPECT_EQ(f.shown(), "b wide.png");
    const wxImage wide = f.drawn(screen);
    // 1280 x 320, centred: rows 352..671.
    for (const wxPoint p : {wxPoint(0, 352), wxPoint(1279, 352), wxPoint(0, 671),
                            wxPoint(1279, 671), wxPoint(640, 512)}) {
        EXPECT_EQ(pixel(wide, p.x, p.y), *wxBLUE) << p.x << "," << p.y;
    }
    for (const wxPoint p : {wxPoint(640, 351), wxPoint(640, 672), wxPoint(0, 0)}) {
        EXPECT_EQ(pixel(wide, p.x, p.y), *wxBLACK) << p.x << "," << p.y;
    }
    // Drawing again for another size scales again.
    const wxImage smaller = f.drawn(wxSize(800, 600));
    EXPECT_EQ(pixel(smaller, 400, 250), *wxBLUE);  // 800 x 200 from row 200
    EXPECT_EQ(pixel(smaller, 400, 199), *wxBLACK);
    EXPECT_EQ(pixel(smaller, 400, 400), *wxBLACK);
}

TEST(SlideShow, WhereTheBrowserStartsTheShow) {
    SlideShowFixture f;
    f.addFolder("f");
    f.addFile("a.txt", "text");
    f.addPicture("b.png", 40, 30, *wxRED);
    f.addPicture("c.png", 40, 30, *wxGREEN);
    CMainFrame* frame = f.open();
    FolderModel& model = frame->imageList()->model();
    ASSERT_EQ(model.count(), 4);
    EXPECT_TRUE(frame->commandState(cmd::kSlideShow).enabled);
    // The menu item and the tool-bar button show it enabled too.
    wxUpdateUIEvent update(CMainFrame::toolId(cmd::kSlideShow));
    update.SetEventObject(frame);
    frame->ProcessWindowEvent(update);
    EXPECT_TRUE(update.GetEnabled());

    // A selected folder and a selected text file, no image: nothing starts.
    model.setSelected(0, true);
    model.setSelected(1, true);
    frame->runCommand(cmd::kSlideShow);
    EXPECT_EQ(frame->mode(), CMainFrame::kBrowserMode);
    EXPECT_FALSE(f.view()->IsShown());

    // The first selected image, whatever else is selected.
    model.setSelected(3, true);
    ASSERT_TRUE(frame->runCommand(cmd::kSlideShow));
    EXPECT_EQ(frame->mode(), CMainFrame::kSlideShowMode);
    EXPECT_EQ(f.shown(), "c.png");
    frame->stopSlideShow();
    EXPECT_EQ(frame->mode(), CMainFrame::kBrowserMode);
    EXPECT_EQ(frame->previousMode(), CMainFrame::kSlideShowMode);
    EXPECT_TRUE(frame->outerSplitter()->IsShown());
    EXPECT_FALSE(f.view()->IsShown());
    EXPECT_FALSE(f.view()->running());
    EXPECT_EQ(f.view()->currentImage(), nullptr);

    // No image in the folder at all: the command is off.
    std::filesystem::remove(f.path("b.png"));
    std::filesystem::remove(f.path("c.png"));
    frame->imageList()->refresh();
    model.clearSelection();
    EXPECT_FALSE(frame->commandState(cmd::kSlideShow).enabled);
    EXPECT_FALSE(frame->runCommand(cmd::kSlideShow));
    EXPECT_EQ(frame->mode(), CMainFrame::kBrowserMode);
}

TEST(SlideShow, StartedFromTheImageModeGoesBackToIt) {
    SlideShowFixture f;
    f.addPicture("a.png", 40, 30, *wxRED);
    f.addPicture("b.png", 40, 30, *wxGREEN);
    CMainFrame* frame = f.open();
    frame->enterImageMode();
    pumpEvents();
    frame->startSlideShow(1);
    EXPECT_EQ(frame->mode(), CMainFrame::kSlideShowMode);
    EXPECT_EQ(frame->previousMode(), CMainFrame::kImageMode);
    EXPECT_FALSE(frame->imageView()->IsShown());
    EXPECT_EQ(f.shown(), "b.png");
    // Starting again while it runs changes nothing.
    frame->startSlideShow(0);
    EXPECT_EQ(f.shown(), "b.png");
    EXPECT_EQ(frame->previousMode(), CMainFrame::kImageMode);

    frame->stopSlideShow();
    EXPECT_EQ(frame->mode(), CMainFrame::kImageMode);
    EXPECT_TRUE(frame->imageView()->IsShown());
    EXPECT_FALSE(frame->outerSplitter()->IsShown());
    EXPECT_FALSE(frame->isFullScreen());
    // Stopping twice is harmless.
    frame->stopSlideShow();
    EXPECT_EQ(frame->mode(), CMainFrame::kImageMode);
}

TEST(SlideShow, AFileTheReadAheadCouldNotReadIsReadAgainWhenShown) {
    SlideShowFixture f;
    f.addPicture("a.png", 40, 30, *wxRED);
    f.addPicture("b.png", 40, 30, *wxGREEN);
    CMainFrame* frame = f.open();
    // b.png is being written while the show reads ahead: the read-ahead finds garbage.
    f.addFile("b.png", "half written");
    frame->startSlideShow(0);
    ASSERT_TRUE(waitFor([&] { return f.view()->prefetchSlot().hasResult(); }));
    f.addPicture("b.png", 40, 30, *wxGREEN);
    f.view()->next();
    EXPECT_EQ(f.shown(), "b.png");
    ASSERT_NE(f.view()->currentImage(), nullptr);
    EXPECT_EQ(f.view()->currentImage()->getWidth(), 40u);
    frame->stopSlideShow();
}

TEST(SlideShow, TheKeyboardsCommandsDoNothingDuringTheShow) {
    SlideShowFixture f;
    f.addPicture("a.png", 40, 30, *wxRED);
    CMainFrame* frame = f.open();
    bool askedForAFile = false;
    frame->imageView()->prompts().openFile = [&](const std::string&) {
        askedForAFile = true;
        return std::optional<std::string>();
    };
    frame->startSlideShow(0);
    for (const int letter : {'O', 'Q'}) {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = letter;
        key.m_controlDown = true;
        key.SetEventObject(f.view());
        f.view()->GetEventHandler()->ProcessEvent(key);
    }
    pumpEvents();
    EXPECT_FALSE(askedForAFile);
    EXPECT_EQ(frame->mode(), CMainFrame::kSlideShowMode);
    EXPECT_TRUE(frame->IsShown());
    frame->stopSlideShow();
}

TEST(SlideShow, StartedFromTheFullScreenImageViewEndsItsFullScreen) {
    SlideShowFixture f;
    f.addPicture("a.png", 40, 30, *wxRED);
    f.addPicture("b.png", 40, 30, *wxGREEN);
    CMainFrame* frame = f.open();
    frame->imageList()->openItem(1);
    pumpEvents();
    ASSERT_EQ(frame->mode(), CMainFrame::kImageMode);
    frame->imageView()->setFullScreen(true);
    ASSERT_TRUE(frame->isFullScreen());

    // The image view's Slide Show starts at its own image.
    ASSERT_TRUE(frame->runCommand(cmd::kSlideShow));
    EXPECT_EQ(frame->mode(), CMainFrame::kSlideShowMode);
    EXPECT_EQ(f.shown(), "b.png");
    EXPECT_TRUE(frame->isFullScreen());

    frame->stopSlideShow();
    EXPECT_EQ(frame->mode(), CMainFrame::kImageMode);
    EXPECT_FALSE(frame->imageView()->isFullScreen());
    EXPECT_FALSE(frame->isFullScreen());
    EXPECT_TRUE(frame->imageView()->hasImage());
}

TEST(SlideShow, StoppingLetsGoOfTheImageReadAhead) {
    SlideShowFixture f;
    f.addPicture("a.png", 40, 30, *wxRED);
    // Large enough that the loader is usually still reading when the show stops at once.
    f.addPicture("b.png", 3000, 2500, *wxGREEN);
    CMainFrame* frame = f.open();
    for (int round = 0; round < 2; ++round) {
        frame->startSlideShow(0);
        EXPECT_EQ(f.view()->prefetchSlot().path(), f.path("b.png"));
        if (round == 1) {
            // The loader is done before the show stops: stopping itself empties the slot.
            ASSERT_TRUE(waitFor([&] { return !f.view()->prefetchSlot().loading(); }));
        }
        frame->stopSlideShow();
        // Either at once or when the loader's message arrives after the show ended.
        EXPECT_TRUE(waitFor([&] {
            return !f.view()->prefetchSlot().loading() && f.view()->prefetchSlot().path().empty();
        })) << round;
        EXPECT_FALSE(f.view()->prefetchSlot().hasResult());
    }
}

TEST(SlideShow, StripButtonsAndTheirPlace) {
    SlideShowFixture f;
    f.addPicture("a.png", 40, 30, *wxRED);
    f.addPicture("b.png", 40, 30, *wxGREEN);
    CMainFrame* frame = f.open();
    frame->startSlideShow(0);
    pumpEvents();
    CSlideView* view = f.view();
    CSlideToolBar* strip = view->toolBar();
    const wxSize area = view->GetClientSize();
    EXPECT_EQ(strip->GetRect(), wxRect((area.x - 173) / 2, area.y - 81, 173, 31));
    EXPECT_EQ(strip->GetId(), 163);
    EXPECT_EQ(strip->GetBackgroundColour(), wxColour(237, 237, 237));
    view->SetSize(700, 500);
    pumpEvents();
    EXPECT_EQ(strip->GetRect(), wxRect(263, 419, 173, 31));

    const std::map<int, std::pair<int, const char*>> buttons{
        {CSlideToolBar::kPlayId, {0, "Play slide show"}},
        {CSlideToolBar::kPauseId, {32, "Pause slide show"}},
        {CSlideToolBar::kPreviousId, {71, "Previous slide"}},
        {CSlideToolBar::kNextId, {103, "Next slide"}},
        {CSlideToolBar::kExitId, {142, "Exit slide show"}},
    };
    for (const auto& [id, expected] : buttons) {
        CSuperBitmapButton* button = strip->button(id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->GetRect(), wxRect(expected.first, 0, 31, 31)) << id;
        EXPECT_EQ(button->GetToolTipText(), expected.second);
    }

    // Real clicks: Pause, Next, Play, Exit.
    wxUIActionSimulator sim;
    // The pointer must be over the button before it presses: the button tracks the hover.
    const auto click = [&](int id, const std::function<bool()>& done) {
        CSuperBitmapButton* button = strip->button(id);
        const wxPoint centre = button->GetScreenRect().GetPosition() + wxPoint(15, 15);
        sim.MouseMove(centre);
        EXPECT_TRUE(waitFor([&] { return wxGetMousePosition() == centre; })) << id;
        flushEvents();
        sim.MouseClick();
        EXPECT_TRUE(waitFor(done)) << id;
    };
    click(CSlideToolBar::kPauseId, [&] { return !view->playing(); });
    click(CSlideToolBar::kNextId, [&] { return f.shown() == "b.png"; });
    click(CSlideToolBar::kPreviousId, [&] { return f.shown() == "a.png"; });
    click(CSlideToolBar::kPlayId, [&] { return view->playing(); });
    click(CSlideToolBar::kExitId, [&] { return frame->mode() == CMainFrame::kBrowserMode; });
    EXPECT_FALSE(view->IsShown());
}

TEST(SlideShow, PointerAndStripHideWhenTheMouseRestsAndComeBackWhenItMoves) {
    SlideShowFixture f;
    f.addPicture("a.png", 40, 30, *wxRED);
    CMainFrame* frame = f.open();
    frame->startSlideShow(0);
    pumpEvents();
    CSlideView* view = f.view();
    CSlideToolBar* strip = view->toolBar();
    EXPECT_TRUE(view->pointerTimerRunning());

    // Resting on the strip keeps both.
    wxUIActionSimulator sim;
    sim.MouseMove(strip->GetScreenRect().GetPosition() + wxPoint(50, 15));
    pumpEvents();
    f.pointerTick();
    EXPECT_FALSE(view->pointerHidden());
    EXPECT_TRUE(strip->IsShown());
    EXPECT_TRUE(view->pointerTimerRunning());

    // Away from it, the next tick hides them.
    sim.MouseMove(view->GetScreenRect().GetPosition() + wxPoint(20, 20));
    pumpEvents();
    f.pointerTick();
    EXPECT_TRUE(view->pointerHidden());
    EXPECT_FALSE(strip->IsShown());
    EXPECT_FALSE(view->pointerTimerRunning());

    // A move to the same place is no move.
    const wxPoint rest = view->ScreenToClient(wxGetMousePosition());
    wxMouseEvent same(wxEVT_MOTION);
    same.SetPosition(rest);
    view->GetEventHandler()->ProcessEvent(same);
    EXPECT_TRUE(view->pointerHidden());

    wxMouseEvent moved(wxEVT_MOTION);
    moved.SetPosition(rest + wxPoint(5, 3));
    view->GetEventHandler()->ProcessEvent(moved);
    EXPECT_FALSE(view->pointerHidden());
    EXPECT_TRUE(strip->IsShown());
    EXPECT_TRUE(view->pointerTimerRunning());
}

TEST(SlideShow, FilesDeletedWhileShowingDoNotStopTheShow) {
    SlideShowFixture f;
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"}) {
        f.addPicture(name, 40, 30, *wxRED);
    }
    CMainFrame* frame = f.open();
    frame->startSlideShow(0);
    f.advanceTick();
    ASSERT_EQ(f.shown(), "b.png");

    // The shown file and the one read ahead both go.
    std::filesystem::remove(f.path("b.png"));
    std::filesystem::remove(f.path("c.png"));
    frame->imageList()->refresh();
    ASSERT_EQ(frame->imageList()->model().count(), 2);
    f.advanceTick();
    EXPECT_EQ(f.shown(), "d.png");
    ASSERT_NE(f.view()->currentImage(), nullptr);
    EXPECT_TRUE(f.view()->playing());
    f.view()->previous();
    EXPECT_EQ(f.shown(), "a.png");

    // Everything gone: Next and Previous have nowhere to go, the show keeps its slide.
    std::filesystem::remove(f.path("a.png"));
    std::filesystem::remove(f.path("d.png"));
    frame->imageList()->refresh();
    EXPECT_FALSE(f.view()->canNext());
    EXPECT_FALSE(f.view()->canPrevious());
    f.advanceTick();
    EXPECT_FALSE(f.view()->playing());
    EXPECT_EQ(f.shown(), "a.png");
    frame->stopSlideShow();
    EXPECT_EQ(frame->mode(), CMainFrame::kBrowserMode);
}

TEST(SlideShow, ClosingTheWindowDuringTheShowClosesIt) {
    SlideShowFixture f;
    f.addPicture("a.png", 40, 30, *wxRED);
    f.addPicture("b.png", 40, 30, *wxGREEN);
    CMainFrame* frame = f.open();
    frame->enterImageMode();
    frame->startSlideShow(0);
    wxWeakRef<CMainFrame> alive(frame);
    // From the image mode a close would only go back to the browser; from the show it closes.
    frame->Close();
    f.frame = nullptr;
    EXPECT_TRUE(waitFor([&] { return alive.get() == nullptr; }));
}

TEST(SlideShowWithWindowManager, RunsFullScreenAndLeavesTheWindowAsItWas) {
    test::WindowManager wm;
    ASSERT_TRUE(wm.running());
    SlideShowFixture f;
    // A photo-like gradient, larger than the screen.
    wxImage photo(1600, 1000);
    for (int y = 0; y < 1000; ++y) {
        for (int x = 0; x < 1600; ++x) {
            photo.SetRGB(x, y, x * 255 / 1600, 80 + y * 120 / 1000, 200 - x * 150 / 1600);
        }
    }
    ASSERT_TRUE(photo.SaveFile(wxString::FromUTF8(f.path("a photo.png")), wxBITMAP_TYPE_PNG));
    f.addPicture("b.png", 100, 100, *wxGREEN);
    f.storeNormalPlacement(100, 80, 740, 560);
    CMainFrame* frame = f.open();
    ASSERT_TRUE(waitFor([&] { return frame->GetSize() == wxSize(640, 480); }));
    const wxRect before = frame->GetRect();
    frame->imageList()->SetFocus();
    pumpEvents();

    ASSERT_TRUE(frame->runCommand(cmd::kSlideShow));
    const wxSize screen = wxGetDisplaySize();
    EXPECT_TRUE(waitFor([&] { return frame->GetClientSize() == screen; }));
    EXPECT_TRUE(frame->isFullScreen());
    EXPECT_FALSE(frame->GetStatusBar()->IsShown());
    CSlideView* view = f.view();
    EXPECT_EQ(view->GetRect(), wxRect(screen));
    EXPECT_EQ(view->toolBar()->GetRect(), wxRect((screen.x - 173) / 2, screen.y - 81, 173, 31));
    EXPECT_EQ(wxWindow::FindFocus(), view);

    // What the screen shows: the photo fitted to the width, black bands, the strip. The pointer
    // rests on the strip between two buttons so that the strip stays while the screen settles.
    wxUIActionSimulator().MouseMove(view->toolBar()->GetScreenPosition() + wxPoint(68, 15));
    const char* keep = std::getenv("TARN_SLIDE_SCREENSHOT");
    wxImage seen;
    EXPECT_TRUE(waitFor([&] {
        seen = test::grabScreen(keep != nullptr ? keep : "");
        return seen.IsOk() && pixel(seen, 640, 300) != *wxBLACK;
    }));
    // 1600 x 1000 on 1280 x 1024: 1280 x 800 from row 112.
    EXPECT_EQ(pixel(seen, 640, 50), *wxBLACK);
    EXPECT_EQ(pixel(seen, 640, 1000), *wxBLACK);
    EXPECT_NE(pixel(seen, 640, 300), *wxBLACK);
    EXPECT_EQ(pixel(seen, (screen.x - 173) / 2 + 64, screen.y - 81 + 1), wxColour(237, 237, 237));

    frame->stopSlideShow();
    EXPECT_TRUE(waitFor([&] { return frame->GetSize() == before.GetSize(); }));
    EXPECT_FALSE(frame->isFullScreen());
    EXPECT_EQ(frame->mode(), CMainFrame::kBrowserMode);
    EXPECT_TRUE(frame->outerSplitter()->IsShown());
    EXPECT_TRUE(frame->GetStatusBar()->IsShown());
    EXPECT_EQ(wxWindow::FindFocus(), frame->imageList());
}

}  // namespace
}  // namespace tarn
