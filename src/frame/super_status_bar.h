#pragma once

#include <wx/slider.h>
#include <wx/statbmp.h>
#include <wx/statusbr.h>
#include <wx/timer.h>

#include <functional>
#include <span>
#include <vector>

#include "frame/status_bar_texts.h"

namespace tarn {

// The bar at the bottom of the frame: text panes laid out by the pane rule, and at its right
// end the slider (thumbnail size in the browser, zoom in the image mode) with a magnifier.
class CSuperStatusBar : public wxStatusBar {
public:
    static constexpr int kSliderId = 157;
    static constexpr int kSettleMilliseconds = 300;

    explicit CSuperStatusBar(wxWindow* parent);

    // Installs the panes of the situation with their texts and lays them out.
    void showPanes(std::vector<PaneText> panes, bool browser);
    // The panes as last laid out (ids, texts, widths).
    const std::vector<PaneLayout>& paneLayout() const { return m_layout; }

    // Slider position of a thumbnail size or a zoom factor; it moves only when it differs.
    void setThumbnailSlider(int size);
    void setZoomSlider(double zoom);
    wxSlider* slider() const { return m_slider; }
    wxStaticBitmap* icon() const { return m_icon; }

    // True while the slider thumb is dragged and has not rested for 300 ms.
    bool tracking() const { return m_tracking; }
    // Called with each new slider position the user chose.
    void setSliderHandler(std::function<void(int position)> handler) {
        m_onSlider = std::move(handler);
    }
    // Called once a drag has rested for 300 ms: the views replace their quick rendering.
    void setSettleHandler(std::function<void()> handler) { m_onSettle = std::move(handler); }

private:
    void layout();
    void placeSlider();
    void moveSlider(int position);
    void onSize(wxSizeEvent& event);
    void onScroll(wxScrollEvent& event);
    void onSlider(wxCommandEvent& event);
    void onSettleTimer(wxTimerEvent& event);

    wxSlider* m_slider = nullptr;
    wxStaticBitmap* m_icon = nullptr;
    wxTimer m_settleTimer;
    bool m_tracking = false;
    bool m_browser = true;
    std::vector<PaneText> m_panes;
    std::vector<PaneLayout> m_layout;
    std::function<void(int)> m_onSlider;
    std::function<void()> m_onSettle;
};

}  // namespace tarn
