#include "dialogs/preview_picture.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

namespace tarn {

CPreviewPicture::CPreviewPicture(wxWindow* parent, const wxPoint& position)
    : wxWindow(parent, wxID_ANY, position, wxSize(2 * kBorder, 2 * kBorder), wxBORDER_NONE) {
    Bind(wxEVT_PAINT, &CPreviewPicture::onPaint, this);
}

void CPreviewPicture::SetBitmap(const wxBitmap& bitmap) {
    m_bitmap = bitmap;
    const wxSize inner = m_bitmap.IsOk() ? m_bitmap.GetSize() : wxSize(0, 0);
    SetSize(inner + wxSize(2 * kBorder, 2 * kBorder));
    Refresh();
}

void CPreviewPicture::onPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (m_bitmap.IsOk()) {
        dc.DrawBitmap(m_bitmap, kBorder, kBorder);
    }
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW), kBorder));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(wxRect(GetClientSize()));
}

}  // namespace tarn
