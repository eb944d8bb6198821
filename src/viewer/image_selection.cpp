#include "viewer/image_selection.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/rounding.h"
#include "viewer/view_geometry.h"

namespace tarn {

namespace {

int truncated(double v) {
    return static_cast<int>(v);
}

// Whether the size already has the ratio, either way round.
bool matchesRatio(int width, int height, double ratio) {
    return width == truncated(ratio * height + 0.5) || height == truncated(width / ratio + 0.5);
}

// The rectangle between two points, anchored at the first.
Rect spanned(WindowPoint anchorPoint, WindowPoint mouse, Anchor& anchor) {
    const bool right = mouse.x >= anchorPoint.x;
    const bool below = mouse.y >= anchorPoint.y;
    if (right) {
        anchor = below ? Anchor::TopLeft : Anchor::BottomLeft;
    } else {
        anchor = below ? Anchor::TopRight : Anchor::BottomRight;
    }
    return {std::min(anchorPoint.x, mouse.x), std::min(anchorPoint.y, mouse.y),
            std::max(anchorPoint.x, mouse.x), std::max(anchorPoint.y, mouse.y)};
}

WindowPoint oppositeCorner(const Rect& r, FramePart corner) {
    switch (corner) {
        case FramePart::TopLeft:
            return {r.right, r.bottom};
        case FramePart::TopRight:
            return {r.left, r.bottom};
        case FramePart::BottomRight:
            return {r.left, r.top};
        default:
            return {r.right, r.top};
    }
}

// The dragged edge follows the mouse; a ratio then sets the neighbouring side.
Rect dragEdge(Rect r, FramePart edge, WindowPoint mouse, double ratio, Anchor& anchor) {
    switch (edge) {
        case FramePart::Top:
            r.top = mouse.y;
            break;
        case FramePart::Bottom:
            r.bottom = mouse.y;
            break;
        case FramePart::Left:
            r.left = mouse.x;
            break;
        default:
            r.right = mouse.x;
            break;
    }
    // An edge pulled across the opposite one becomes that edge.
    if (r.top > r.bottom) {
        std::swap(r.top, r.bottom);
        edge = edge == FramePart::Top ? FramePart::Bottom : FramePart::Top;
    }
    if (r.left > r.right) {
        std::swap(r.left, r.right);
        edge = edge == FramePart::Left ? FramePart::Right : FramePart::Left;
    }
    const bool leading = edge == FramePart::Top || edge == FramePart::Left;
    anchor = leading ? Anchor::BottomRight : Anchor::TopLeft;
    if (ratio <= 0 || r.empty() || matchesRatio(r.width(), r.height(), ratio)) {
        return r;
    }
    switch (edge) {
        case FramePart::Top:
            r.left = r.right - roundToInt(ratio * r.height());
            break;
        case FramePart::Right:
            r.bottom = r.top + roundToInt(r.width() / ratio);
            break;
        case FramePart::Bottom:
            r.right = r.left + roundToInt(ratio * r.height());
            break;
        default:
            r.top = r.bottom - roundToInt(r.width() / ratio);
            break;
    }
    return r;
}

// Moves r by the wanted offset as far as bounds allow; returns the part of it refused.
int moveWithin(int& low, int& high, int offset, int boundLow, int boundHigh) {
    const int allowed =
        std::clamp(offset, std::min(0, boundLow - low), std::max(0, boundHigh - high));
    low += allowed;
    high += allowed;
    return offset - allowed;
}

Rect clampedToImage(Rect r, const ViewGeometry& geometry) {
    r.left = std::clamp(r.left, 0, geometry.imageWidth());
    r.right = std::clamp(r.right, 0, geometry.imageWidth());
    r.top = std::clamp(r.top, 0, geometry.imageHeight());
    r.bottom = std::clamp(r.bottom, 0, geometry.imageHeight());
    return r;
}

}  // namespace

bool contains(const Rect& r, WindowPoint p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

Rect handleRect(const Rect& frame, FramePart part) {
    const int h = kHandleSize;
    const int cx = (frame.left + frame.right) / 2 - h / 2;
    const int cy = (frame.top + frame.bottom) / 2 - h / 2;
    const auto square = [h](int x, int y) { return Rect{x, y, x + h, y + h}; };
    switch (part) {
        case FramePart::TopLeft:
            return square(frame.left, frame.top);
        case FramePart::TopRight:
            return square(frame.right - h, frame.top);
        case FramePart::BottomRight:
            return square(frame.right - h, frame.bottom - h);
        case FramePart::BottomLeft:
            return square(frame.left, frame.bottom - h);
        case FramePart::Top:
            return square(cx, frame.top);
        case FramePart::Right:
            return square(frame.right - h, cy);
        case FramePart::Bottom:
            return square(cx, frame.bottom - h);
        case FramePart::Left:
            return square(frame.left, cy);
        default:
            return {};
    }
}

FramePart hitTestFrame(const Rect& frame, WindowPoint p) {
    if (frame.empty()) {
        return FramePart::None;
    }
    for (int part = 0; part < 8; ++part) {
        if (contains(handleRect(frame, static_cast<FramePart>(part)), p)) {
            return static_cast<FramePart>(part);
        }
    }
    return contains(frame, p) ? FramePart::Interior : FramePart::None;
}

Rect clampToRatio(Rect r, const Rect& bounds, Anchor anchor, double ratio) {
    r.left = std::clamp(r.left, bounds.left, bounds.right);
    r.right = std::clamp(r.right, bounds.left, bounds.right);
    r.top = std::clamp(r.top, bounds.top, bounds.bottom);
    r.bottom = std::clamp(r.bottom, bounds.top, bounds.bottom);
    if (ratio <= 0 || r.empty() || matchesRatio(r.width(), r.height(), ratio)) {
        return r;
    }
    const int widthForHeight = truncated(ratio * r.height() + 0.5);
    const int heightForWidth = truncated(r.width() / ratio + 0.5);
    const bool leftStays = anchor == Anchor::TopLeft || anchor == Anchor::BottomLeft;
    const bool topStays = anchor == Anchor::TopLeft || anchor == Anchor::TopRight;
    if (widthForHeight < r.width()) {
        if (leftStays) {
            r.right = r.left + widthForHeight;
        } else {
            r.left = r.right - widthForHeight;
        }
    } else if (heightForWidth < r.height()) {
        if (topStays) {
            r.bottom = r.top + heightForWidth;
        } else {
            r.top = r.bottom - heightForWidth;
        }
    }
    return r;
}

double fixedRatio(int width, int height, SelOrientation orientation) {
    return orientation == SelOrientation::Portrait ? static_cast<double>(width) / height
                                                   : static_cast<double>(height) / width;
}

double ImageSelection::effectiveRatio(const ViewGeometry& geometry) const {
    switch (m_type) {
        case RatioType::Free:
            return 0;
        case RatioType::SameAsImage:
            return geometry.hasImage()
                       ? static_cast<double>(geometry.imageWidth()) / geometry.imageHeight()
                       : 0;
        default:
            return m_ratio;
    }
}

void ImageSelection::restore(RatioType type, double ratio, SelOrientation orientation) {
    m_type = type;
    m_ratio = std::isfinite(ratio) ? std::max(0.0, ratio) : 0.0;
    m_orientation = orientation;
}

void ImageSelection::selectAll(const ViewGeometry& geometry) {
    m_type = RatioType::Free;
    m_ratio = 0;
    m_rect = {0, 0, geometry.imageWidth(), geometry.imageHeight()};
}

void ImageSelection::setRatio(double ratio, RatioType type, const ViewGeometry& geometry) {
    m_type = type;
    m_ratio = ratio;
    const double q = effectiveRatio(geometry);
    if (type == RatioType::Free || q == 0 || m_rect.empty()) {
        return;
    }
    const Rect frame = geometry.imageToWindow(m_rect);
    const Rect fitted = clampToRatio(frame, geometry.displayedImage(), Anchor::TopLeft, q);
    const Rect selection = geometry.windowToImage(fitted);
    if (selection != m_rect) {
        m_rect = selection;
    }
}

void ImageSelection::setSameAsImage(const ViewGeometry& geometry) {
    if (!geometry.hasImage()) {
        m_type = RatioType::SameAsImage;
        m_rect = {};
        return;
    }
    setRatio(static_cast<double>(geometry.imageWidth()) / geometry.imageHeight(),
             RatioType::SameAsImage, geometry);
}

void ImageSelection::setOrientation(SelOrientation orientation, const ViewGeometry& geometry) {
    if (orientation == m_orientation) {
        return;
    }
    m_orientation = orientation;
    if (m_type != RatioType::Fixed) {
        return;
    }
    if (!m_rect.empty()) {
        const Rect& r = m_rect;
        Rect turned{r.left, r.top, r.left + r.height(), r.top + r.width()};
        if (orientation == SelOrientation::Landscape && turned.right > geometry.imageWidth()) {
            turned = {r.right - r.height(), r.top, r.right, r.top + r.width()};
        }
        m_rect = clampedToImage(turned, geometry);
    }
    const double q = effectiveRatio(geometry);
    if (q > 0) {
        m_ratio = 1.0 / q;
    }
}

bool ImageSelection::isFixedRatio(int width, int height) const {
    return m_type == RatioType::Fixed &&
           std::abs(m_ratio - fixedRatio(width, height, m_orientation)) < 0.00001;
}

void ImageSelection::press(WindowPoint point, const ViewGeometry& geometry) {
    m_press = point;
    m_atPress = m_rect;
    m_grabbed = hitTestFrame(geometry.imageToWindow(m_rect), point);
}

bool ImageSelection::drag(WindowPoint mouse, const ViewGeometry& geometry) {
    if (!geometry.hasImage()) {
        return false;
    }
    const Rect bounds = geometry.displayedImage();
    const Rect start = geometry.imageToWindow(m_atPress);
    Anchor anchor = Anchor::TopLeft;
    Rect r;
    switch (m_grabbed) {
        case FramePart::None:
            r = spanned(m_press, mouse, anchor);
            break;
        case FramePart::TopLeft:
        case FramePart::TopRight:
        case FramePart::BottomRight:
        case FramePart::BottomLeft:
            r = spanned(oppositeCorner(start, m_grabbed), mouse, anchor);
            break;
        case FramePart::Interior:
            r = start;
            // What the border refuses moves the press point, so that the rectangle follows
            // again as soon as the mouse turns back.
            m_press.x +=
                moveWithin(r.left, r.right, mouse.x - m_press.x, bounds.left, bounds.right);
            m_press.y +=
                moveWithin(r.top, r.bottom, mouse.y - m_press.y, bounds.top, bounds.bottom);
            break;
        default:
            r = dragEdge(start, m_grabbed, mouse, effectiveRatio(geometry), anchor);
            break;
    }
    r = clampToRatio(r, bounds, anchor, effectiveRatio(geometry));
    const Rect selection = geometry.windowToImage(r);
    if (selection == m_rect) {
        return false;
    }
    m_rect = selection;
    return true;
}

bool ImageSelection::release(WindowPoint point) {
    const bool click = !m_rect.empty() && m_grabbed == FramePart::None && point == m_press;
    m_grabbed = FramePart::None;
    if (click) {
        m_rect = {};
    }
    return click;
}

}  // namespace tarn
