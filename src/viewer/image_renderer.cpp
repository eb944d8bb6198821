#include "viewer/image_renderer.h"

#include <wx/brush.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/image.h>
#include <wx/pen.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <numeric>
#include <system_error>
#include <thread>
#include <vector>

#include "common/rounding.h"
#include "imaging/image_draw.h"

namespace tarn {

namespace {

FIBITMAP* bitmapOf(const fipImage& image) {
    // The library reads the bitmap only; fipImage gives it out through a non-const operator.
    return const_cast<fipImage&>(image);
}

// Reads the pixels of a bitmap that readableBitmap accepts as RGB bytes (and alpha), at chosen
// columns of a row, without converting the rest of the image.
class PixelReader {
public:
    PixelReader(FIBITMAP* dib, bool alpha)
        : m_dib(dib),
          m_width(static_cast<int>(FreeImage_GetWidth(dib))),
          m_height(static_cast<int>(FreeImage_GetHeight(dib))),
          m_bpp(FreeImage_GetBPP(dib)),
          m_alpha(alpha) {
        switch (FreeImage_GetImageType(dib)) {
            case FIT_UINT16:
                m_layout = Layout::Grey16;
                break;
            case FIT_RGB16:
                m_layout = Layout::Rgb48;
                break;
            case FIT_RGBA16:
                m_layout = Layout::Rgba64;
                break;
            default:
                m_layout = m_bpp <= 8    ? Layout::Palette
                           : m_bpp == 24 ? Layout::Rgb24
                                         : Layout::Rgba32;
                break;
        }
        if (m_layout == Layout::Palette) {
            // Room for every index a corrupt pixel could hold; alpha kept in rgbReserved.
            const unsigned colors = std::min(FreeImage_GetColorsUsed(dib), 256u);
            if (const RGBQUAD* palette = FreeImage_GetPalette(dib)) {
                std::memcpy(m_lookup, palette, colors * sizeof(RGBQUAD));
            }
            const unsigned transparent =
                alpha ? std::min<unsigned>(FreeImage_GetTransparencyCount(dib), 256u) : 0;
            const BYTE* table = FreeImage_GetTransparencyTable(dib);
            for (unsigned i = 0; i < 256; ++i) {
                m_lookup[i].rgbReserved = i < transparent && table != nullptr ? table[i] : 255;
            }
        }
    }

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool alpha() const { return m_alpha; }

    // The colour bytes of a row as they lie in the bitmap, for 24- and 32-bit bitmaps; null for
    // the other layouts. step is the distance between pixels.
    const unsigned char* directRow(int row, int& step) const {
        if (m_layout != Layout::Rgb24 && m_layout != Layout::Rgba32) {
            return nullptr;
        }
        step = m_layout == Layout::Rgb24 ? 3 : 4;
        return scanLine(row);
    }

    // Writes count pixels of the row (counted from the top) at the given columns: three bytes
    // each to rgb, and one each to alpha when alpha is not null.
    void sample(int row, const int* columns, int count, unsigned char* rgb,
                unsigned char* alpha) const {
        const BYTE* line = scanLine(row);
        switch (m_layout) {
            case Layout::Palette:
                samplePalette(line, columns, count, rgb, alpha);
                return;
            case Layout::Rgb24:
            case Layout::Rgba32: {
                const int step = m_layout == Layout::Rgb24 ? 3 : 4;
                if (count > 0 && columns[count - 1] - columns[0] == count - 1) {
                    // Actual size: a straight run of the line.
                    sampleRun(line + static_cast<std::ptrdiff_t>(columns[0]) * step, step, count,
                              rgb, alpha);
                    return;
                }
                for (int i = 0; i < count; ++i, rgb += 3) {
                    const BYTE* p = line + static_cast<std::ptrdiff_t>(columns[i]) * step;
                    rgb[0] = p[FI_RGBA_RED];
                    rgb[1] = p[FI_RGBA_GREEN];
                    rgb[2] = p[FI_RGBA_BLUE];
                }
                if (alpha != nullptr && step == 4) {
                    for (int i = 0; i < count; ++i) {
                        alpha[i] =
                            line[static_cast<std::ptrdiff_t>(columns[i]) * 4 + FI_RGBA_ALPHA];
                    }
                }
                return;
            }
            case Layout::Grey16: {
                const auto* in = reinterpret_cast<const WORD*>(line);
                for (int i = 0; i < count; ++i, rgb += 3) {
                    rgb[0] = rgb[1] = rgb[2] = static_cast<unsigned char>(in[columns[i]] >> 8);
                }
                return;
            }
            case Layout::Rgb48: {
                const auto* in = reinterpret_cast<const FIRGB16*>(line);
                for (int i = 0; i < count; ++i, rgb += 3) {
                    const FIRGB16& c = in[columns[i]];
                    rgb[0] = static_cast<unsigned char>(c.red >> 8);
                    rgb[1] = static_cast<unsigned char>(c.green >> 8);
                    rgb[2] = static_cast<unsigned char>(c.blue >> 8);
                }
                return;
            }
            case Layout::Rgba64: {
                const auto* in = reinterpret_cast<const FIRGBA16*>(line);
                for (int i = 0; i < count; ++i, rgb += 3) {
                    const FIRGBA16& c = in[columns[i]];
                    rgb[0] = static_cast<unsigned char>(c.red >> 8);
                    rgb[1] = static_cast<unsigned char>(c.green >> 8);
                    rgb[2] = static_cast<unsigned char>(c.blue >> 8);
                    if (alpha != nullptr) {
                        alpha[i] = static_cast<unsigned char>(c.alpha >> 8);
                    }
                }
                return;
            }
        }
    }

private:
    enum class Layout { Palette, Rgb24, Rgba32, Grey16, Rgb48, Rgba64 };

    const BYTE* scanLine(int row) const {
        // The library stores rows bottom-up.
        return FreeImage_GetScanLine(m_dib, m_height - 1 - row);
    }

    static void sampleRun(const BYTE* p, int step, int count, unsigned char* rgb,
                          unsigned char* alpha) {
        if (step == 3) {
            for (int i = 0; i < count; ++i, p += 3, rgb += 3) {
                rgb[0] = p[FI_RGBA_RED];
                rgb[1] = p[FI_RGBA_GREEN];
                rgb[2] = p[FI_RGBA_BLUE];
            }
            return;
        }
        for (int i = 0; i < count; ++i, p += 4, rgb += 3) {
            rgb[0] = p[FI_RGBA_RED];
            rgb[1] = p[FI_RGBA_GREEN];
            rgb[2] = p[FI_RGBA_BLUE];
            if (alpha != nullptr) {
                alpha[i] = p[FI_RGBA_ALPHA];
            }
        }
    }

    void samplePalette(const BYTE* line, const int* columns, int count, unsigned char* rgb,
                       unsigned char* alpha) const {
        const unsigned mask = (1u << m_bpp) - 1;
        for (int i = 0; i < count; ++i, rgb += 3) {
            unsigned index = 0;
            if (m_bpp == 8) {
                index = line[columns[i]];
            } else {
                const unsigned bit = static_cast<unsigned>(columns[i]) * m_bpp;
                index = (line[bit / 8] >> (8 - m_bpp - bit % 8)) & mask;
            }
            const RGBQUAD& c = m_lookup[index];
            rgb[0] = c.rgbRed;
            rgb[1] = c.rgbGreen;
            rgb[2] = c.rgbBlue;
            if (alpha != nullptr) {
                alpha[i] = c.rgbReserved;
            }
        }
    }

    FIBITMAP* m_dib;
    int m_width;
    int m_height;
    unsigned m_bpp;
    bool m_alpha;
    Layout m_layout = Layout::Rgb24;
    RGBQUAD m_lookup[256] = {};
};

// Box-filter (area average) weights from source to target pixels along one axis. Each target
// pixel covers source/target source pixels; the weights of one target pixel add up to kOne.
struct AxisWeights {
    static constexpr int kShift = 14;
    static constexpr std::uint32_t kOne = 1u << kShift;
    std::vector<int> first;   // first source pixel of each target pixel
    std::vector<int> count;   // how many source pixels it covers
    std::vector<int> offset;  // where its weights start in weight
    std::vector<std::uint16_t> weight;

    AxisWeights(int source, int target) {
        first.resize(static_cast<std::size_t>(target));
        count.resize(first.size());
        offset.resize(first.size());
        weight.reserve(static_cast<std::size_t>(source) + 2 * static_cast<std::size_t>(target));
        const double scale = static_cast<double>(source) / target;
        for (int i = 0; i < target; ++i) {
            const double a = i * scale;
            const double b = std::min<double>(source, (i + 1) * scale);
            const int from = std::min(static_cast<int>(a), source - 1);
            const int to = std::clamp(static_cast<int>(std::ceil(b)), from + 1, source);
            first[i] = from;
            count[i] = to - from;
            offset[i] = static_cast<int>(weight.size());
            // Cumulative rounding keeps the sum exact.
            std::uint32_t done = 0;
            for (int j = from; j < to; ++j) {
                const double covered = std::min<double>(b, j + 1) - a;
                const auto cumulative =
                    j + 1 == to ? kOne
                                : static_cast<std::uint32_t>(std::lround(covered / (b - a) * kOne));
                weight.push_back(static_cast<std::uint16_t>(cumulative - done));
                done = cumulative;
            }
        }
    }
};

// Adds a source row, weighted, into the running column sums of one target row.
void accumulate(const unsigned char* row, std::size_t bytes, std::uint32_t weight,
                std::uint32_t* sums) {
    for (std::size_t i = 0; i < bytes; ++i) {
        sums[i] += weight * row[i];
    }
}

// Averages the column sums of one target row across to the target width. The sums carry the
// weights of one axis (kShift bits); the result carries those of both.
void averageAcross(const std::uint32_t* sums, int step, int red, int green, int blue,
                   const std::uint32_t* alphaSums, int alphaStep, const AxisWeights& across,
                   unsigned char* rgb, unsigned char* alpha) {
    constexpr int kShift = 2 * AxisWeights::kShift;
    constexpr std::uint64_t kRound = std::uint64_t{1} << (kShift - 1);
    const int target = static_cast<int>(across.first.size());
    for (int x = 0; x < target; ++x, rgb += 3) {
        const std::uint16_t* w = &across.weight[static_cast<std::size_t>(across.offset[x])];
        const int n = across.count[x];
        const std::uint32_t* p = sums + static_cast<std::ptrdiff_t>(across.first[x]) * step;
        std::uint64_t r = 0, g = 0, b = 0;
        for (int k = 0; k < n; ++k, p += step) {
            r += std::uint64_t{w[k]} * p[red];
            g += std::uint64_t{w[k]} * p[green];
            b += std::uint64_t{w[k]} * p[blue];
        }
        rgb[0] = static_cast<unsigned char>((r + kRound) >> kShift);
        rgb[1] = static_cast<unsigned char>((g + kRound) >> kShift);
        rgb[2] = static_cast<unsigned char>((b + kRound) >> kShift);
        if (alpha != nullptr) {
            const std::uint32_t* q =
                alphaSums + static_cast<std::ptrdiff_t>(across.first[x]) * alphaStep;
            std::uint64_t a = 0;
            for (int k = 0; k < n; ++k, q += alphaStep) {
                a += std::uint64_t{w[k]} * *q;
            }
            alpha[x] = static_cast<unsigned char>((a + kRound) >> kShift);
        }
    }
}

// Averages the target rows [top, bottom) of the whole image into the RGB (and alpha) planes of
// the target image: first down, summing whole source rows (a plain loop the compiler
// vectorises), then across each summed row.
void downscaleRows(const PixelReader& reader, const AxisWeights& across, const AxisWeights& down,
                   int top, int bottom, unsigned char* rgb, unsigned char* alpha) {
    const int target = static_cast<int>(across.first.size());
    const auto sourceWidth = static_cast<std::size_t>(reader.width());
    int step = 0;
    const bool direct = reader.directRow(0, step) != nullptr;
    // Layouts other than plain 24/32-bit pass through a converted copy of each row.
    std::vector<int> identity;
    std::vector<unsigned char> rowRgb;
    std::vector<unsigned char> rowAlpha;
    if (!direct) {
        step = 3;
        identity.resize(sourceWidth);
        std::iota(identity.begin(), identity.end(), 0);
        rowRgb.resize(sourceWidth * 3);
        rowAlpha.resize(alpha != nullptr ? sourceWidth : 0);
    }
    const std::size_t rowBytes = sourceWidth * step;
    std::vector<std::uint32_t> sums(rowBytes);
    std::vector<std::uint32_t> alphaSums(direct ? 0 : rowAlpha.size());

    for (int y = top; y < bottom; ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        std::fill(alphaSums.begin(), alphaSums.end(), 0u);
        const std::uint16_t* w = &down.weight[static_cast<std::size_t>(down.offset[y])];
        for (int k = 0; k < down.count[y]; ++k) {
            if (w[k] == 0) {
                continue;
            }
            const int row = down.first[y] + k;
            if (direct) {
                accumulate(reader.directRow(row, step), rowBytes, w[k], sums.data());
                continue;
            }
            reader.sample(row, identity.data(), reader.width(), rowRgb.data(),
                          alphaSums.empty() ? nullptr : rowAlpha.data());
            accumulate(rowRgb.data(), rowBytes, w[k], sums.data());
            if (!alphaSums.empty()) {
                accumulate(rowAlpha.data(), sourceWidth, w[k], alphaSums.data());
            }
        }
        unsigned char* outRgb = rgb + static_cast<std::size_t>(y) * target * 3;
        unsigned char* outAlpha =
            alpha != nullptr ? alpha + static_cast<std::size_t>(y) * target : nullptr;
        if (direct) {
            averageAcross(sums.data(), step, FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE,
                          sums.data() + FI_RGBA_ALPHA, step, across, outRgb, outAlpha);
        } else {
            averageAcross(sums.data(), 3, 0, 1, 2, alphaSums.data(), 1, across, outRgb, outAlpha);
        }
    }
}

// Averages (or stretches) the whole image to width x height into the given RGB and, for an
// image with alpha, alpha planes; on several threads for big images.
void downscale(const PixelReader& reader, int width, int height, unsigned char* rgb,
               unsigned char* alpha) {
    const AxisWeights across(reader.width(), width);
    const AxisWeights down(reader.height(), height);
    const std::int64_t work = static_cast<std::int64_t>(reader.width()) * reader.height();
    const int threads =
        work < 1'000'000
            ? 1
            : static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u,
                                          std::min(8u, static_cast<unsigned>(height))));
    std::vector<std::thread> workers;
    for (int i = 1; i < threads; ++i) {
        const int top = height * i / threads;
        const int bottom = height * (i + 1) / threads;
        try {
            workers.emplace_back(downscaleRows, std::cref(reader), std::cref(across),
                                 std::cref(down), top, bottom, rgb, alpha);
        } catch (const std::system_error&) {
            downscaleRows(reader, across, down, top, bottom, rgb, alpha);  // no thread to be had
        }
    }
    downscaleRows(reader, across, down, 0, height / threads, rgb, alpha);
    for (std::thread& worker : workers) {
        worker.join();
    }
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
        downscale(PixelReader(source.dib, source.alpha), width, height, m_pieceRgb.data(),
                  source.alpha ? m_pieceAlpha.data() : nullptr);
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
    const PixelReader reader(source.dib, source.alpha);
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
        reader.sample(rows[y], columns.data(), target.width, outRgb, outAlpha);
    }
    drawPiece(dc, source.alpha ? flattened(piece, source.dib) : piece, target.x, target.y);
    return target;
}

}  // namespace tarn
