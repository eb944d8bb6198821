#pragma once

#include <wx/control.h>
#include <wx/event.h>

#include <string>

#include "dialogs/color_palette.h"
#include "dialogs/color_popup.h"

namespace tarn {

// Sent synchronously to the button's parent, the button's id as the event id and the colour
// in event.GetExtraLong().
wxDECLARE_EVENT(EVT_COLOR_CHANGING, wxCommandEvent);
wxDECLARE_EVENT(EVT_COLOR_POPUP_OPEN, wxCommandEvent);
wxDECLARE_EVENT(EVT_COLOR_POPUP_CLOSED, wxCommandEvent);
wxDECLARE_EVENT(EVT_COLOR_CHOSEN, wxCommandEvent);
wxDECLARE_EVENT(EVT_COLOR_CANCELLED, wxCommandEvent);  // with the colour from before

// A push button showing a colour swatch and a drop-down arrow; a click opens the popup grid
// of named colours below it. A choice sends popup-closed, chosen, then changing when the
// colour is new; a cancellation popup-closed then cancelled.
class CColorButton : public wxControl {
public:
    CColorButton(wxWindow* parent, wxWindowID id, ColorRef colour = kAutomaticColor,
                 const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);

    ColorRef colour() const { return m_colour; }
    void setColour(ColorRef colour);  // redraws

    // Shown while the colour is automatic.
    ColorRef defaultColour() const { return m_defaultColour; }
    void setDefaultColour(ColorRef colour);

    // Empty texts hide the "Automatic" and "More Colors..." entries.
    void setDefaultText(const std::string& text) { m_defaultText = text; }
    void setCustomText(const std::string& text) { m_customText = text; }

    // When on, the button shows the colour under the mouse while the popup is open.
    void setTrackSelection(bool track) { m_trackSelection = track; }
    bool trackSelection() const { return m_trackSelection; }

    // Replaces the toolkit's colour dialog behind "More Colors...".
    void setColourDialog(ColourDialogRunner runner) { m_colourDialog = std::move(runner); }

    // Opens the popup as a click does; nothing when it is open already.
    void openPopup();
    bool isPopupActive() const { return m_popup != nullptr; }
    // The open popup, else null.
    CColorPopup* popup() const { return m_popup; }

protected:
    wxSize DoGetBestSize() const override;

private:
    void onPaint(wxPaintEvent& event);
    void onLeftDown(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onCaptureLost(wxMouseCaptureLostEvent& event);
    void onKeyDown(wxKeyEvent& event);
    void onFocusChange(wxFocusEvent& event);

    void popupChanging(ColorRef colour);
    void popupChosen(ColorRef colour);
    void popupCancelled(ColorRef initial);
    void notifyParent(const wxEventType& type, ColorRef colour);

    ColorRef m_colour;
    ColorRef m_defaultColour;
    ColorRef m_colourAtOpen = kAutomaticColor;
    std::string m_defaultText = "Automatic";
    std::string m_customText = "More Colors...";
    bool m_trackSelection = false;
    bool m_pressed = false;
    CColorPopup* m_popup = nullptr;  // a child window, owned by the toolkit
    ColourDialogRunner m_colourDialog;
};

}  // namespace tarn
