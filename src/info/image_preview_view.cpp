#include "info/image_preview_view.h"

namespace tarn {

CImagePreviewView::CImagePreviewView(wxWindow* parent)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(200, 200), wxBORDER_NONE) {
    SetBackgroundColour(*wxWHITE);
    m_title = new CTitle(this, kTitleId, "Histogram & EXIF Information");
    m_title->SetName("ImagePreviewViewTitle");
    Bind(wxEVT_SIZE, &CImagePreviewView::onSize, this);
}

void CImagePreviewView::onSize(wxSizeEvent& event) {
    event.Skip();
    m_title->SetSize(0, 0, GetClientSize().x, 16);
}

}  // namespace tarn
