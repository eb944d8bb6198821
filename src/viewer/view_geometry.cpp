#include "viewer/view_geometry.h"

#include <algorithm>
#include <cmath>

#include "app/settings.h"
#include "common/rounding.h"
#include "viewer/zoom_steps.h"

namespace tarn {

namespace {

bool isFitType(ZoomType type) {
    return type == ZoomType::FitImage || type == ZoomType::FitWidth || type == ZoomType::FitHeight;
}

// A non-empty image never shrinks to nothing on the screen, so that a 1 x 30000 image fitted
// into a window still shows a column and the conversions never divide by zero.
int displayExtent(double zoom, int image) {
    if (image <= 0) {
        return 0;
    }
    const double v = std::min(zoom * image, 1e9);
    return std::max(1, roundToInt(v));
}

// Keeps the point at the window centre where it was when the display extent goes from d0 to d.
// ratio is the factor the offset scales by: the widths' d / d0 serves both axes.
double centredOffset(int client, int d0, int d, double old, double ratio) {
    if (d0 == 0) {
        return 0;
    }
    if (client >= d0) {
        return client < d ? (d - client) * 0.5 : 0.0;
    }
    if (client < d) {
        return (client * 0.5 + old) * ratio - client * 0.5;
    }
    return 0;
}

double clampOffset(double offset, int client, int display) {
    if (display <= client || std::isnan(offset)) {
        return 0;
    }
    return std::clamp(offset, 0.0, static_cast<double>(display - client));
}

double windowToImageAxis(double x, int client, int display, double scroll, int image) {
    if (display <= 0 || image <= 0) {
        return 0;
    }
    double v = display > client ? x + scroll
                                : x - placeAxis(client, display, scroll, 1.0, image).destStart;
    v = std::clamp(v, 0.0, static_cast<double>(display));
    return v * image / display;
}

double imageToWindowAxis(double x, int client, int display, double scroll, int image) {
    if (display <= 0 || image <= 0) {
        return 0;
    }
    const double v = std::clamp(x, 0.0, static_cast<double>(image)) * display / image;
    if (display > client) {
        return v - scroll;
    }
    return v + placeAxis(client, display, scroll, 1.0, image).destStart;
}

}  // namespace

DrawPath chooseDrawPath(double zoom, int displayWidth, int displayHeight, bool sliderDragging) {
    if (zoom == 1.0) {
        return DrawPath::Copy;
    }
    const std::int64_t area = static_cast<std::int64_t>(displayWidth) * displayHeight;
    if (zoom < 1.0 && area <= kMaxCachedDisplayPixels && !sliderDragging) {
        return DrawPath::HighQuality;
    }
    return DrawPath::Fast;
}

AxisPlacement placeAxis(int client, int display, double scroll, double zoom, int image) {
    AxisPlacement p;
    if (image <= 0 || display <= 0 || !(zoom > 0)) {
        return p;
    }
    if (display <= client) {
        p.srcStart = 0;
        p.srcExtent = image;
        p.destStart = (client - display + 1) / 2;  // ceil of half the spare room
        p.destExtent = display;
        return p;
    }
    const double s = std::max(0.0, scroll / zoom);
    p.srcStart = std::min(static_cast<int>(s), image - 1);
    const double f = s - p.srcStart;
    const double extent = client / zoom + f + 1;
    if (p.srcStart + extent >= image) {
        p.srcExtent = image - p.srcStart;
    } else {
        p.srcExtent = roundToInt(extent);
    }
    p.destStart = roundToInt(-f * zoom);
    p.destExtent = roundToInt(p.srcExtent * zoom);
    return p;
}

ZoomSettings readZoomSettings(const SettingsStore& store) {
    return {static_cast<ZoomType>(store.get(settings::kZoomType)), store.get(settings::kZoomLevel)};
}

bool writeZoomSettings(SettingsStore& store, const ZoomSettings& zoom) {
    const bool typeOk = store.set(settings::kZoomType, static_cast<int>(zoom.type));
    const bool levelOk = store.set(settings::kZoomLevel, zoom.level);
    return typeOk && levelOk;
}

void ViewGeometry::setWindowSize(int width, int height) {
    m_windowW = std::max(0, width);
    m_windowH = std::max(0, height);
    if (m_fitActive && isFitType(m_type)) {
        applyZoomType();
    } else {
        applyScroll(m_scrollX, m_scrollY);
    }
}

void ViewGeometry::setScrollBarSize(int verticalWidth, int horizontalHeight) {
    m_vBarWidth = std::max(0, verticalWidth);
    m_hBarHeight = std::max(0, horizontalHeight);
    setWindowSize(m_windowW, m_windowH);
}

void ViewGeometry::setFullScreen(bool on) {
    m_fullScreen = on;
    setWindowSize(m_windowW, m_windowH);
}

void ViewGeometry::openImage(int width, int height) {
    const bool valid = width > 0 && height > 0;
    m_imageW = valid ? width : 0;
    m_imageH = valid ? height : 0;
    m_displayW = m_displayH = 0;
    m_scrollX = m_scrollY = 0;
    m_fitActive = true;
    applyZoomType();
}

void ViewGeometry::refreshImage(int width, int height) {
    const bool valid = width > 0 && height > 0;
    const int w = valid ? width : 0;
    const int h = valid ? height : 0;
    if (w == m_imageW && h == m_imageH) {
        return;
    }
    m_imageW = w;
    m_imageH = h;
    if (m_fitActive) {
        applyZoomType();
    } else {
        setZoom(m_zoom);
    }
}

void ViewGeometry::setZoom(double zoom) {
    if (!(zoom > 0) || !std::isfinite(zoom)) {
        return;
    }
    const int oldW = m_displayW;
    const int oldH = m_displayH;
    m_zoom = zoom;
    m_displayW = displayExtent(zoom, m_imageW);
    m_displayH = displayExtent(zoom, m_imageH);
    double x = 0;
    double y = 0;
    if (!(m_fitActive && isFitType(m_type))) {
        // The widths' ratio for both axes, so that rounding of the heights cannot shift the
        // centre vertically; without an old width the heights' own ratio serves.
        const double ratio = oldW > 0   ? static_cast<double>(m_displayW) / oldW
                             : oldH > 0 ? static_cast<double>(m_displayH) / oldH
                                        : 1.0;
        x = centredOffset(m_clientW, oldW, m_displayW, m_scrollX, ratio);
        y = centredOffset(m_clientH, oldH, m_displayH, m_scrollY, ratio);
    }
    applyScroll(x, y);
}

void ViewGeometry::zoomIn() {
    m_fitActive = false;
    setZoom(zoomInStep(m_zoom));
}

void ViewGeometry::zoomOut() {
    m_fitActive = false;
    setZoom(zoomOutStep(m_zoom));
}

void ViewGeometry::setFixedZoom(double zoom) {
    if (!(zoom > 0) || !std::isfinite(zoom)) {
        return;
    }
    m_fitActive = false;
    setZoom(zoom);
}

bool ViewGeometry::setCustomZoom(double zoom) {
    const double z = clampCustomZoom(zoom);
    if (z == m_zoom) {
        return false;
    }
    m_fitActive = false;
    setZoom(z);
    return true;
}

void ViewGeometry::fit(ZoomType type) {
    if (type == ZoomType::ActualSize) {
        actualSize();
        return;
    }
    if (type == ZoomType::ZoomLock) {
        zoomLock();
        return;
    }
    if (m_type == type && m_fitActive) {
        return;
    }
    m_type = type;
    m_fitActive = true;
    applyZoomType();
}

void ViewGeometry::actualSize() {
    if (m_type == ZoomType::ActualSize && m_fitActive) {
        return;
    }
    m_type = ZoomType::ActualSize;
    setZoom(1.0);
}

void ViewGeometry::zoomLock() {
    m_type = ZoomType::ZoomLock;
    m_fitActive = true;
}

void ViewGeometry::unlockZoom() {
    if (m_type == ZoomType::ZoomLock) {
        m_type = ZoomType::FitImage;
        m_fitActive = false;
    }
}

void ViewGeometry::applyZoomType() {
    setZoom(fitZoom(m_type));
}

double ViewGeometry::fitZoom(ZoomType type) const {
    if (!hasImage()) {
        return m_zoom;
    }
    // A window not laid out yet still gets a usable zoom; the first size event fits again.
    const int W = std::max(1, m_windowW);
    const int H = std::max(1, m_windowH);
    const double w = m_imageW;
    const double h = m_imageH;
    switch (type) {
        case ZoomType::FitImage:
            if (W >= m_imageW && H >= m_imageH) {
                return 1.0;
            }
            return std::min(W / w, H / h);
        case ZoomType::FitWidth: {
            double z = std::min(W, m_imageW) / w;
            if (!m_fullScreen && roundToInt(z * h) > H) {
                z = std::min(std::max(1, W - m_vBarWidth), m_imageW) / w;
            }
            return z;
        }
        case ZoomType::FitHeight: {
            double z = std::min(H, m_imageH) / h;
            if (!m_fullScreen && roundToInt(z * w) > W) {
                z = std::min(std::max(1, H - m_hBarHeight), m_imageH) / h;
            }
            return z;
        }
        case ZoomType::ActualSize:
            return 1.0;
        case ZoomType::ZoomLock:
            break;
    }
    return m_zoom;
}

void ViewGeometry::layoutBars() {
    bool h = false;
    bool v = false;
    if (!m_fullScreen && hasImage()) {
        h = m_displayW > m_windowW;
        v = m_displayH > m_windowH;
        // A bar on one axis takes room from the other.
        if (h && !v) {
            v = m_displayH > m_windowH - m_hBarHeight;
        } else if (v && !h) {
            h = m_displayW > m_windowW - m_vBarWidth;
        }
    }
    m_clientW = std::max(0, m_windowW - (v ? m_vBarWidth : 0));
    m_clientH = std::max(0, m_windowH - (h ? m_hBarHeight : 0));
    m_hBar = {h, h ? m_displayW : 0, h ? m_clientW : 0, 0};
    m_vBar = {v, v ? m_displayH : 0, v ? m_clientH : 0, 0};
}

void ViewGeometry::applyScroll(double x, double y) {
    layoutBars();
    m_scrollX = clampOffset(x, m_clientW, m_displayW);
    m_scrollY = clampOffset(y, m_clientH, m_displayH);
    m_hBar.position = m_hBar.shown ? roundToInt(m_scrollX) : 0;
    m_vBar.position = m_vBar.shown ? roundToInt(m_scrollY) : 0;
}

void ViewGeometry::setScroll(double x, double y) {
    applyScroll(x, y);
}

void ViewGeometry::scrollHorizontal(ScrollAction action, int trackPosition) {
    scrollAxis(true, action, trackPosition);
}

void ViewGeometry::scrollVertical(ScrollAction action, int trackPosition) {
    scrollAxis(false, action, trackPosition);
}

void ViewGeometry::scrollAxis(bool horizontal, ScrollAction action, int trackPosition) {
    const ScrollBarState& bar = horizontal ? m_hBar : m_vBar;
    if (!bar.shown) {
        return;
    }
    const double old = horizontal ? m_scrollX : m_scrollY;
    const double end = bar.range - bar.page;
    double pos = old;
    switch (action) {
        case ScrollAction::LineUp:
            pos = old - 1;
            break;
        case ScrollAction::LineDown:
            pos = old + 1;
            break;
        case ScrollAction::PageUp:
            pos = old - bar.page;
            break;
        case ScrollAction::PageDown:
            pos = old + bar.page;
            break;
        case ScrollAction::Top:
            pos = 0;
            break;
        case ScrollAction::Bottom:
            pos = end;
            break;
        case ScrollAction::Track:
            pos = std::clamp<double>(trackPosition, 0, bar.range);
            break;
    }
    if (horizontal) {
        applyScroll(pos, m_scrollY);
    } else {
        applyScroll(m_scrollX, pos);
    }
}

Placement ViewGeometry::placement() const {
    if (!hasImage()) {
        return {};
    }
    return {placeAxis(m_clientW, m_displayW, m_scrollX, m_zoom, m_imageW),
            placeAxis(m_clientH, m_displayH, m_scrollY, m_zoom, m_imageH)};
}

Rect ViewGeometry::displayedImage() const {
    if (!hasImage()) {
        return {};
    }
    const auto start = [](int client, int display, double scroll) {
        return display > client ? -roundToInt(scroll) : (client - display + 1) / 2;
    };
    const int left = start(m_clientW, m_displayW, m_scrollX);
    const int top = start(m_clientH, m_displayH, m_scrollY);
    return {left, top, left + m_displayW, top + m_displayH};
}

PointF ViewGeometry::windowToImage(double x, double y) const {
    return {windowToImageAxis(x, m_clientW, m_displayW, m_scrollX, m_imageW),
            windowToImageAxis(y, m_clientH, m_displayH, m_scrollY, m_imageH)};
}

PointF ViewGeometry::imageToWindow(double x, double y) const {
    return {imageToWindowAxis(x, m_clientW, m_displayW, m_scrollX, m_imageW),
            imageToWindowAxis(y, m_clientH, m_displayH, m_scrollY, m_imageH)};
}

Rect ViewGeometry::windowToImage(const Rect& r) const {
    if (r.empty()) {
        return {};
    }
    const PointF a = windowToImage(r.left, r.top);
    const PointF b = windowToImage(r.right, r.bottom);
    return {roundToInt(a.x), roundToInt(a.y), roundToInt(b.x), roundToInt(b.y)};
}

Rect ViewGeometry::imageToWindow(const Rect& r) const {
    if (r.empty()) {
        return {};
    }
    const PointF a = imageToWindow(r.left, r.top);
    const PointF b = imageToWindow(r.right, r.bottom);
    return {roundToInt(a.x), roundToInt(a.y), roundToInt(b.x), roundToInt(b.y)};
}

}  // namespace tarn
