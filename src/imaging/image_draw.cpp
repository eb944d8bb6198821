#include "imaging/image_draw.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/histogram.h"
#include "imaging/pixel_rows.h"

namespace tarn {

namespace {

FIBITMAP* bitmapOf(const fipImage& image) {
    // The library reads the bitmap only; fipImage gives it out through a non-const operator.
    return const_cast<fipImage&>(image);
}

// Nearest-neighbour scaling straight from the library's rows: only the rows and columns that
// are shown get converted.
wxImage sampled(FIBITMAP* source, int width, int height) {
    FreeImageBitmap holder;
    const PixelRowReader reader(readableBitmap(source, holder));
    if (!reader.valid()) {
        return wxImage();
    }
    const auto sourceWidth = static_cast<unsigned>(reader.width());
    const auto sourceHeight = static_cast<unsigned>(reader.height());
    wxImage result(width, height, false);
    if (!result.IsOk()) {
        return wxImage();
    }
    std::vector<int> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        columns[x] = static_cast<int>((static_cast<std::uint64_t>(x) * 2 + 1) * sourceWidth /
                                      (2 * static_cast<std::uint64_t>(width)));
    }
    const auto rowBytes = static_cast<std::size_t>(width) * 3;
    unsigned lastRow = sourceHeight;
    unsigned char* out = result.GetData();
    for (int y = 0; y < height; ++y, out += rowBytes) {
        const auto sourceRow =
            static_cast<unsigned>((static_cast<std::uint64_t>(y) * 2 + 1) * sourceHeight /
                                  (2 * static_cast<std::uint64_t>(height)));
        if (sourceRow == lastRow) {
            std::memcpy(out, out - rowBytes, rowBytes);
            continue;
        }
        reader.readColumns(static_cast<int>(sourceRow), columns.data(), width, out, nullptr);
        lastRow = sourceRow;
    }
    return result;
}

}  // namespace

wxImage toWxImage(const fipImage& image) {
    if (!image.isValid()) {
        return wxImage();
    }
    FreeImageBitmap holder;
    const PixelRowReader reader(readableBitmap(bitmapOf(image), holder));
    if (!reader.valid()) {
        return wxImage();
    }
    const int width = reader.width();
    const int height = reader.height();
    wxImage result(width, height, false);
    if (!result.IsOk()) {
        return wxImage();
    }
    const bool hasAlpha =
        reader.layout() == PixelLayout::Rgba64 || reader.layout() == PixelLayout::Rgba32;
    if (hasAlpha) {
        result.InitAlpha();
    }
    unsigned char* rgb = result.GetData();
    unsigned char* alpha = hasAlpha ? result.GetAlpha() : nullptr;
    for (int row = 0; row < height; ++row) {
        reader.readRow(row, rgb + static_cast<std::size_t>(row) * width * 3,
                       alpha != nullptr ? alpha + static_cast<std::size_t>(row) * width : nullptr);
    }
    return result;
}

wxBitmap toWxBitmap(const fipImage& image) {
    const wxImage converted = toWxImage(image);
    return converted.IsOk() ? wxBitmap(converted) : wxBitmap();
}

bool fromWxImage(const wxImage& source, fipImage& image) {
    if (!source.IsOk()) {
        return false;
    }
    const int width = source.GetWidth();
    const int height = source.GetHeight();
    const bool alpha = source.HasAlpha();
    FreeImageBitmap dib(FreeImage_Allocate(width, height, alpha ? 32 : 24));
    if (!dib) {
        return false;
    }
    const unsigned char* rgb = source.GetData();
    const unsigned char* a = alpha ? source.GetAlpha() : nullptr;
    PixelRowWriter writer(dib.get());
    for (int row = 0; row < height; ++row) {
        writer.writeRow(row, rgb + static_cast<std::size_t>(row) * width * 3,
                        a != nullptr ? a + static_cast<std::size_t>(row) * width : nullptr);
    }
    image = dib.release();
    return true;
}

bool drawEx(wxDC& dc, const wxRect& rect, const fipImage& image, bool useFileBackground,
            const RGBQUAD* appBackground, const fipImage* backgroundImage, StretchMode mode) {
    if (!image.isValid() || rect.width <= 0 || rect.height <= 0 || !dc.IsOk()) {
        return false;
    }
    FIBITMAP* dib = bitmapOf(image);
    FreeImageBitmap composed;
    const unsigned bpp = FreeImage_GetBPP(dib);
    if (FreeImage_GetImageType(dib) == FIT_BITMAP && (bpp == 8 || bpp == 32) &&
        FreeImage_IsTransparent(dib)) {
        FIBITMAP* background = nullptr;
        if (backgroundImage != nullptr && backgroundImage->isValid() &&
            backgroundImage->getWidth() == image.getWidth() &&
            backgroundImage->getHeight() == image.getHeight()) {
            background = bitmapOf(*backgroundImage);
        }
        RGBQUAD color = appBackground != nullptr ? *appBackground : RGBQUAD{};
        composed.reset(FreeImage_Composite(dib, useFileBackground ? TRUE : FALSE,
                                           appBackground != nullptr ? &color : nullptr,
                                           background));
        if (composed) {
            dib = composed.get();
        }
    }
    const auto width = static_cast<unsigned>(rect.width);
    const auto height = static_cast<unsigned>(rect.height);
    wxImage picture;
    const bool shrinking = width < FreeImage_GetWidth(dib) || height < FreeImage_GetHeight(dib);
    if (mode == StretchMode::Quality && shrinking) {
        // Filtering the library's pixels first leaves only the small result to convert.
        FreeImageBitmap scaled(FreeImage_Rescale(dib, rect.width, rect.height, FILTER_BILINEAR));
        if (scaled) {
            fipImage holder;
            holder = scaled.release();
            picture = toWxImage(holder);
        }
    }
    if (!picture.IsOk() && mode == StretchMode::Fast) {
        picture = sampled(dib, rect.width, rect.height);
    }
    if (!picture.IsOk()) {
        fipImage view;
        view = FreeImage_Clone(dib);
        picture = toWxImage(view);
        if (!picture.IsOk()) {
            return false;
        }
        if (picture.GetWidth() != rect.width || picture.GetHeight() != rect.height) {
            picture.Rescale(
                rect.width, rect.height,
                mode == StretchMode::Quality ? wxIMAGE_QUALITY_HIGH : wxIMAGE_QUALITY_NEAREST);
        }
    }
    dc.DrawBitmap(wxBitmap(picture), rect.x, rect.y, false);
    return true;
}

void drawRgbPicture(wxDC& dc, const RgbPicture& picture, int x, int y) {
    const std::size_t size = static_cast<std::size_t>(std::max(picture.width, 0)) *
                             static_cast<std::size_t>(std::max(picture.height, 0)) * 3;
    if (size == 0 || picture.pixels.size() < size) {
        return;
    }
    // Borrowed for the moment of the conversion: the bitmap gets its own copy.
    const wxImage image(picture.width, picture.height,
                        const_cast<unsigned char*>(picture.pixels.data()), true);
    dc.DrawBitmap(wxBitmap(image), x, y);
}

}  // namespace tarn
