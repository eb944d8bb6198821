#include "frame/super_status_bar.h"

#include <wx/artprov.h>
#include <wx/dcclient.h>
#include <wx/settings.h>

#include <string>

namespace tarn {

CSuperStatusBar::CSuperStatusBar(wxWindow* parent)
    : wxStatusBar(parent, wxID_ANY, wxSTB_DEFAULT_STYLE & ~wxSTB_SIZEGRIP), m_settleTimer(this) {
    SetMinHeight(kStatusBarMinHeight);
    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    m_slider = new wxSlider(this, kSliderId, 0, 0, 100, wxDefaultPosition, wxSize(kSliderWidth, -1),
                            wxSL_HORIZONTAL);
    m_icon = new wxStaticBitmap(
        this, wxID_ANY,
        wxArtProvider::GetBitmap(wxART_FIND, wxART_MENU, wxSize(kIconWidth, kIconWidth)));
    Bind(wxEVT_SIZE, &CSuperStatusBar::onSize, this);
    m_slider->Bind(wxEVT_SCROLL_THUMBTRACK, &CSuperStatusBar::onScroll, this);
    m_slider->Bind(wxEVT_SCROLL_THUMBRELEASE, &CSuperStatusBar::onScroll, this);
    m_slider->Bind(wxEVT_SCROLL_CHANGED, &CSuperStatusBar::onScroll, this);
    m_slider->Bind(wxEVT_SCROLL_LINEUP, &CSuperStatusBar::onScroll, this);
    m_slider->Bind(wxEVT_SCROLL_LINEDOWN, &CSuperStatusBar::onScroll, this);
    m_slider->Bind(wxEVT_SCROLL_PAGEUP, &CSuperStatusBar::onScroll, this);
    m_slider->Bind(wxEVT_SCROLL_PAGEDOWN, &CSuperStatusBar::onScroll, this);
    m_slider->Bind(wxEVT_SLIDER, &CSuperStatusBar::onSlider, this);
    Bind(wxEVT_TIMER, &CSuperStatusBar::onSettleTimer, this, m_settleTimer.GetId());
    placeSlider();
}

void CSuperStatusBar::showPanes(std::vector<PaneText> panes, bool browser) {
    m_panes = std::move(panes);
    m_browser = browser;
    layout();
}

void CSuperStatusBar::layout() {
    if (m_panes.empty()) {
        return;
    }
    wxClientDC dc(this);
    dc.SetFont(GetFont());
    const auto measure = [&dc](std::string_view text) {
        // The pane's border and margins come on top of the text.
        return text.empty() ? 0 : dc.GetTextExtent(wxString::FromUTF8(std::string(text))).x + 8;
    };
    m_layout = layoutPanes(m_panes, GetClientSize().x, m_browser, measure);
    std::vector<int> widths;
    std::vector<int> styles;
    for (const PaneLayout& p : m_layout) {
        widths.push_back(p.stretch ? -1 : p.width);
        styles.push_back(p.border ? wxSB_NORMAL : wxSB_FLAT);
    }
    const int count = static_cast<int>(m_layout.size());
    if (GetFieldsCount() != count) {
        SetFieldsCount(count, widths.data());
    } else {
        SetStatusWidths(count, widths.data());
    }
    SetStatusStyles(count, styles.data());
    for (int i = 0; i < count; ++i) {
        SetStatusText(wxString::FromUTF8(m_layout[static_cast<std::size_t>(i)].text), i);
    }
    // The slider belongs to the browser and the image mode with an image only.
    bool sliderPane = false;
    for (const PaneLayout& p : m_layout) {
        sliderPane = sliderPane || p.id == pane::kSlider;
    }
    m_slider->Show(sliderPane);
    m_icon->Show(sliderPane);
}

void CSuperStatusBar::placeSlider() {
    const wxSize client = GetClientSize();
    m_slider->SetSize(sliderX(client.x), 0, kSliderWidth, client.y);
    const wxSize iconSize = m_icon->GetBestSize();
    m_icon->SetSize(sliderIconX(client.x), std::max(0, (client.y - iconSize.y) / 2), kIconWidth,
                    iconSize.y);
}

void CSuperStatusBar::onSize(wxSizeEvent& event) {
    event.Skip();
    placeSlider();
    layout();
}

void CSuperStatusBar::moveSlider(int position) {
    if (m_slider->GetValue() != position) {
        m_slider->SetValue(position);
    }
}

void CSuperStatusBar::setThumbnailSlider(int size) {
    moveSlider(thumbnailSizeToSlider(size));
}

void CSuperStatusBar::setZoomSlider(double zoom) {
    moveSlider(zoomToSlider(zoom));
}

void CSuperStatusBar::onScroll(wxScrollEvent& event) {
    event.Skip();
    if (event.GetEventType() == wxEVT_SCROLL_THUMBTRACK) {
        m_tracking = true;
        m_settleTimer.StartOnce(kSettleMilliseconds);
    } else {
        m_tracking = false;
    }
}

void CSuperStatusBar::onSlider(wxCommandEvent& event) {
    if (m_onSlider) {
        m_onSlider(event.GetInt());
    }
}

void CSuperStatusBar::onSettleTimer(wxTimerEvent&) {
    m_tracking = false;
    if (m_onSettle) {
        m_onSettle();
    }
}

}  // namespace tarn
