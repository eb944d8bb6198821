#pragma once

#include <wx/colour.h>
#include <wx/font.h>
#include <wx/popupwin.h>

#include <functional>
#include <optional>
#include <string>

#include "dialogs/color_palette.h"

namespace tarn {

inline wxColour toWxColour(ColorRef colour) {
    return wxColour(redOf(colour), greenOf(colour), blueOf(colour));
}

// Asks for any colour in the toolkit's full colour dialog, starting at the given one; nothing
// when the user cancels.
using ColourDialogRunner = std::function<std::optional<ColorRef>(wxWindow* parent, ColorRef)>;
std::optional<ColorRef> runColourDialog(wxWindow* parent, ColorRef initial);

// What the popup tells its button, each at most once per change; after chosen or cancelled the
// popup has let the mouse go and destroys itself.
struct ColorPopupReports {
    std::function<void(ColorRef)> changing;
    std::function<void(ColorRef)> chosen;
    std::function<void(ColorRef)> cancelled;  // with the initial colour
};

// The borderless grid of named colours under a colour button. It holds the mouse while open:
// a release inside chooses, outside cancels.
class CColorPopup : public wxPopupWindow {
public:
    // Empty texts hide their entries.
    CColorPopup(wxWindow* button, ColorRef initial, const std::string& defaultText,
                const std::string& customText, ColorPopupReports reports,
                ColourDialogRunner colourDialog);
    ~CColorPopup() override;

    // Shows the popup at the button and takes the mouse.
    void open();

    int chosenIndex() const { return m_chosen; }
    int hoveredIndex() const { return m_hovered; }
    const PopupLayout& layout() const { return m_layout; }
    bool finished() const { return m_finished; }

    // Keys come here from the popup itself or from the button, which keeps the keyboard.
    // Whether the key was the popup's.
    bool handleKey(int keyCode);

private:
    void onPaint(wxPaintEvent& event);
    void onMotion(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onKeyDown(wxKeyEvent& event);
    void onCaptureLost(wxMouseCaptureLostEvent& event);
    void onAppActivate(wxActivateEvent& event);
    void onSysColourChanged(wxSysColourChangedEvent& event);

    void setHovered(int index);
    void choose(int index);
    void finish(std::optional<ColorRef> chosen);
    void drawEntryFrame(wxDC& dc, const PopupRect& rect, int index) const;
    void drawCell(wxDC& dc, int index) const;
    void drawTextEntry(wxDC& dc, const PopupRect& rect, const wxString& text, int index) const;

    wxWindow* m_button;
    const ColorRef m_initial;
    const wxString m_defaultText;
    const wxString m_customText;
    ColorPopupReports m_reports;
    ColourDialogRunner m_colourDialog;
    wxFont m_font;
    PopupLayout m_layout;
    int m_chosen = kNoEntry;
    int m_hovered = kNoEntry;
    bool m_inDialog = false;
    bool m_finished = false;
};

}  // namespace tarn
