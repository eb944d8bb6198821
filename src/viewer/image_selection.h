#pragma once

#include "common/rect.h"

namespace tarn {

class ViewGeometry;

enum class RatioType { Free = 0, SameAsImage = 1, Fixed = 2 };
enum class SelOrientation { Portrait = 0, Landscape = 1 };

// The part of the selection frame under a point: corners, then edge handles, then the inside.
enum class FramePart {
    None = -1,
    TopLeft = 0,
    TopRight = 1,
    BottomRight = 2,
    BottomLeft = 3,
    Top = 4,
    Right = 5,
    Bottom = 6,
    Left = 7,
    Interior = 8,
};

// The corner of a rectangle that stays put when the ratio clamp shrinks it.
enum class Anchor { TopLeft = 0, TopRight = 1, BottomLeft = 2, BottomRight = 3 };

struct WindowPoint {
    int x = 0;
    int y = 0;
    bool operator==(const WindowPoint&) const = default;
};

inline constexpr int kHandleSize = 6;

bool contains(const Rect& r, WindowPoint p);

// The square handle of a corner or an edge, inside the frame.
Rect handleRect(const Rect& frame, FramePart part);
FramePart hitTestFrame(const Rect& frame, WindowPoint p);

// Clamps r to bounds, then shrinks the side away from the anchor until the rectangle has the
// ratio (width / height; 0 = any). The result never leaves r.
Rect clampToRatio(Rect r, const Rect& bounds, Anchor anchor, double ratio);

// A fixed ratio of the menu for the orientation: width / height in portrait, the reciprocal in
// landscape.
double fixedRatio(int width, int height, SelOrientation orientation);

// The one rectangular selection of the image view, in image pixels, with its aspect-ratio rules
// and the select tool's dragging. Window points are converted through the view's geometry.
class ImageSelection {
public:
    const Rect& rect() const { return m_rect; }
    bool empty() const { return m_rect.empty(); }
    RatioType ratioType() const { return m_type; }
    double storedRatio() const { return m_ratio; }
    SelOrientation orientation() const { return m_orientation; }
    // 0 for free, the image's width / height (0 without one) for the same-as-image type.
    double effectiveRatio(const ViewGeometry& geometry) const;

    // The state kept between runs; a negative ratio reads as 0.
    void restore(RatioType type, double ratio, SelOrientation orientation);
    void clear() { m_rect = {}; }
    // The whole image, with the ratio set free.
    void selectAll(const ViewGeometry& geometry);

    // Stores the type and ratio; a selection is fitted to an effective ratio at once.
    void setRatio(double ratio, RatioType type, const ViewGeometry& geometry);
    // Same as image: without an image the selection goes.
    void setSameAsImage(const ViewGeometry& geometry);
    // Turns a fixed-ratio selection and the ratio when the orientation changes.
    void setOrientation(SelOrientation orientation, const ViewGeometry& geometry);
    // Whether a fixed ratio of the menu (portrait width and height) is the current one.
    bool isFixedRatio(int width, int height) const;

    // The select tool. press grabs the part of the frame under the point; drag recomputes the
    // selection from the one at press (true when it changed); release clears it after a click
    // without movement outside the frame (true when it did).
    void press(WindowPoint point, const ViewGeometry& geometry);
    bool drag(WindowPoint mouse, const ViewGeometry& geometry);
    bool release(WindowPoint point);
    FramePart grabbed() const { return m_grabbed; }

private:
    Rect m_rect;
    RatioType m_type = RatioType::Free;
    double m_ratio = 0;
    SelOrientation m_orientation = SelOrientation::Portrait;

    FramePart m_grabbed = FramePart::None;
    WindowPoint m_press;
    Rect m_atPress;
};

}  // namespace tarn
