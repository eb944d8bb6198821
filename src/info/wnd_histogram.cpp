#include "info/wnd_histogram.h"

#include <wx/dcclient.h>

#include "imaging/image_draw.h"

namespace tarn {

CWndHistogram::CWndHistogram(wxWindow* parent)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE) {
    SetName("HistogramClient");
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CWndHistogram::onPaint, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        Refresh(false);
    });
}

void CWndHistogram::setImage(const fipSuperImage* image) {
    m_image = image;
    reset();
}

void CWndHistogram::reset() {
    m_computed = {};
    m_bins = {};
    m_maximum = 0;
    if (IsShownOnScreen()) {
        Refresh(false);
    }
}

void CWndHistogram::setShown(HistogramChannel channel, bool shown) {
    m_shown[channel] = shown;
    Refresh(false);
}

void CWndHistogram::computeShownChannels() {
    if (m_image == nullptr || !m_image->isValid()) {
        return;
    }
    ChannelFlags wanted{};
    bool any = false;
    for (int channel = 0; channel < kHistogramChannelCount; ++channel) {
        wanted[channel] = m_shown[channel] && !m_computed[channel];
        any = any || wanted[channel];
    }
    if (!any) {
        return;
    }
    // An image the histogram cannot read leaves its channels empty, and computed all the same.
    // The library's reads take a non-const bitmap; nothing is written.
    computeHistograms(static_cast<FIBITMAP*>(*const_cast<fipSuperImage*>(m_image)), wanted, m_bins);
    for (int channel = 0; channel < kHistogramChannelCount; ++channel) {
        m_computed[channel] = m_computed[channel] || wanted[channel];
    }
    m_maximum = clipCommonly(m_bins, m_computed);
}

RgbPicture CWndHistogram::picture() {
    computeShownChannels();
    ChannelFlags drawn{};
    for (int channel = 0; channel < kHistogramChannelCount; ++channel) {
        drawn[channel] = m_shown[channel] && m_computed[channel];
    }
    const wxSize size = GetClientSize();
    return drawEditorHistogram(m_bins, m_maximum, drawn, size.x, size.y);
}

void CWndHistogram::onPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    drawRgbPicture(dc, picture(), 0, 0);
}

}  // namespace tarn
