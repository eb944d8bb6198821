#include "widgets/super_splitter_wnd.h"

namespace tarn {

CSuperSplitterWnd::CSuperSplitterWnd(wxWindow* parent, wxWindowID id)
    : wxSplitterWindow(parent, id, wxDefaultPosition, wxDefaultSize,
                       wxSP_LIVE_UPDATE | wxSP_NOBORDER | wxSP_3DSASH) {
    // Panes keep their sizes when the splitter grows; the frame adjusts them itself.
    SetSashGravity(0.0);
    Bind(wxEVT_SPLITTER_SASH_POS_CHANGING, &CSuperSplitterWnd::onSashChanging, this);
    Bind(wxEVT_SPLITTER_DOUBLECLICKED, [](wxSplitterEvent& e) { e.Veto(); });
    Bind(wxEVT_SIZE, &CSuperSplitterWnd::onSize, this);
}

void CSuperSplitterWnd::setLimits(int minLeft, int minRight, int minTop, int minBottom) {
    m_limits = {minLeft, minRight, minTop, minBottom};
}

void CSuperSplitterWnd::setResizeListener(std::function<void(const wxRect&)> listener) {
    m_resizeListener = std::move(listener);
}

void CSuperSplitterWnd::onSashChanging(wxSplitterEvent& event) {
    // A move past a limit is ignored: the bar stays where it last was allowed.
    const wxSize client = GetClientSize();
    const int pos = event.GetSashPosition();
    const bool columns = GetSplitMode() == wxSPLIT_VERTICAL;
    if (!splitterDragAllowed(m_limits, columns ? pos : 0, columns ? 0 : pos, client.x, client.y)) {
        event.SetSashPosition(-1);
    }
}

void CSuperSplitterWnd::onSize(wxSizeEvent& event) {
    event.Skip();
    if (m_resizeListener) {
        m_resizeListener(GetRect());
    }
}

}  // namespace tarn
