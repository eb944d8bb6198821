// The image view's window: drawing, sizes and scroll bars, the mouse, zoom, full screen and the
// quick slide show.
#include "viewer/image_view.h"

#include <wx/dcclient.h>

#include <wx/settings.h>
#include <algorithm>

#include "app/app_context.h"
#include "browser/folder_model.h"
#include "commands/command_ids.h"

namespace tarn {

namespace {

const wxColour kGreyBackdrop(138, 138, 138);
const wxColour kFullScreenBackdrop(0, 0, 0);

ScrollAction scrollActionOf(const wxEventType type) {
    if (type == wxEVT_SCROLLWIN_LINEUP) {
        return ScrollAction::LineUp;
    }
    if (type == wxEVT_SCROLLWIN_LINEDOWN) {
        return ScrollAction::LineDown;
    }
    if (type == wxEVT_SCROLLWIN_PAGEUP) {
        return ScrollAction::PageUp;
    }
    if (type == wxEVT_SCROLLWIN_PAGEDOWN) {
        return ScrollAction::PageDown;
    }
    if (type == wxEVT_SCROLLWIN_TOP) {
        return ScrollAction::Top;
    }
    if (type == wxEVT_SCROLLWIN_BOTTOM) {
        return ScrollAction::Bottom;
    }
    return ScrollAction::Track;
}

}  // namespace

wxDEFINE_EVENT(EVT_IMAGE_PRELOADED, wxThreadEvent);

CImageView::CImageView(wxWindow* parent, ImageViewHost& host, AppContext& context)
    : wxWindow(parent, kControlId, wxDefaultPosition, wxDefaultSize,
               wxHSCROLL | wxVSCROLL | wxBORDER_NONE | wxWANTS_CHARS, "ImageView"),
      m_host(host),
      m_context(context),
      m_document(context.folders.tempFolder),
      m_geometry(readZoomSettings(context.settings)),
      m_backdrop(kGreyBackdrop),
      m_cursorTimer(this),
      m_quickSlideTimer(this) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_barWidth = std::max(0, wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this));
    m_barHeight = std::max(0, wxSystemSettings::GetMetric(wxSYS_HSCROLL_Y, this));
    m_geometry.setScrollBarSize(m_barWidth, m_barHeight);
    // Both scroll bars are hidden until an image needs them.
    SetScrollbar(wxHORIZONTAL, 0, 0, 0);
    SetScrollbar(wxVERTICAL, 0, 0, 0);
    installDefaultPrompts();
    setUpTools();
    addCommands();

    Bind(wxEVT_PAINT, &CImageView::onPaint, this);
    Bind(wxEVT_SIZE, &CImageView::onSize, this);
    for (const auto& type :
         {wxEVT_SCROLLWIN_LINEUP, wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEUP,
          wxEVT_SCROLLWIN_PAGEDOWN, wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM,
          wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE}) {
        Bind(type, &CImageView::onScroll, this);
    }
    Bind(wxEVT_MOUSEWHEEL, &CImageView::onMouseWheel, this);
    Bind(wxEVT_MOTION, &CImageView::onMotion, this);
    Bind(wxEVT_LEFT_DCLICK, &CImageView::onLeftDoubleClick, this);
    Bind(wxEVT_SET_CURSOR, &CImageView::onSetCursor, this);
    Bind(
        wxEVT_TIMER, [this](wxTimerEvent&) { onCursorTimer(); }, m_cursorTimer.GetId());
    Bind(
        wxEVT_TIMER, [this](wxTimerEvent&) { onQuickSlideTimer(); }, m_quickSlideTimer.GetId());
    Bind(EVT_IMAGE_PRELOADED, &CImageView::onPreloaded, this);
}

CImageView::~CImageView() {
    m_cursorTimer.Stop();
    m_quickSlideTimer.Stop();
    writeZoomSettings(m_context.settings, m_geometry.settings());
    writeToolSettings();
    m_prefetch.wait();
    m_document.close();
}

FolderModel& CImageView::folder() const {
    return m_host.folderModel();
}

// ---- geometry and drawing --------------------------------------------------------------

void CImageView::syncGeometry() {
    const wxSize size = GetSize();
    m_geometry.setWindowSize(size.x, size.y);
    applyScrollBars();
}

bool CImageView::measureScrollBars() {
    // The theme decides how thick the bars are; once one is shown its real thickness counts.
    const wxSize outer = GetSize();
    const wxSize client = GetClientSize();
    int vertical = m_barWidth;
    int horizontal = m_barHeight;
    if (m_geometry.verticalBar().shown && outer.x > client.x) {
        vertical = outer.x - client.x;
    }
    if (m_geometry.horizontalBar().shown && outer.y > client.y) {
        horizontal = outer.y - client.y;
    }
    if (vertical != m_barWidth || horizontal != m_barHeight) {
        m_barWidth = vertical;
        m_barHeight = horizontal;
        m_geometry.setScrollBarSize(vertical, horizontal);
        return true;
    }
    return false;
}

void CImageView::applyScrollBars() {
    if (m_applyingBars) {
        return;
    }
    // Showing a bar resizes the client area, which comes back here through the size handler.
    m_applyingBars = true;
    const ScrollBarState& h = m_geometry.horizontalBar();
    const ScrollBarState& v = m_geometry.verticalBar();
    SetScrollbar(wxHORIZONTAL, h.shown ? h.position : 0, h.shown ? h.page : 0,
                 h.shown ? h.range : 0);
    SetScrollbar(wxVERTICAL, v.shown ? v.position : 0, v.shown ? v.page : 0, v.shown ? v.range : 0);
    m_applyingBars = false;
}

void CImageView::zoomChanged() {
    applyScrollBars();
    Refresh(false);
    m_host.refreshStatus();
}

void CImageView::onPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (m_frozenFrame.IsOk()) {
        dc.DrawBitmap(m_frozenFrame, 0, 0);
        return;
    }
    // The bars shown since the last paint have taken their room by now.
    if (measureScrollBars()) {
        syncGeometry();
        Refresh(false);  // the placement may have moved outside this paint's region
    }
    m_renderer.paint(dc, m_geometry, m_document.image(), m_document.path(),
                     m_host.zoomSliderTracking(), m_backdrop);
    paintSelection(dc);
}

void CImageView::onSize(wxSizeEvent& event) {
    event.Skip();
    // During a long edit the image is not to be read; the edit's end lays the window out again.
    if (m_applyingBars || m_frozenFrame.IsOk()) {
        return;
    }
    if (!m_host.inImageMode()) {
        return;
    }
    const double zoom = m_geometry.zoom();
    measureScrollBars();
    syncGeometry();
    Refresh(false);
    if (zoom != m_geometry.zoom()) {
        m_host.refreshStatus();
    }
}

void CImageView::onScroll(wxScrollWinEvent& event) {
    const ScrollAction action = scrollActionOf(event.GetEventType());
    if (event.GetOrientation() == wxHORIZONTAL) {
        m_geometry.scrollHorizontal(action, event.GetPosition());
    } else {
        m_geometry.scrollVertical(action, event.GetPosition());
    }
    applyScrollBars();
    Refresh(false);
}

// ---- mouse -----------------------------------------------------------------------------

void CImageView::onMouseWheel(wxMouseEvent& event) {
    // The wheel steps through the folder; it never zooms or scrolls. A disabled step does
    // nothing, which the frame's dispatch makes sure of.
    if (event.GetWheelRotation() < 0) {
        m_host.runCommand(cmd::kNextImage);
    } else if (event.GetWheelRotation() > 0) {
        m_host.runCommand(cmd::kPreviousImage);
    }
}

void CImageView::onMotion(wxMouseEvent& event) {
    event.Skip();
    const wxPoint position = event.GetPosition();
    if (position == m_lastMouse) {
        return;
    }
    m_lastMouse = position;
    toolMotion({position.x, position.y});
    if (m_fullScreen) {
        if (m_cursorHidden) {
            m_cursorHidden = false;
            SetCursor(wxNullCursor);
        }
        m_cursorTimer.StartOnce(kCursorHideMilliseconds);
    }
    m_host.refreshStatus();
}

void CImageView::onLeftDoubleClick(wxMouseEvent&) {
    m_host.runCommand(cmd::kBrowse);
}

void CImageView::onSetCursor(wxSetCursorEvent& event) {
    if (m_cursorHidden) {
        event.SetCursor(wxCursor(wxCURSOR_BLANK));
        return;
    }
    const wxCursor cursor = cursorAt({event.GetX(), event.GetY()});
    if (cursor.IsOk()) {
        event.SetCursor(cursor);
        return;
    }
    event.Skip();
}

// ---- zoom ------------------------------------------------------------------------------

void CImageView::zoomIn() {
    m_geometry.zoomIn();
    zoomChanged();
}

void CImageView::zoomOut() {
    m_geometry.zoomOut();
    zoomChanged();
}

void CImageView::setFixedZoom(double zoom) {
    m_geometry.setFixedZoom(zoom);
    zoomChanged();
}

void CImageView::setCustomZoom(double zoom) {
    if (!m_host.inImageMode()) {
        return;
    }
    if (m_geometry.setCustomZoom(zoom)) {
        zoomChanged();
    }
}

void CImageView::fit(ZoomType type) {
    m_geometry.fit(type);
    zoomChanged();
}

void CImageView::actualSize() {
    m_geometry.actualSize();
    zoomChanged();
}

void CImageView::zoomLock() {
    m_geometry.zoomLock();
    zoomChanged();
}

// ---- full screen and the quick slide show ----------------------------------------------

void CImageView::setFullScreen(bool on) {
    if (on == m_fullScreen) {
        return;
    }
    m_fullScreen = on;
    m_geometry.setFullScreen(on);
    if (on) {
        m_backdrop = kFullScreenBackdrop;
        m_cursorTimer.StartOnce(kCursorHideMilliseconds);
        m_host.enterFullScreen();
    } else {
        m_backdrop = kGreyBackdrop;
        m_cursorTimer.Stop();
        m_cursorHidden = false;
        SetCursor(wxNullCursor);
        m_host.leaveFullScreen();
    }
    syncGeometry();
    Refresh(false);
}

void CImageView::onCursorTimer() {
    if (!m_fullScreen) {
        return;
    }
    m_cursorHidden = true;
    SetCursor(wxCursor(wxCURSOR_BLANK));
}

bool CImageView::canQuickSlideShow() const {
    return m_document.hasImage() && folder().imageCount() > 1;
}

void CImageView::toggleQuickSlideShow() {
    if (m_quickSlideTimer.IsRunning()) {
        m_quickSlideTimer.Stop();
    } else {
        m_quickSlideTimer.StartOnce(kQuickSlideMilliseconds);
    }
}

void CImageView::restartQuickSlide() {
    if (m_quickSlideTimer.IsRunning()) {
        m_quickSlideTimer.StartOnce(kQuickSlideMilliseconds);
    }
}

void CImageView::onQuickSlideTimer() {
    m_quickSlideTimer.Stop();
    const int next = nextImageIndex();
    if (next < 0) {
        return;  // the last image ends the show
    }
    openOtherImage(next, false);
    m_quickSlideTimer.StartOnce(kQuickSlideMilliseconds);
}

bool CImageView::leaveToBrowser(bool askToSave) {
    setFullScreen(false);
    if (askToSave && !querySave()) {
        return false;
    }
    m_selection.clear();
    m_document.close();
    m_host.imageChanged();
    m_renderer.invalidate();
    m_cursorTimer.Stop();
    m_quickSlideTimer.Stop();
    m_geometry.closeImage();
    m_prefetch.wait();
    m_prefetch.discard();
    applyScrollBars();
    m_host.leaveImageMode();
    return true;
}

}  // namespace tarn
