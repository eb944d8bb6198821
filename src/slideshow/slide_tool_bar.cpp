#include "slideshow/slide_tool_bar.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include <string>

#include "slideshow/slide_layout.h"

namespace tarn {

namespace {

const wxColour kStripGrey(237, 237, 237);
constexpr int kButtonSize = 31;
// The left edges of the two etched lines.
constexpr int kFirstLineX = 66;
constexpr int kSecondLineX = 137;

CSuperBitmapButton* makeButton(wxWindow* parent, const CResourcePictures& pictures, int id, int x,
                               const std::string& name, const char* tooltip, bool hasDisabled) {
    auto* button = new CSuperBitmapButton(parent, id, wxPoint(x, 0),
                                          wxSize(kButtonSize, kButtonSize), wxString(name));
    const std::string stem = "slide " + name;
    button->setPictures(pictures.bitmap(stem + ".png"), pictures.bitmap(stem + " pressed.png"),
                        pictures.bitmap(stem + " hover.png"),
                        hasDisabled ? pictures.bitmap(stem + " disabled.png") : wxBitmap());
    button->SetToolTip(tooltip);
    return button;
}

}  // namespace

CSlideToolBar::CSlideToolBar(wxWindow* parent, const CResourcePictures& pictures)
    : wxWindow(parent, kControlId, wxDefaultPosition, wxSize(kSlideStripWidth, kSlideStripHeight),
               wxBORDER_NONE, "SlideToolBar") {
    SetBackgroundColour(kStripGrey);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_play = makeButton(this, pictures, kPlayId, 0, "play", "Play slide show", true);
    m_pause = makeButton(this, pictures, kPauseId, 32, "pause", "Pause slide show", true);
    m_previous = makeButton(this, pictures, kPreviousId, 71, "previous", "Previous slide", true);
    m_next = makeButton(this, pictures, kNextId, 103, "next", "Next slide", true);
    m_exit = makeButton(this, pictures, kExitId, 142, "exit", "Exit slide show", false);
    Bind(wxEVT_PAINT, &CSlideToolBar::onPaint, this);
    Bind(wxEVT_BUTTON, &CSlideToolBar::onButton, this);
}

void CSlideToolBar::showPlaying(bool playing) {
    m_play->setActive(playing);
    m_pause->setActive(!playing);
    // The strip sits over a slide that may be busy repainting: show the change at once.
    m_play->Update();
    m_pause->Update();
    Refresh();
    Update();
}

CSuperBitmapButton* CSlideToolBar::button(int id) const {
    switch (id) {
        case kPlayId:
            return m_play;
        case kPauseId:
            return m_pause;
        case kPreviousId:
            return m_previous;
        case kNextId:
            return m_next;
        case kExitId:
            return m_exit;
        default:
            return nullptr;
    }
}

void CSlideToolBar::onButton(wxCommandEvent& event) {
    if (m_handler && button(event.GetId()) != nullptr) {
        m_handler(event.GetId());
    }
}

void CSlideToolBar::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(kStripGrey));
    dc.Clear();
    // Etched lines: a shadow and a highlight column, three pixels wide with the gap.
    for (const int x : {kFirstLineX, kSecondLineX}) {
        dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
        dc.DrawLine(x + 1, 2, x + 1, kSlideStripHeight - 2);
        dc.SetPen(wxPen(*wxWHITE));
        dc.DrawLine(x + 2, 2, x + 2, kSlideStripHeight - 2);
    }
}

}  // namespace tarn
