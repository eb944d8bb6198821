#pragma once

#include <cstdint>

#include "common/rect.h"

namespace tarn {

class SettingsStore;

enum class ZoomType { FitImage = 0, FitWidth = 1, FitHeight = 2, ActualSize = 3, ZoomLock = 4 };

// How a paint puts the image on the window.
enum class DrawPath {
    None,         // no image: backdrop only
    Copy,         // zoom 1: the source rectangle copied pixel for pixel
    HighQuality,  // below 100 %: whole image smoothed once into the display cache
    Fast,         // nearest neighbour of the visible part only
};

// Above this many displayed pixels the smoothed display cache is not made.
inline constexpr std::int64_t kMaxCachedDisplayPixels = 16'000'000;

DrawPath chooseDrawPath(double zoom, int displayWidth, int displayHeight, bool sliderDragging);

struct PointF {
    double x = 0;
    double y = 0;
};

// One axis of the placement: where the source span of the image lands in the window.
struct AxisPlacement {
    int destStart = 0;
    int destExtent = 0;
    int srcStart = 0;
    int srcExtent = 0;
    bool operator==(const AxisPlacement&) const = default;
};

struct Placement {
    AxisPlacement x;
    AxisPlacement y;
};

// Per axis: C the client extent, D the display extent, scroll the offset into the display,
// image the image extent.
AxisPlacement placeAxis(int client, int display, double scroll, double zoom, int image);

struct ScrollBarState {
    bool shown = false;
    int range = 0;     // the display extent
    int page = 0;      // the client extent
    int position = 0;  // nearest(offset)
};

enum class ScrollAction { LineUp, LineDown, PageUp, PageDown, Top, Bottom, Track };

struct ZoomSettings {
    ZoomType type = ZoomType::FitImage;
    double level = 1.0;
};

// ZoomType and ZoomLevel of ZoomInfo, limits applied by the key table both ways.
ZoomSettings readZoomSettings(const SettingsStore& store);
bool writeZoomSettings(SettingsStore& store, const ZoomSettings& zoom);

// The zoom, scroll and placement state of the image view. The window feeds it its outer size,
// the scroll-bar thickness and the image size, and asks it for the client area, the scroll bars,
// the placement and the drawing path on every size, scroll, zoom and paint.
class ViewGeometry {
public:
    ViewGeometry() = default;
    explicit ViewGeometry(const ZoomSettings& start)
        : m_zoom(start.level > 0 ? start.level : 1.0), m_type(start.type) {}

    // The full outer size of the view, scroll-bar area included. Re-applies a fit when one
    // governs the zoom, otherwise re-clamps the scroll offsets.
    void setWindowSize(int width, int height);
    // Width of a vertical bar, height of a horizontal one.
    void setScrollBarSize(int verticalWidth, int horizontalHeight);
    // Full screen shows no scroll bars and fits width or height without subtracting them.
    void setFullScreen(bool on);

    // A newly opened image (0 x 0 for none): offsets reset, fit active, the zoom type applied.
    void openImage(int width, int height);
    // The open image changed: a new size re-applies the zoom type (fit active) or the zoom.
    void refreshImage(int width, int height);
    void closeImage() { openImage(0, 0); }

    // The single entry of every zoom change; keeps the point at the window centre.
    void setZoom(double zoom);
    void zoomIn();
    void zoomOut();
    // A fixed zoom value of the menus: fit no longer active, that zoom set.
    void setFixedZoom(double zoom);
    // Zoom slider and zoom-level dialog: 0.07..16; returns whether the zoom changed.
    bool setCustomZoom(double zoom);
    // Fit image, width or height; nothing when that fit is already active.
    void fit(ZoomType type);
    void actualSize();
    void zoomLock();
    // Out of zoom lock into the default type, keeping the zoom until the next image.
    void unlockZoom();
    void applyZoomType();

    void setScroll(double x, double y);
    void scrollHorizontal(ScrollAction action, int trackPosition = 0);
    void scrollVertical(ScrollAction action, int trackPosition = 0);

    double zoom() const { return m_zoom; }
    ZoomType zoomType() const { return m_type; }
    bool fitActive() const { return m_fitActive; }
    ZoomSettings settings() const { return {m_type, m_zoom}; }
    bool hasImage() const { return m_imageW > 0 && m_imageH > 0; }
    int imageWidth() const { return m_imageW; }
    int imageHeight() const { return m_imageH; }
    int displayWidth() const { return m_displayW; }
    int displayHeight() const { return m_displayH; }
    double scrollX() const { return m_scrollX; }
    double scrollY() const { return m_scrollY; }
    int clientWidth() const { return m_clientW; }
    int clientHeight() const { return m_clientH; }
    const ScrollBarState& horizontalBar() const { return m_hBar; }
    const ScrollBarState& verticalBar() const { return m_vBar; }

    Placement placement() const;
    DrawPath drawPath(bool sliderDragging) const {
        return hasImage() ? chooseDrawPath(m_zoom, m_displayW, m_displayH, sliderDragging)
                          : DrawPath::None;
    }

    // Where the whole displayed image lies in window coordinates (partly outside the window
    // when scrolled); empty without an image.
    Rect displayedImage() const;

    // Window point to image point, clamped to the image (0 .. width, 0 .. height).
    PointF windowToImage(double x, double y) const;
    // Image point to window point; the image point is clamped to the image first.
    PointF imageToWindow(double x, double y) const;
    // Corner by corner, rounded; an empty rectangle stays empty.
    Rect windowToImage(const Rect& r) const;
    Rect imageToWindow(const Rect& r) const;

private:
    double fitZoom(ZoomType type) const;
    void applyScroll(double x, double y);
    void layoutBars();
    void scrollAxis(bool horizontal, ScrollAction action, int trackPosition);

    int m_windowW = 0, m_windowH = 0;
    int m_vBarWidth = 0, m_hBarHeight = 0;
    bool m_fullScreen = false;

    int m_imageW = 0, m_imageH = 0;
    double m_zoom = 1.0;
    ZoomType m_type = ZoomType::FitImage;
    bool m_fitActive = true;
    int m_displayW = 0, m_displayH = 0;
    double m_scrollX = 0, m_scrollY = 0;

    int m_clientW = 0, m_clientH = 0;
    ScrollBarState m_hBar, m_vBar;
};

}  // namespace tarn
