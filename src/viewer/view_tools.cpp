#include "viewer/view_tools.h"

#include "viewer/view_geometry.h"

namespace tarn {

bool panBy(ViewGeometry& geometry, int dx, int dy) {
    if (geometry.displayWidth() <= geometry.clientWidth() &&
        geometry.displayHeight() <= geometry.clientHeight()) {
        return false;
    }
    const double x = geometry.scrollX();
    const double y = geometry.scrollY();
    geometry.setScroll(x - dx, y - dy);
    return x != geometry.scrollX() || y != geometry.scrollY();
}

bool zoomAtPoint(ViewGeometry& geometry, WindowPoint click, bool zoomIn) {
    if (!contains(geometry.displayedImage(), click)) {
        return false;
    }
    const PointF at = geometry.windowToImage(click.x, click.y);
    if (zoomIn) {
        geometry.zoomIn();
    } else {
        geometry.zoomOut();
    }
    const PointF now = geometry.imageToWindow(at.x, at.y);
    geometry.setScroll(geometry.scrollX() + now.x - geometry.clientWidth() / 2,
                       geometry.scrollY() + now.y - geometry.clientHeight() / 2);
    return true;
}

}  // namespace tarn
