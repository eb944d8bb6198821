#pragma once

#include <wx/bitmap.h>
#include <wx/window.h>

#include "widgets/widget_rules.h"

namespace tarn {

// A flat button drawn from pictures (normal, pressed, hover, disabled; any may be absent).
// It never keeps the keyboard focus, and it sends wxEVT_BUTTON with its own identifier to
// its parent only when the left button is released over it.
class CSuperBitmapButton : public wxWindow {
public:
    CSuperBitmapButton(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                       const wxString& name);

    void setPictures(const wxBitmap& normal, const wxBitmap& pressed, const wxBitmap& hover,
                     const wxBitmap& disabled);
    void setActive(bool active);
    bool isActive() const { return m_state.active; }

    // The picture the button shows now.
    ButtonPicture currentPicture() const;

    bool AcceptsFocus() const override { return false; }
    bool AcceptsFocusFromKeyboard() const override { return false; }

private:
    void onPaint(wxPaintEvent& event);
    void onMotion(wxMouseEvent& event);
    void onLeave(wxMouseEvent& event);
    void onLeftDown(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onCaptureLost(wxMouseCaptureLostEvent& event);
    void onSetFocus(wxFocusEvent& event);
    bool pointerInside(const wxPoint& pos) const;

    wxBitmap m_pictures[4];
    ButtonState m_state;
};

}  // namespace tarn
