#include "info/image_preview_view.h"

#include "info/exif_info_wnd.h"

namespace tarn {

CImagePreviewView::CImagePreviewView(wxWindow* parent)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(200, 200), wxBORDER_NONE) {
    SetBackgroundColour(*wxWHITE);
    m_title = new CTitle(this, kTitleId, "Histogram & EXIF Information");
    m_title->SetName("ImagePreviewViewTitle");
    m_exif = new CExifInfoWnd(this);
    Bind(wxEVT_SIZE, &CImagePreviewView::onSize, this);
}

void CImagePreviewView::showFile(const std::string& path) {
    m_exif->setFile(path);
}

void CImagePreviewView::onSize(wxSizeEvent& event) {
    event.Skip();
    const wxSize client = GetClientSize();
    m_title->SetSize(0, 0, client.x, kTitleHeight);
    m_exif->SetSize(0, client.y - CExifInfoWnd::kHeight, client.x, CExifInfoWnd::kHeight);
}

}  // namespace tarn
