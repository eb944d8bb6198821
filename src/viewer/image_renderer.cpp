#include "viewer/image_renderer.h"

#include <wx/brush.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/image.h>
#include <wx/pen.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "common/rounding.h"
#include "imaging/area_downscale.h"
#include "imaging/image_draw.h"
#include "imaging/pixel_rows.h"

namespace tarn {

namespace {

FIBITMAP* bitmapOf(const fipImage& image) {
    // The library reads the bitmap only; fipImage gives it out through a non-const operator.
    return const_cast<fipImage&>(image);
}

// A piece with alpha laid on the file's background colour, else on a checkerboard.
wxImage flattened(const wxImage& piece, FIBITMAP* source) {
    fipImage layer;
    if (fromWxImage(piece, layer)) {
        RGBQUAD background{};
        if (FreeImage_GetBackgroundColor(source, &background)) {
            FreeImage_SetBackgroundColor(bitmapOf(layer), &background);
        }
        fipImage flat;
        flat = FreeImage_Composite(bitmapOf(layer), TRUE, nullptr, nullptr);
        if (flat.isValid()) {
            return toWxImage(flat);
        }
    }
    wxImage opaque = piece.Copy();
    opaque.ClearAlpha();
    return opaque;
}

// Whether the image's alpha is drawn over a background, as drawEx does.
bool drawnWithAlpha(FIBITMAP* dib) {
    const FREE_IMAGE_TYPE type = FreeImage_GetImageType(dib);
    if (type == FIT_RGBA16) {
        return FreeImage_IsTransparent(dib) != FALSE;
    }
    if (type != FIT_BITMAP) {
        return false;
    }
    const unsigned bpp = FreeImage_GetBPP(dib);
    if (bpp <= 8) {
        return FreeImage_IsTransparent(dib) && FreeImage_GetTransparencyCount(dib) > 0;
    }
    return bpp == 32 && FreeImage_IsTransparent(dib);
}

// Puts an opaque piece on the device context. Through the context's graphics layer when it has
// one: that converts the pixels once, where a wxBitmap converts them twice.
void drawPiece(wxDC& dc, const wxImage& piece, int x, int y) {
    if (wxGraphicsContext* gc = dc.GetGraphicsContext()) {
        const wxGraphicsBitmap bitmap = gc->CreateBitmapFromImage(piece);
        if (!bitmap.IsNull()) {
            gc->DrawBitmap(bitmap, x, y, piece.GetWidth(), piece.GetHeight());
            return;
        }
    }
    dc.DrawBitmap(wxBitmap(piece), x, y, false);
}

wxRect intersect(wxRect a, const wxRect& b) {
    a.Intersect(b);
    return a.width > 0 && a.height > 0 ? a : wxRect();
}

// The backdrop around the image rectangle; the whole client area when it is empty.
void fillBackdrop(wxDC& dc, const wxRect& client, wxRect image, const wxColour& colour) {
    image = intersect(image, client);
    // The caller's pen and brush come back afterwards (the selection frame is drawn next).
    const wxDCPenChanger pen(dc, *wxTRANSPARENT_PEN);
    const wxDCBrushChanger brush(dc, wxBrush(colour));
    if (image.IsEmpty()) {
        dc.DrawRectangle(client);
        return;
    }
    const wxRect bands[] = {
        {client.x, client.y, client.width, image.y - client.y},
        {client.x, image.GetBottom() + 1, client.width, client.GetBottom() - image.GetBottom()},
        {client.x, image.y, image.x - client.x, image.height},
        {image.GetRight() + 1, image.y, client.GetRight() - image.GetRight(), image.height},
    };
    for (const wxRect& band : bands) {
        if (band.width > 0 && band.height > 0) {
            dc.DrawRectangle(band);
        }
    }
}

}  // namespace

void ImageRenderer::paint(wxDC& dc, const ViewGeometry& geometry, const fipImage* image,
                          const std::string& path, bool sliderDragging, const wxColour& backdrop) {
    const wxRect client(0, 0, geometry.clientWidth(), geometry.clientHeight());
    if (client.IsEmpty()) {
        return;
    }
    wxRect drawn;
    const DrawPath how = geometry.drawPath(sliderDragging);
    if (how != DrawPath::None && image != nullptr && image->isValid()) {
        try {
            const Source pixels = source(*image, path);
            if (pixels.dib != nullptr) {
                drawn = how == DrawPath::HighQuality ? drawCached(dc, geometry, pixels, path)
                                                     : drawSampled(dc, geometry, pixels);
            }
        } catch (const std::bad_alloc&) {
            // Out of memory for the pixels: the backdrop alone, and what was held let go.
            invalidate();
            m_pieceRgb = {};
            m_pieceAlpha = {};
            drawn = wxRect();
        }
    }
    fillBackdrop(dc, client, drawn, backdrop);
}

void ImageRenderer::invalidate() {
    dropCache();
    m_converted.reset();
    m_convertedFrom = nullptr;
    m_convertedPath.clear();
    m_source = {};
}

bool ImageRenderer::hasCache(const std::string& path, int width, int height) const {
    return (m_cache.IsOk() || !m_cacheGraphics.IsNull()) && m_cachePath == path &&
           m_cacheSize == wxSize(width, height);
}

void ImageRenderer::dropCache() {
    m_cache = wxBitmap();
    m_cacheGraphics = wxGraphicsBitmap();
    m_cacheSize = wxSize();
    m_cachePath.clear();
}

ImageRenderer::Source ImageRenderer::source(const fipImage& image, const std::string& path) {
    FIBITMAP* dib = bitmapOf(image);
    if (m_source.dib != nullptr && m_convertedFrom == dib && m_convertedPath == path) {
        return m_source;
    }
    m_converted.reset();
    m_convertedFrom = dib;
    m_convertedPath = path;
    m_source.dib = readableBitmap(dib, m_converted);
    m_source.alpha = m_source.dib != nullptr && drawnWithAlpha(m_source.dib);
    return m_source;
}

wxRect ImageRenderer::drawCached(wxDC& dc, const ViewGeometry& geometry, const Source& source,
                                 const std::string& path) {
    const int width = geometry.displayWidth();
    const int height = geometry.displayHeight();
    if (width <= 0 || height <= 0) {
        return {};
    }
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    const bool held = hasCache(path, width, height) &&
                      (gc != nullptr ? !m_cacheGraphics.IsNull() : m_cache.IsOk());
    if (!held) {
        dropCache();
        const auto area = static_cast<std::size_t>(width) * height;
        m_pieceRgb.resize(area * 3);
        m_pieceAlpha.resize(source.alpha ? area : 0);
        const PixelRowReader reader(source.dib);
        downscaleArea(reader, width, height, m_pieceRgb.data(),
                      source.alpha ? m_pieceAlpha.data() : nullptr,
                      downscaleThreads(reader.width(), reader.height(), height));
        wxImage smooth;
        smooth.SetData(m_pieceRgb.data(), width, height, true);
        if (source.alpha) {
            smooth.SetAlpha(m_pieceAlpha.data(), true);
            smooth = flattened(smooth, source.dib);
        }
        // A graphics bitmap is converted for drawing once, here; a wxBitmap on every draw.
        if (gc != nullptr) {
            m_cacheGraphics = gc->CreateBitmapFromImage(smooth);
        } else {
            m_cache = wxBitmap(smooth);
        }
        if (m_cacheGraphics.IsNull() && !m_cache.IsOk()) {
            return {};
        }
        m_cacheSize = wxSize(width, height);
        m_cachePath = path;
        if (area > static_cast<std::size_t>(geometry.clientWidth()) * geometry.clientHeight()) {
            // Kept for the next piece only when it is no bigger than the window.
            m_pieceRgb = {};
            m_pieceAlpha = {};
        }
    }
    // The whole cache when it fits the client area, else the client-sized part at the scroll
    // offsets.
    const Placement placement = geometry.placement();
    const auto axis = [](int display, int client, double scroll, int destStart, int& dest,
                         int& from, int& extent) {
        if (display <= client) {
            dest = destStart;
            from = 0;
            extent = display;
        } else {
            dest = 0;
            from = std::clamp(roundToInt(scroll), 0, display - client);
            extent = client;
        }
    };
    wxRect target;
    wxPoint from;
    axis(width, geometry.clientWidth(), geometry.scrollX(), placement.x.destStart, target.x, from.x,
         target.width);
    axis(height, geometry.clientHeight(), geometry.scrollY(), placement.y.destStart, target.y,
         from.y, target.height);
    if (gc != nullptr && !m_cacheGraphics.IsNull()) {
        gc->PushState();
        gc->Clip(target.x, target.y, target.width, target.height);
        gc->DrawBitmap(m_cacheGraphics, target.x - from.x, target.y - from.y, width, height);
        gc->PopState();
    } else if (from.x == 0 && from.y == 0 && target.width == width && target.height == height) {
        dc.DrawBitmap(m_cache, target.x, target.y, false);
    } else {
        wxMemoryDC memory;
        memory.SelectObjectAsSource(m_cache);
        dc.Blit(target.x, target.y, target.width, target.height, &memory, from.x, from.y);
    }
    return target;
}

wxRect ImageRenderer::drawSampled(wxDC& dc, const ViewGeometry& geometry, const Source& source) {
    const Placement placement = geometry.placement();
    const AxisPlacement& px = placement.x;
    const AxisPlacement& py = placement.y;
    if (px.destExtent <= 0 || py.destExtent <= 0 || px.srcExtent <= 0 || py.srcExtent <= 0) {
        return {};
    }
    const wxRect target =
        intersect(wxRect(px.destStart, py.destStart, px.destExtent, py.destExtent),
                  wxRect(0, 0, geometry.clientWidth(), geometry.clientHeight()));
    if (target.IsEmpty()) {
        return {};
    }
    const PixelRowReader reader(source.dib);
    // Destination pixel to source pixel, stretching the source span over the destination span.
    const auto sourceIndices = [](const AxisPlacement& p, int start, int count, int limit) {
        std::vector<int> indices(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            const std::int64_t offset =
                static_cast<std::int64_t>(start + i - p.destStart) * p.srcExtent / p.destExtent;
            indices[i] = std::clamp(static_cast<int>(p.srcStart + offset), 0, limit - 1);
        }
        return indices;
    };
    const std::vector<int> columns = sourceIndices(px, target.x, target.width, reader.width());
    const std::vector<int> rows = sourceIndices(py, target.y, target.height, reader.height());

    const auto area = static_cast<std::size_t>(target.width) * target.height;
    m_pieceRgb.resize(area * 3);
    m_pieceAlpha.resize(source.alpha ? area : 0);
    wxImage piece;
    piece.SetData(m_pieceRgb.data(), target.width, target.height, true);
    if (!piece.IsOk()) {
        return {};
    }
    if (source.alpha) {
        piece.SetAlpha(m_pieceAlpha.data(), true);
    }
    const auto rgbRow = static_cast<std::size_t>(target.width) * 3;
    unsigned char* rgb = m_pieceRgb.data();
    unsigned char* alpha = source.alpha ? m_pieceAlpha.data() : nullptr;
    // Actual size: straight runs of the rows (the columns never go back).
    const bool straight = columns.back() - columns.front() == target.width - 1;
    for (int y = 0; y < target.height; ++y) {
        unsigned char* outRgb = rgb + rgbRow * y;
        unsigned char* outAlpha =
            alpha != nullptr ? alpha + static_cast<std::size_t>(target.width) * y : nullptr;
        if (y > 0 && rows[y] == rows[y - 1]) {
            // Enlarged: the row repeats the one above.
            std::memcpy(outRgb, outRgb - rgbRow, rgbRow);
            if (outAlpha != nullptr) {
                std::memcpy(outAlpha, outAlpha - target.width, target.width);
            }
            continue;
        }
        if (straight) {
            reader.readSpan(rows[y], columns.front(), target.width, outRgb, outAlpha);
        } else {
            reader.readColumns(rows[y], columns.data(), target.width, outRgb, outAlpha);
        }
    }
    drawPiece(dc, source.alpha ? flattened(piece, source.dib) : piece, target.x, target.y);
    return target;
}

}  // namespace tarn
