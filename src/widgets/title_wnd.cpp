#include "widgets/title_wnd.h"

#include <wx/control.h>
#include <wx/dcbuffer.h>

namespace tarn {

namespace {
constexpr int kTextLeft = 5;
const wxColour kTitleBlue(54, 106, 179);
}  // namespace

CTitle::CTitle(wxWindow* parent, wxWindowID id, const wxString& text)
    : wxWindow(parent, id, wxDefaultPosition, wxSize(-1, 16),
               wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
      m_text(text) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);  // never erased separately
    Bind(wxEVT_PAINT, &CTitle::onPaint, this);
}

void CTitle::setText(const wxString& text) {
    m_text = text;
    Refresh();
}

wxFont CTitle::titleFont() const {
    return wxFont(wxFontInfo(8.5).FaceName("Tahoma").Family(wxFONTFAMILY_SWISS));
}

wxString CTitle::shownText() const {
    wxClientDC dc(const_cast<CTitle*>(this));
    dc.SetFont(titleFont());
    return wxControl::Ellipsize(m_text, dc, wxELLIPSIZE_END,
                                std::max(0, GetClientSize().x - kTextLeft), wxELLIPSIZE_FLAGS_NONE);
}

void CTitle::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.SetBrush(wxBrush(kTitleBlue));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(0, 0, size.x, size.y);
    dc.SetFont(titleFont());
    dc.SetTextForeground(*wxWHITE);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const wxString shown = shownText();
    const int y = (size.y - dc.GetCharHeight()) / 2;
    dc.DrawText(shown, kTextLeft, y);
}

}  // namespace tarn
