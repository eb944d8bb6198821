#include "viewer/image_view.h"

#include <wx/dcbuffer.h>

namespace tarn {

CImageView::CImageView(wxWindow* parent)
    : wxWindow(parent, kControlId, wxDefaultPosition, wxDefaultSize,
               wxHSCROLL | wxVSCROLL | wxBORDER_NONE | wxWANTS_CHARS, "ImageView") {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    // Both scroll bars are hidden until an image needs them.
    SetScrollbar(wxHORIZONTAL, 0, 0, 0);
    SetScrollbar(wxVERTICAL, 0, 0, 0);
    Bind(wxEVT_PAINT, &CImageView::onPaint, this);
}

void CImageView::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(wxColour(0x8A, 0x8A, 0x8A)));
    dc.Clear();
}

}  // namespace tarn
