#include "widgets/super_splitter_wnd.h"

#include <wx/dc.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include <memory>

namespace tarn {

namespace {

constexpr int kColumnBarWidth = 6;
constexpr int kRowBarHeight = 7;

// The theme's bars are a pixel or two wide and hard to hit; our splitters' bars have their own
// width and are drawn flat in the button face colour. Other splitters keep the theme's.
class SplitterRenderer : public wxDelegateRendererNative {
public:
    SplitterRenderer() : wxDelegateRendererNative(wxRendererNative::GetDefault()) {}

    wxSplitterRenderParams GetSplitterParams(const wxWindow* win) override {
        const wxSplitterRenderParams theme = wxDelegateRendererNative::GetSplitterParams(win);
        const auto* ours = dynamic_cast<const CSuperSplitterWnd*>(win);
        if (ours == nullptr) {
            return theme;
        }
        const int width =
            ours->GetSplitMode() == wxSPLIT_VERTICAL ? kColumnBarWidth : kRowBarHeight;
        return wxSplitterRenderParams(width, 0, false);
    }

    void DrawSplitterSash(wxWindow* win, wxDC& dc, const wxSize& size, wxCoord position,
                          wxOrientation orient, int flags) override {
        const auto* ours = dynamic_cast<const CSuperSplitterWnd*>(win);
        if (ours == nullptr) {
            wxDelegateRendererNative::DrawSplitterSash(win, dc, size, position, orient, flags);
            return;
        }
        const int width = GetSplitterParams(win).widthSash;
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
        if (orient == wxVERTICAL) {
            dc.DrawRectangle(position, 0, width, size.y);
        } else {
            dc.DrawRectangle(0, position, size.x, width);
        }
    }
};

void installSplitterRenderer() {
    static const bool installed = [] {
        // wx picks its renderer on first use and would then replace one set before; it owns
        // the renderer it is given and hands back the one it had, if any.
        (void)wxRendererNative::Get();
        const std::unique_ptr<wxRendererNative> previous(
            wxRendererNative::Set(std::make_unique<SplitterRenderer>().release()));
        return true;
    }();
    (void)installed;
}

}  // namespace

CSuperSplitterWnd::CSuperSplitterWnd(wxWindow* parent, wxWindowID id)
    : wxSplitterWindow(parent, id, wxDefaultPosition, wxDefaultSize,
                       wxSP_LIVE_UPDATE | wxSP_NOBORDER | wxSP_3DSASH) {
    installSplitterRenderer();
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
