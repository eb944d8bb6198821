#include "slideshow/slide_view.h"

namespace tarn {

CSlideView::CSlideView(wxWindow* parent)
    : wxWindow(parent, kControlId, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxWANTS_CHARS,
               "SlideView") {
    SetBackgroundColour(*wxBLACK);
}

}  // namespace tarn
