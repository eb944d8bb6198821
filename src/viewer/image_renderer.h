#pragma once

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/dc.h>

#include <string>

#include "imaging/fip_super_image.h"
#include "viewer/view_geometry.h"

namespace tarn {

// Paints the image view's client area from its geometry: the backdrop around the image and the
// image by one of the three drawing paths (1:1 copy, the cached smoothed downscale, nearest
// neighbour of the visible part). Keeps the display cache between paints.
class ImageRenderer {
public:
    // image may be null (backdrop only). path identifies the image for the display cache.
    void paint(wxDC& dc, const ViewGeometry& geometry, const fipImage* image,
               const std::string& path, bool sliderDragging, const wxColour& backdrop);

    // Drops the display cache (the image changed).
    void invalidate();
    // Whether a smoothed rendering of width x height for path is held.
    bool hasCache(const std::string& path, int width, int height) const;

private:
    wxBitmap m_cache;
    std::string m_cachePath;
};

}  // namespace tarn
