#pragma once

#include <wx/splitter.h>

#include <functional>

#include "widgets/widget_rules.h"

namespace tarn {

// A splitter that keeps its panes above minimum sizes while its bar is dragged.
class CSuperSplitterWnd : public wxSplitterWindow {
public:
    CSuperSplitterWnd(wxWindow* parent, wxWindowID id = wxID_ANY);

    void setLimits(int minLeft, int minRight, int minTop, int minBottom);
    const SplitterLimits& limits() const { return m_limits; }

    // Called after every resize with the splitter's rectangle in its parent's client
    // coordinates (the frame lays the image and slide views over it).
    void setResizeListener(std::function<void(const wxRect&)> listener);

private:
    void onSashChanging(wxSplitterEvent& event);
    void onSize(wxSizeEvent& event);

    SplitterLimits m_limits;
    std::function<void(const wxRect&)> m_resizeListener;
};

}  // namespace tarn
