#include "info/image_preview_view.h"

#include <algorithm>

#include "info/exif_info_wnd.h"
#include "info/histogram_wnd.h"

namespace tarn {

namespace {
// Height of the part below the histogram: the EXIF window and a gap above it.
constexpr int kBelowHistogram = 90;
}  // namespace

CImagePreviewView::CImagePreviewView(wxWindow* parent, SettingsStore& settings)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(200, 200), wxBORDER_NONE) {
    SetBackgroundColour(*wxWHITE);
    m_title = new CTitle(this, kTitleId, "Histogram & EXIF Information");
    m_title->SetName("ImagePreviewViewTitle");
    m_histogram = new CHistogramWnd(this, settings);
    m_exif = new CExifInfoWnd(this);
    Bind(wxEVT_SIZE, &CImagePreviewView::onSize, this);
}

void CImagePreviewView::showFile(const std::string& path) {
    m_histogram->setFile(path);
    m_exif->setFile(path);
}

void CImagePreviewView::onSize(wxSizeEvent& event) {
    event.Skip();
    const wxSize client = GetClientSize();
    m_title->SetSize(0, 0, client.x, kTitleHeight);
    m_histogram->SetSize(0, kTitleHeight, client.x, std::max(0, client.y - kBelowHistogram));
    m_exif->SetSize(0, client.y - CExifInfoWnd::kHeight, client.x, CExifInfoWnd::kHeight);
}

}  // namespace tarn
