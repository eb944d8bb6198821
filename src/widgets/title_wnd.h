#pragma once

#include <wx/window.h>

namespace tarn {

// A blue strip with one line of white text, cut with an ellipsis when too long.
class CTitle : public wxWindow {
public:
    CTitle(wxWindow* parent, wxWindowID id = wxID_ANY, const wxString& text = wxString());

    void setText(const wxString& text);
    const wxString& text() const { return m_text; }
    // The text as drawn in the current width.
    wxString shownText() const;

private:
    void onPaint(wxPaintEvent& event);
    wxFont titleFont() const;

    wxString m_text;
};

}  // namespace tarn
