#pragma once

#include "viewer/image_selection.h"

namespace tarn {

class ViewGeometry;

enum class ViewTool { Pan = 0, Select = 1, Zoom = 2 };

// The pan tool: the image follows the mouse by (dx, dy) when it is larger than the window in
// either direction. Returns whether it moved.
bool panBy(ViewGeometry& geometry, int dx, int dy);

// The zoom tool: one zoom step in or out, then the image point that was under the click comes
// to the window's centre. Nothing (false) when the click lies outside the displayed image.
bool zoomAtPoint(ViewGeometry& geometry, WindowPoint click, bool zoomIn);

}  // namespace tarn
