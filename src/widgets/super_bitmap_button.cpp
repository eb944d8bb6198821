#include "widgets/super_bitmap_button.h"

#include <wx/app.h>
#include <wx/dcbuffer.h>

namespace tarn {

CSuperBitmapButton::CSuperBitmapButton(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                       const wxSize& size, const wxString& name)
    : wxWindow(parent, id, pos, size, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE, name) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CSuperBitmapButton::onPaint, this);
    Bind(wxEVT_MOTION, &CSuperBitmapButton::onMotion, this);
    Bind(wxEVT_ENTER_WINDOW, &CSuperBitmapButton::onMotion, this);
    Bind(wxEVT_LEAVE_WINDOW, &CSuperBitmapButton::onLeave, this);
    Bind(wxEVT_LEFT_DOWN, &CSuperBitmapButton::onLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CSuperBitmapButton::onLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CSuperBitmapButton::onLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CSuperBitmapButton::onCaptureLost, this);
    Bind(wxEVT_SET_FOCUS, &CSuperBitmapButton::onSetFocus, this);
}

void CSuperBitmapButton::setPictures(const wxBitmap& normal, const wxBitmap& pressed,
                                     const wxBitmap& hover, const wxBitmap& disabled) {
    m_pictures[static_cast<int>(ButtonPicture::Normal)] = normal;
    m_pictures[static_cast<int>(ButtonPicture::Pressed)] = pressed;
    m_pictures[static_cast<int>(ButtonPicture::Hover)] = hover;
    m_pictures[static_cast<int>(ButtonPicture::Disabled)] = disabled;
    Refresh();
}

void CSuperBitmapButton::setActive(bool active) {
    m_state.active = active;
    Refresh();
}

ButtonPicture CSuperBitmapButton::currentPicture() const {
    ButtonState state = m_state;
    state.enabled = IsThisEnabled();
    const ButtonPictures have{m_pictures[static_cast<int>(ButtonPicture::Pressed)].IsOk(),
                              m_pictures[static_cast<int>(ButtonPicture::Hover)].IsOk(),
                              m_pictures[static_cast<int>(ButtonPicture::Disabled)].IsOk()};
    return chooseButtonPicture(state, have);
}

bool CSuperBitmapButton::pointerInside(const wxPoint& pos) const {
    return wxRect(GetClientSize()).Contains(pos);
}

void CSuperBitmapButton::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
    dc.Clear();
    const wxBitmap& picture = m_pictures[static_cast<int>(currentPicture())];
    if (picture.IsOk()) {
        dc.DrawBitmap(picture, 0, 0, true);
    }
}

void CSuperBitmapButton::onMotion(wxMouseEvent& event) {
    const bool inside = pointerInside(event.GetPosition());
    if (inside != m_state.hover) {
        m_state.hover = inside;
        Refresh();
    }
}

void CSuperBitmapButton::onLeave(wxMouseEvent&) {
    if (m_state.hover) {
        m_state.hover = false;
        Refresh();
    }
}

void CSuperBitmapButton::onLeftDown(wxMouseEvent& event) {
    m_state.pressed = true;
    m_state.hover = pointerInside(event.GetPosition());
    if (!HasCapture()) {
        CaptureMouse();
    }
    Refresh();
}

void CSuperBitmapButton::onLeftUp(wxMouseEvent& event) {
    if (!m_state.pressed) {
        return;
    }
    m_state.pressed = false;
    if (HasCapture()) {
        ReleaseMouse();
    }
    Refresh();
    if (pointerInside(event.GetPosition())) {
        wxCommandEvent command(wxEVT_BUTTON, GetId());
        command.SetEventObject(this);
        GetParent()->GetEventHandler()->ProcessEvent(command);
    }
}

void CSuperBitmapButton::onCaptureLost(wxMouseCaptureLostEvent&) {
    m_state.pressed = false;
    Refresh();
}

void CSuperBitmapButton::onSetFocus(wxFocusEvent& event) {
    // The focus goes straight back to where it came from, else to the main window.
    wxWindow* back = event.GetWindow();
    if (back == nullptr || back == this) {
        back = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
    }
    if (back != nullptr && back != this) {
        back->SetFocus();
    }
}

}  // namespace tarn
