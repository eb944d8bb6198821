#pragma once

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/dc.h>
#include <wx/graphics.h>

#include <string>
#include <vector>

#include "imaging/fip_super_image.h"
#include "imaging/freeimage_ptr.h"
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

    // Drops the display cache and any converted copy of the image (the image changed).
    void invalidate();
    // Whether a smoothed rendering of width x height for path is held.
    bool hasCache(const std::string& path, int width, int height) const;

private:
    // The image's pixels in a form the scalers read directly.
    struct Source {
        FIBITMAP* dib = nullptr;
        bool alpha = false;  // drawn over the file's background colour or a checkerboard
    };
    Source source(const fipImage& image, const std::string& path);
    wxRect drawCached(wxDC& dc, const ViewGeometry& geometry, const Source& source,
                      const std::string& path);
    wxRect drawSampled(wxDC& dc, const ViewGeometry& geometry, const Source& source);
    void dropCache();

    // The display cache: a graphics bitmap when the device context has a graphics layer (GTK 3
    // always), else a wxBitmap.
    wxBitmap m_cache;
    wxGraphicsBitmap m_cacheGraphics;
    wxSize m_cacheSize;
    std::string m_cachePath;

    // A converted copy for types the scalers do not read (float, 16-bit 565, ...), with the
    // bitmap and path it was made from.
    FreeImageBitmap m_converted;
    const FIBITMAP* m_convertedFrom = nullptr;
    std::string m_convertedPath;
    Source m_source;

    // The pixels of the last sampled piece, kept so that a repaint does not allocate them anew.
    std::vector<unsigned char> m_pieceRgb;
    std::vector<unsigned char> m_pieceAlpha;
};

}  // namespace tarn
