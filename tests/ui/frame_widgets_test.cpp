#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "ui/ui_test_support.h"
#include "widgets/super_bitmap_button.h"
#include "widgets/super_splitter_wnd.h"
#include "widgets/title_wnd.h"

namespace tarn {
namespace {

using test::pumpEvents;
using test::waitFor;

wxBitmap solid(const wxColour& colour) {
    wxImage image(20, 20);
    image.SetRGB(wxRect(0, 0, 20, 20), colour.Red(), colour.Green(), colour.Blue());
    return wxBitmap(image);
}

// A frame with a text box holding the focus and one bitmap button that counts its commands.
struct ButtonFixture {
    ButtonFixture() {
        frame = new wxFrame(nullptr, wxID_ANY, "buttons", wxPoint(50, 50), wxSize(300, 200));
        text = new wxTextCtrl(frame, wxID_ANY, "", wxPoint(0, 0), wxSize(100, 30));
        button = new CSuperBitmapButton(frame, 77, wxPoint(150, 50), wxSize(40, 30), "Btn");
        button->setPictures(solid(*wxBLUE), solid(*wxRED), solid(*wxGREEN), wxBitmap());
        frame->Bind(wxEVT_BUTTON, [this](wxCommandEvent& e) {
            if (e.GetId() == 77) {
                ++commands;
            }
        });
        frame->Show();
        test::showAndWait(frame);
        text->SetFocus();
        pumpEvents();
    }
    ~ButtonFixture() { frame->Destroy(); }
    wxPoint buttonCentre() const { return button->ClientToScreen(wxPoint(20, 15)); }

    wxFrame* frame;
    wxTextCtrl* text;
    CSuperBitmapButton* button;
    int commands = 0;
};

TEST(BitmapButton, ClickSendsItsCommandAndLeavesTheFocusWhereItWas) {
    ButtonFixture f;
    wxUIActionSimulator sim;
    sim.MouseMove(f.buttonCentre());
    pumpEvents();
    EXPECT_EQ(f.button->currentPicture(), ButtonPicture::Hover);
    sim.MouseDown();
    pumpEvents();
    EXPECT_EQ(f.button->currentPicture(), ButtonPicture::Pressed);
    sim.MouseUp();
    pumpEvents();
    EXPECT_EQ(f.commands, 1);
    EXPECT_EQ(wxWindow::FindFocus(), f.text);
}

TEST(BitmapButton, ReleasingOffTheButtonSendsNothing) {
    ButtonFixture f;
    wxUIActionSimulator sim;
    sim.MouseMove(f.buttonCentre());
    pumpEvents();
    sim.MouseDown();
    pumpEvents();
    sim.MouseMove(f.buttonCentre() + wxPoint(80, 60));
    pumpEvents();
    EXPECT_EQ(f.button->currentPicture(), ButtonPicture::Normal);
    sim.MouseUp();
    pumpEvents();
    EXPECT_EQ(f.commands, 0);
}

TEST(BitmapButton, ActiveShowsThePressedPicture) {
    ButtonFixture f;
    wxUIActionSimulator sim;
    sim.MouseMove(f.frame->ClientToScreen(wxPoint(280, 180)));
    pumpEvents();
    EXPECT_EQ(f.button->currentPicture(), ButtonPicture::Normal);
    f.button->setActive(true);
    EXPECT_EQ(f.button->currentPicture(), ButtonPicture::Pressed);
}

TEST(SuperSplitter, DraggingPastTheLeftLimitStopsAtTheLastAllowedWidth) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "split", wxPoint(0, 0), wxSize(800, 500));
    auto* splitter = new CSuperSplitterWnd(frame);
    auto* left = new wxWindow(splitter, wxID_ANY);
    auto* right = new wxWindow(splitter, wxID_ANY);
    splitter->SplitVertically(left, right, 185);
    splitter->setLimits(120, 100, -1, -1);
    test::showAndWait(frame);
    splitter->SetSashPosition(185);
    pumpEvents();

    wxUIActionSimulator sim;
    const int sashMiddle = splitter->GetSashPosition() + splitter->GetSashSize() / 2;
    const wxPoint grab = splitter->ClientToScreen(wxPoint(sashMiddle, 200));
    sim.MouseMove(grab);
    pumpEvents();
    sim.MouseDown();
    pumpEvents();
    for (int x = sashMiddle - 20; x >= 50; x -= 20) {
        sim.MouseMove(splitter->ClientToScreen(wxPoint(x, 200)));
        pumpEvents();
    }
    sim.MouseMove(splitter->ClientToScreen(wxPoint(50, 200)));
    pumpEvents();
    sim.MouseUp();
    pumpEvents();
    EXPECT_GE(splitter->GetSashPosition(), 120);
    EXPECT_LT(splitter->GetSashPosition(), 185);  // it did move as far as allowed
    frame->Destroy();
}

TEST(SuperSplitter, BarsAreSixPixelsBetweenColumnsAndSevenBetweenRows) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "split", wxPoint(0, 0), wxSize(600, 400));
    auto* columns = new CSuperSplitterWnd(frame);
    auto* rows = new CSuperSplitterWnd(columns);
    auto* left = new wxWindow(columns, wxID_ANY);
    rows->SplitHorizontally(new wxWindow(rows, wxID_ANY), new wxWindow(rows, wxID_ANY), 150);
    columns->SplitVertically(left, rows, 200);
    test::showAndWait(frame);
    EXPECT_EQ(columns->GetSashSize(), 6);
    EXPECT_EQ(rows->GetSashSize(), 7);
    // The panes leave exactly the bar between them.
    EXPECT_TRUE(waitFor([&] { return rows->GetPosition().x == left->GetSize().x + 6; }))
        << left->GetSize().x << " " << rows->GetPosition().x;
    const wxWindow* lower = rows->GetWindow2();
    EXPECT_EQ(lower->GetPosition().y, rows->GetWindow1()->GetSize().y + 7);
    frame->Destroy();
}

TEST(TitleStrip, LongTextEndsInAnEllipsis) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "title", wxPoint(0, 0), wxSize(300, 100));
    auto* title = new CTitle(frame, wxID_ANY, "Folders");
    title->SetSize(0, 0, 120, 16);
    test::showAndWait(frame);
    EXPECT_EQ(title->shownText(), "Folders");
    title->setText("A very long folder name that cannot possibly fit in the strip");
    const wxString shown = title->shownText();
    EXPECT_TRUE(shown.EndsWith(wxString::FromUTF8("\xE2\x80\xA6")) || shown.EndsWith("..."))
        << shown;
    EXPECT_LT(shown.length(), title->text().length());
    frame->Destroy();
}

}  // namespace
}  // namespace tarn
