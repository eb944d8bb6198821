// The colour button and its popup, driven with real mouse moves and key presses.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/colordlg.h>
#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/panel.h>
#include <wx/tooltip.h>
#include <wx/uiaction.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/color_button.h"
#include "ui/screen_grab.h"
#include "ui/window_manager.h"
#include "ui_test_support.h"

namespace tarn {
namespace {

using test::flushEvents;
using test::waitFor;

constexpr wxWindowID kButtonId = 4711;
constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kLavender = makeColorRef(230, 230, 250);
constexpr ColorRef kLightBlue = makeColorRef(125, 158, 192);
constexpr ColorRef kOffPalette = makeColorRef(1, 2, 3);

struct Notice {
    std::string what;
    ColorRef colour;
    bool operator==(const Notice&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Notice& notice) {
    return out << notice.what << '(' << std::hex << notice.colour << std::dec << ')';
}

class ColorButtonTest : public testing::Test {
protected:
    // The keyboard stays with the dialog while the popup holds the mouse only where a window
    // manager gives the focus; bare Xvfb moves it with the pointer.
    static void SetUpTestSuite() { s_windowManager = std::make_unique<test::WindowManager>(); }
    static void TearDownTestSuite() { s_windowManager.reset(); }

    void SetUp() override { build(wxPoint(100, 100)); }

    void TearDown() override {
        if (m_frame != nullptr) {
            m_frame->Destroy();
            flushEvents();
        }
    }

    // The button in a frame of its own, at this place on the screen; in a dialog, wherever the
    // window manager puts it.
    void build(const wxPoint& buttonOnScreen, bool inDialog = false) {
        if (m_frame != nullptr) {
            m_frame->Destroy();
            flushEvents();
        }
        const wxPoint at = buttonOnScreen - wxPoint(10, 10);
        if (inDialog) {
            m_frame = new wxDialog(nullptr, wxID_ANY, "Colour button", at, wxSize(200, 60));
        } else {
            m_frame = new wxFrame(nullptr, wxID_ANY, "Colour button", at, wxSize(120, 60),
                                  wxFRAME_NO_TASKBAR | wxBORDER_NONE);
        }
        auto* panel = new wxPanel(m_frame);
        m_button = new CColorButton(panel, kButtonId, kWhite, wxPoint(10, 10), wxSize(70, 30));
        if (inDialog) {
            // What Escape presses when the popup is not open.
            new wxButton(panel, wxID_CANCEL, "Cancel", wxPoint(90, 10));
        }
        for (const auto& [type, name] :
             {std::pair{EVT_COLOR_CHANGING, "changing"}, std::pair{EVT_COLOR_POPUP_OPEN, "open"},
              std::pair{EVT_COLOR_POPUP_CLOSED, "closed"}, std::pair{EVT_COLOR_CHOSEN, "chosen"},
              std::pair{EVT_COLOR_CANCELLED, "cancelled"}}) {
            panel->Bind(type, [this, what = std::string(name)](wxCommandEvent& event) {
                EXPECT_EQ(event.GetId(), kButtonId) << what;
                m_notices.push_back({what, static_cast<ColorRef>(event.GetExtraLong())});
            });
        }
        m_notices.clear();
        m_frame->Show();
        ASSERT_TRUE(waitFor([&] { return m_button->IsShownOnScreen(); }, 3000));
        ASSERT_TRUE(inDialog ||
                    waitFor([&] { return m_button->GetScreenPosition() == buttonOnScreen; }, 3000));
        m_frame->Raise();
        ASSERT_TRUE(waitFor([&] { return m_frame->IsActive(); }, 3000));
    }

    // Clicks the button and waits for its popup.
    CColorPopup* openByClick() {
        wxUIActionSimulator sim;
        sim.MouseMove(m_button->GetScreenRect().GetPosition() + wxPoint(20, 15));
        flushEvents();
        m_notices.clear();
        sim.MouseClick();
        return waitOpen();
    }

    // Waits for the popup on screen; the parent heard of it with the button's colour.
    CColorPopup* waitOpen() {
        EXPECT_TRUE(waitFor([&] { return m_button->popup() != nullptr; }, 3000));
        CColorPopup* popup = m_button->popup();
        if (popup != nullptr) {
            EXPECT_TRUE(waitFor([&] { return popup->IsShownOnScreen(); }, 3000));
            flushEvents();
        }
        EXPECT_EQ(m_notices, (std::vector<Notice>{{"open", m_button->colour()}}));
        m_notices.clear();
        return popup;
    }

    // A key press with the pointer over the button, where the keyboard is.
    void press(int key) {
        wxUIActionSimulator sim;
        sim.Char(key);
        flushEvents();
    }

    bool waitClosed() {
        return waitFor([&] { return !m_button->isPopupActive(); }, 3000);
    }

    wxPoint cellOnScreen(CColorPopup* popup, int index) {
        const PopupRect cell = index >= 0                 ? popup->layout().cell(index)
                               : index == kAutomaticEntry ? popup->layout().automaticEntry
                                                          : popup->layout().moreColorsEntry;
        return popup->ClientToScreen(wxPoint(cell.x + cell.width / 2, cell.y + cell.height / 2));
    }

    void hover(CColorPopup* popup, int index) {
        wxUIActionSimulator sim;
        sim.MouseMove(cellOnScreen(popup, index));
        EXPECT_TRUE(waitFor([&] { return popup->hoveredIndex() == index; }, 3000)) << index;
    }

    static std::unique_ptr<test::WindowManager> s_windowManager;
    wxTopLevelWindow* m_frame = nullptr;
    CColorButton* m_button = nullptr;
    std::vector<Notice> m_notices;
};

std::unique_ptr<test::WindowManager> ColorButtonTest::s_windowManager;

TEST_F(ColorButtonTest, OpensWithTheEntryOfItsColourMarkedAndEscapeCancels) {
    CColorPopup* popup = openByClick();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->chosenIndex(), 39);  // White, the last cell
    EXPECT_EQ(popup->hoveredIndex(), kNoEntry);
    press(WXK_ESCAPE);
    ASSERT_TRUE(waitClosed());
    EXPECT_EQ(m_button->colour(), kWhite);
    EXPECT_EQ(m_notices, (std::vector<Notice>{{"closed", kWhite}, {"cancelled", kWhite}}));

    m_button->setColour(kOffPalette);
    popup = openByClick();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->chosenIndex(), kMoreColorsEntry);
    press(WXK_ESCAPE);
    ASSERT_TRUE(waitClosed());
    EXPECT_EQ(m_button->colour(), kOffPalette);

    m_button->setColour(kAutomaticColor);
    popup = openByClick();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->chosenIndex(), kAutomaticEntry);
    press(WXK_ESCAPE);
    ASSERT_TRUE(waitClosed());

    // Without the text entries the same colours mark nothing.
    m_button->setDefaultText("");
    m_button->setCustomText("");
    popup = openByClick();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->chosenIndex(), kNoEntry);
    EXPECT_TRUE(popup->layout().automaticEntry.empty());
    EXPECT_EQ(popup->GetClientSize().GetHeight(), popup->layout().window.height);
    press(WXK_ESCAPE);
    ASSERT_TRUE(waitClosed());
}

TEST_F(ColorButtonTest, EscapeInADialogClosesThePopupOnly) {
    build(wxPoint(100, 100), true);
    CColorPopup* popup = openByClick();
    ASSERT_NE(popup, nullptr);
    press(WXK_ESCAPE);
    ASSERT_TRUE(waitClosed());
    EXPECT_EQ(m_notices, (std::vector<Notice>{{"closed", kWhite}, {"cancelled", kWhite}}));
    EXPECT_TRUE(m_frame->IsShown());
    // With the popup closed, Escape is the dialog's again.
    press(WXK_ESCAPE);
    EXPECT_TRUE(waitFor([&] { return !m_frame->IsShown(); }, 3000));
}

TEST_F(ColorButtonTest, ChoosingTheSameColourSendsNoChangingAfterwards) {
    CColorPopup* popup = openByClick();
    ASSERT_NE(popup, nullptr);
    press(WXK_LEFT);  // from the chosen White to Lavender
    press(WXK_RIGHT);
    EXPECT_EQ(popup->hoveredIndex(), 39);
    press(WXK_RETURN);
    ASSERT_TRUE(waitClosed());
    EXPECT_EQ(m_notices, (std::vector<Notice>{{"changing", kLavender},
                                              {"changing", kWhite},
                                              {"closed", kWhite},
                                              {"chosen", kWhite}}));

    popup = openByClick();
    ASSERT_NE(popup, nullptr);
    press(WXK_LEFT);
    press(WXK_SPACE);
    ASSERT_TRUE(waitClosed());
    EXPECT_EQ(m_button->colour(), kLavender);
    EXPECT_EQ(m_notices, (std::vector<Notice>{{"changing", kLavender},
                                              {"closed", kLavender},
                                              {"chosen", kLavender},
                                              {"changing", kLavender}}));
}

TEST_F(ColorButtonTest, SpaceOpensAndArrowKeysWalkTheGridAndTheTwoEntries) {
    m_button->setColour(kAutomaticColor);
    wxUIActionSimulator sim;
    sim.MouseMove(m_button->GetScreenRect().GetPosition() + wxPoint(20, 15));
    m_button->SetFocus();
    ASSERT_TRUE(waitFor([&] { return m_button->HasFocus(); }, 3000));
    m_notices.clear();
    press(WXK_SPACE);
    CColorPopup* popup = waitOpen();
    ASSERT_NE(popup, nullptr);
    const std::vector<std::pair<int, int>> walk{{WXK_DOWN, 0},
                                                {WXK_RIGHT, 1},
                                                {WXK_DOWN, 9},
                                                {WXK_LEFT, 8},
                                                {WXK_LEFT, 7},
                                                {WXK_UP, kAutomaticEntry},
                                                {WXK_UP, kMoreColorsEntry},
                                                {WXK_UP, 32},
                                                {WXK_DOWN, kMoreColorsEntry},
                                                {WXK_DOWN, kAutomaticEntry},
                                                {WXK_LEFT, kMoreColorsEntry},
                                                {WXK_LEFT, 39}};
    for (const auto& [key, expected] : walk) {
        press(key);
        EXPECT_EQ(popup->hoveredIndex(), expected) << "key " << key;
    }
    // Each move told the parent the colour under the keyboard; the button kept its own.
    ASSERT_EQ(m_notices.size(), walk.size());
    EXPECT_EQ(m_notices[5], (Notice{"changing", kAutomaticColor}));
    EXPECT_EQ(m_notices[6], (Notice{"changing", kAutomaticColor}));  // the initial colour
    EXPECT_EQ(m_button->colour(), kAutomaticColor);
    m_notices.clear();
    press(WXK_RETURN);
    ASSERT_TRUE(waitClosed());
    EXPECT_EQ(m_button->colour(), kWhite);
    EXPECT_EQ(m_notices,
              (std::vector<Notice>{{"closed", kWhite}, {"chosen", kWhite}, {"changing", kWhite}}));
}

TEST_F(ColorButtonTest, HoverTellsTheColourAndATrackingButtonFollowsIt) {
    CColorPopup* popup = openByClick();
    ASSERT_NE(popup, nullptr);
    hover(popup, 21);
    EXPECT_EQ(m_notices, (std::vector<Notice>{{"changing", kLightBlue}}));
    ASSERT_NE(popup->GetToolTip(), nullptr);
    EXPECT_EQ(popup->GetToolTipText(), "Light blue");
    EXPECT_EQ(m_button->colour(), kWhite);
    hover(popup, 35);
    EXPECT_EQ(popup->GetToolTipText(), "Pale green ");
    // Released outside the popup: cancelled, the colour stays.
    wxUIActionSimulator sim;
    sim.MouseMove(popup->GetScreenRect().GetBottomRight() + wxPoint(40, 40));
    flushEvents();
    m_notices.clear();
    sim.MouseClick();
    ASSERT_TRUE(waitClosed());
    EXPECT_EQ(m_notices, (std::vector<Notice>{{"closed", kWhite}, {"cancelled", kWhite}}));
    EXPECT_EQ(m_button->colour(), kWhite);

    m_button->setTrackSelection(true);
    popup = openByClick();
    ASSERT_NE(popup, nullptr);
    hover(popup, 21);
    EXPECT_EQ(m_button->colour(), kLightBlue);
    hover(popup, kAutomaticEntry);
    EXPECT_EQ(m_button->colour(), kAutomaticColor);
    hover(popup, 21);
    m_notices.clear();
    sim.MouseClick();  // released on the hovered cell
    ASSERT_TRUE(waitClosed());
    EXPECT_EQ(m_button->colour(), kLightBlue);
    EXPECT_EQ(m_notices,
              (std::vector<Notice>{
                  {"closed", kLightBlue}, {"chosen", kLightBlue}, {"changing", kLightBlue}}));

    // A cancelled tracking popup puts the colour from before back.
    popup = openByClick();
    ASSERT_NE(popup, nullptr);
    hover(popup, 0);
    EXPECT_EQ(m_button->colour(), 0u);
    press(WXK_ESCAPE);
    ASSERT_TRUE(waitClosed());
    EXPECT_EQ(m_button->colour(), kLightBlue);
}

TEST_F(ColorButtonTest, MoreColorsAsksTheDialogStartingAtTheColour) {
    std::vector<ColorRef> asked;
    std::optional<ColorRef> answer = makeColorRef(10, 20, 30);
    m_button->setColourDialog([&](wxWindow*, ColorRef initial) {
        asked.push_back(initial);
        return answer;
    });
    m_button->setColour(kOffPalette);
    CColorPopup* popup = openByClick();
    ASSERT_NE(popup, nullptr);
    hover(popup, kMoreColorsEntry);
    wxUIActionSimulator sim;
    m_notices.clear();
    sim.MouseClick();
    ASSERT_TRUE(waitClosed());
    EXPECT_EQ(asked, std::vector<ColorRef>{kOffPalette});
    EXPECT_EQ(m_button->colour(), makeColorRef(10, 20, 30));
    EXPECT_EQ(m_notices, (std::vector<Notice>{{"closed", makeColorRef(10, 20, 30)},
                                              {"chosen", makeColorRef(10, 20, 30)},
                                              {"changing", makeColorRef(10, 20, 30)}}));

    // Cancelled in the dialog: the choice is cancelled, by keyboard this time.
    answer.reset();
    popup = openByClick();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->chosenIndex(), kMoreColorsEntry);
    press(WXK_RIGHT);  // from More Colors... around to Automatic
    press(WXK_LEFT);
    EXPECT_EQ(popup->hoveredIndex(), kMoreColorsEntry);
    m_notices.clear();
    press(WXK_RETURN);
    ASSERT_TRUE(waitClosed());
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(m_button->colour(), makeColorRef(10, 20, 30));
    EXPECT_EQ(m_notices, (std::vector<Notice>{{"closed", makeColorRef(10, 20, 30)},
                                              {"cancelled", makeColorRef(10, 20, 30)}}));
}

// Answers the colour dialog without showing it and keeps what it was asked.
class ColourDialogAnswer : public wxModalDialogHook {
public:
    explicit ColourDialogAnswer(int answer) : m_answer(answer) { Register(); }
    ~ColourDialogAnswer() override { Unregister(); }
    std::vector<wxColourData> asked;

protected:
    int Enter(wxDialog* dialog) override {
        if (auto* colours = dynamic_cast<wxColourDialog*>(dialog)) {
            asked.push_back(colours->GetColourData());
            return m_answer;
        }
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}

private:
    int m_answer;
};

TEST_F(ColorButtonTest, TheToolkitsColourDialogOpensFullAtTheColour) {
    {
        ColourDialogAnswer ok(wxID_OK);
        EXPECT_EQ(runColourDialog(m_frame, makeColorRef(10, 20, 30)), makeColorRef(10, 20, 30));
        ASSERT_EQ(ok.asked.size(), 1u);
        EXPECT_TRUE(ok.asked[0].GetChooseFull());
        EXPECT_EQ(ok.asked[0].GetColour(), wxColour(10, 20, 30));
    }
    ColourDialogAnswer cancel(wxID_CANCEL);
    EXPECT_EQ(runColourDialog(m_frame, kWhite), std::nullopt);
    EXPECT_EQ(cancel.asked.size(), 1u);
}

TEST_F(ColorButtonTest, PopupStaysOnTheScreen) {
    const wxRect screen = wxDisplay(0u).GetClientArea();
    build(wxPoint(200, screen.GetBottom() - 50));
    CColorPopup* popup = openByClick();
    ASSERT_NE(popup, nullptr);
    wxRect placed = popup->GetScreenRect();
    EXPECT_EQ(placed.GetBottom() + 1, m_button->GetScreenRect().GetTop());
    EXPECT_EQ(placed.GetLeft(), 200);
    press(WXK_ESCAPE);
    ASSERT_TRUE(waitClosed());

    build(wxPoint(screen.GetRight() - 110, 100));
    popup = openByClick();
    ASSERT_NE(popup, nullptr);
    placed = popup->GetScreenRect();
    EXPECT_EQ(placed.GetRight(), screen.GetRight());
    EXPECT_EQ(placed.GetTop(), m_button->GetScreenRect().GetBottom() + 1);
    press(WXK_ESCAPE);
    ASSERT_TRUE(waitClosed());
}

TEST_F(ColorButtonTest, LeavingTheApplicationCancels) {
    CColorPopup* popup = openByClick();
    ASSERT_NE(popup, nullptr);
    hover(popup, 3);
    m_notices.clear();
    wxActivateEvent deactivated(wxEVT_ACTIVATE_APP, false);
    wxTheApp->ProcessEvent(deactivated);
    ASSERT_TRUE(waitClosed());
    EXPECT_EQ(m_notices, (std::vector<Notice>{{"closed", kWhite}, {"cancelled", kWhite}}));
}

// How many pixels of a colour a picture holds.
int countColour(const wxImage& image, ColorRef colour) {
    int count = 0;
    const unsigned char* rgb = image.GetData();
    for (int i = 0; i < image.GetWidth() * image.GetHeight(); ++i, rgb += 3) {
        count += rgb[0] == redOf(colour) && rgb[1] == greenOf(colour) && rgb[2] == blueOf(colour);
    }
    return count;
}

TEST_F(ColorButtonTest, ShowsItsColourOnlyWhileEnabled) {
    const ColorRef red = makeColorRef(255, 0, 0);
    m_button->setColour(red);
    wxImage shown = test::grabClientArea(m_button);
    ASSERT_TRUE(shown.IsOk());
    EXPECT_GT(countColour(shown, red), 200);
    m_button->setColour(kAutomaticColor);
    m_button->setDefaultColour(makeColorRef(0, 200, 0));
    shown = test::grabClientArea(m_button);
    EXPECT_EQ(countColour(shown, red), 0);
    EXPECT_GT(countColour(shown, makeColorRef(0, 200, 0)), 200);
    m_button->Disable();
    shown = test::grabClientArea(m_button);
    EXPECT_EQ(countColour(shown, makeColorRef(0, 200, 0)), 0);
}

}  // namespace
}  // namespace tarn
