#include "imaging/image_draw.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/jpeg_codec.h"

namespace tarn {

namespace {

FIBITMAP* bitmapOf(const fipImage& image) {
    // The library reads the bitmap only; fipImage gives it out through a non-const operator.
    return const_cast<fipImage&>(image);
}

// A bitmap the row copier below reads directly, converting the types it does not.
FIBITMAP* readable(FIBITMAP* dib, FreeImageBitmap& holder) {
    switch (FreeImage_GetImageType(dib)) {
        case FIT_BITMAP:
            if (FreeImage_GetBPP(dib) == 16) {
                holder.reset(FreeImage_ConvertTo24Bits(dib));
                return holder.get();
            }
            return dib;
        case FIT_UINT16:
        case FIT_RGB16:
        case FIT_RGBA16:
            return dib;
        case FIT_RGBF:
            holder.reset(FreeImage_ToneMapping(dib, FITMO_DRAGO03));
            return holder.get();
        case FIT_RGBAF: {
            const FreeImageBitmap rgb(FreeImage_ConvertToRGBF(dib));
            holder.reset(rgb ? FreeImage_ToneMapping(rgb.get(), FITMO_DRAGO03) : nullptr);
            return holder.get();
        }
        default:
            holder.reset(FreeImage_ConvertToStandardType(dib, TRUE));
            return holder.get();
    }
}

void copyRow(FIBITMAP* dib, unsigned y, const RGBQUAD* lookup, unsigned char* rgb,
             unsigned char* alpha) {
    const unsigned width = FreeImage_GetWidth(dib);
    const BYTE* line = FreeImage_GetScanLine(dib, static_cast<int>(y));
    switch (FreeImage_GetImageType(dib)) {
        case FIT_UINT16: {
            const auto* in = reinterpret_cast<const WORD*>(line);
            for (unsigned x = 0; x < width; ++x, rgb += 3) {
                rgb[0] = rgb[1] = rgb[2] = static_cast<unsigned char>(in[x] >> 8);
            }
            return;
        }
        case FIT_RGB16: {
            const auto* in = reinterpret_cast<const FIRGB16*>(line);
            for (unsigned x = 0; x < width; ++x, rgb += 3) {
                rgb[0] = static_cast<unsigned char>(in[x].red >> 8);
                rgb[1] = static_cast<unsigned char>(in[x].green >> 8);
                rgb[2] = static_cast<unsigned char>(in[x].blue >> 8);
            }
            return;
        }
        case FIT_RGBA16: {
            const auto* in = reinterpret_cast<const FIRGBA16*>(line);
            for (unsigned x = 0; x < width; ++x, rgb += 3) {
                rgb[0] = static_cast<unsigned char>(in[x].red >> 8);
                rgb[1] = static_cast<unsigned char>(in[x].green >> 8);
                rgb[2] = static_cast<unsigned char>(in[x].blue >> 8);
                alpha[x] = static_cast<unsigned char>(in[x].alpha >> 8);
            }
            return;
        }
        default:
            break;
    }
    const unsigned bpp = FreeImage_GetBPP(dib);
    if (bpp <= 8) {
        const unsigned mask = (1u << bpp) - 1;
        for (unsigned x = 0; x < width; ++x, rgb += 3) {
            const unsigned bit = x * bpp;
            const RGBQUAD& c = lookup[(line[bit / 8] >> (8 - bpp - bit % 8)) & mask];
            rgb[0] = c.rgbRed;
            rgb[1] = c.rgbGreen;
            rgb[2] = c.rgbBlue;
        }
        return;
    }
    const unsigned step = bpp / 8;
    for (unsigned x = 0; x < width; ++x, rgb += 3, line += step) {
        rgb[0] = line[FI_RGBA_RED];
        rgb[1] = line[FI_RGBA_GREEN];
        rgb[2] = line[FI_RGBA_BLUE];
        if (alpha != nullptr && step == 4) {
            alpha[x] = line[FI_RGBA_ALPHA];
        }
    }
}

// Nearest-neighbour scaling straight from the library's rows: only the rows and columns that
// are shown get converted.
wxImage sampled(FIBITMAP* source, int width, int height) {
    FreeImageBitmap holder;
    FIBITMAP* dib = readable(source, holder);
    if (dib == nullptr) {
        return wxImage();
    }
    const unsigned sourceWidth = FreeImage_GetWidth(dib);
    const unsigned sourceHeight = FreeImage_GetHeight(dib);
    wxImage result(width, height, false);
    if (!result.IsOk()) {
        return wxImage();
    }
    RGBQUAD lookup[256] = {};
    if (FreeImage_GetImageType(dib) == FIT_BITMAP && FreeImage_GetBPP(dib) <= 8) {
        const unsigned colors = std::min(FreeImage_GetColorsUsed(dib), 256u);
        std::memcpy(lookup, FreeImage_GetPalette(dib), colors * sizeof(RGBQUAD));
    }
    std::vector<unsigned> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        columns[x] = static_cast<unsigned>((static_cast<std::uint64_t>(x) * 2 + 1) * sourceWidth /
                                           (2 * static_cast<std::uint64_t>(width)));
    }
    std::vector<unsigned char> row(static_cast<std::size_t>(sourceWidth) * 3);
    std::vector<unsigned char> alphaRow(sourceWidth);
    unsigned lastRow = sourceHeight;
    unsigned char* out = result.GetData();
    for (int y = 0; y < height; ++y) {
        const auto sourceRow =
            static_cast<unsigned>((static_cast<std::uint64_t>(y) * 2 + 1) * sourceHeight /
                                  (2 * static_cast<std::uint64_t>(height)));
        if (sourceRow != lastRow) {
            copyRow(dib, sourceHeight - 1 - sourceRow, lookup, row.data(), alphaRow.data());
            lastRow = sourceRow;
        }
        for (int x = 0; x < width; ++x, out += 3) {
            std::memcpy(out, &row[columns[x] * 3], 3);
        }
    }
    return result;
}

}  // namespace

FIBITMAP* readableBitmap(FIBITMAP* dib, FreeImageBitmap& holder) {
    return dib != nullptr ? readable(dib, holder) : nullptr;
}

wxImage toWxImage(const fipImage& image) {
    if (!image.isValid()) {
        return wxImage();
    }
    FreeImageBitmap holder;
    FIBITMAP* dib = readable(bitmapOf(image), holder);
    if (dib == nullptr) {
        return wxImage();
    }
    const unsigned width = FreeImage_GetWidth(dib);
    const unsigned height = FreeImage_GetHeight(dib);
    wxImage result(static_cast<int>(width), static_cast<int>(height), false);
    if (!result.IsOk()) {
        return wxImage();
    }
    const FREE_IMAGE_TYPE type = FreeImage_GetImageType(dib);
    const bool hasAlpha = type == FIT_RGBA16 || (type == FIT_BITMAP && FreeImage_GetBPP(dib) == 32);
    if (hasAlpha) {
        result.InitAlpha();
    }
    // Palette lookup with room for every index a corrupt pixel could hold.
    RGBQUAD lookup[256] = {};
    if (type == FIT_BITMAP && FreeImage_GetBPP(dib) <= 8) {
        const unsigned colors = std::min(FreeImage_GetColorsUsed(dib), 256u);
        std::memcpy(lookup, FreeImage_GetPalette(dib), colors * sizeof(RGBQUAD));
    }
    unsigned char* rgb = result.GetData();
    unsigned char* alpha = hasAlpha ? result.GetAlpha() : nullptr;
    for (unsigned row = 0; row < height; ++row) {
        // wxImage rows run top-down, the library's bottom-up.
        copyRow(dib, height - 1 - row, lookup, rgb + static_cast<std::size_t>(row) * width * 3,
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
    const int step = alpha ? 4 : 3;
    for (int row = 0; row < height; ++row) {
        BYTE* out = FreeImage_GetScanLine(dib.get(), height - 1 - row);
        const unsigned char* in = rgb + static_cast<std::size_t>(row) * width * 3;
        for (int x = 0; x < width; ++x, out += step, in += 3) {
            out[FI_RGBA_RED] = in[0];
            out[FI_RGBA_GREEN] = in[1];
            out[FI_RGBA_BLUE] = in[2];
            if (a != nullptr) {
                out[FI_RGBA_ALPHA] = a[static_cast<std::size_t>(row) * width + x];
            }
        }
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

bool copyToClipboard(const fipImage& image) {
    const wxBitmap bitmap = toWxBitmap(image);
    if (!bitmap.IsOk() || !wxTheClipboard->Open()) {
        return false;
    }
    const bool ok = wxTheClipboard->SetData(new wxBitmapDataObject(bitmap));
    wxTheClipboard->Close();
    return ok;
}

bool pasteFromClipboard(fipImage& image) {
    if (!wxTheClipboard->Open()) {
        return false;
    }
    bool ok = false;
    if (wxTheClipboard->IsSupported(wxDF_BITMAP)) {
        wxBitmapDataObject data;
        if (wxTheClipboard->GetData(data) && data.GetBitmap().IsOk()) {
            ok = fromWxImage(data.GetBitmap().ConvertToImage(), image);
        }
    }
    wxTheClipboard->Close();
    return ok;
}

bool cutToClipboard(fipSuperImage& image, int left, int top, int width, int height, RGBQUAD color) {
    if (!image.isValid() || width <= 0 || height <= 0) {
        return false;
    }
    const int right = static_cast<int>(
        std::min<long long>(static_cast<long long>(left) + width, image.getWidth()));
    const int bottom = static_cast<int>(
        std::min<long long>(static_cast<long long>(top) + height, image.getHeight()));
    left = std::max(left, 0);
    top = std::max(top, 0);
    fipImage piece;
    // The picture is cleared only once its piece is safely on the clipboard.
    if (left >= right || top >= bottom || !image.copySubImage(piece, left, top, right, bottom) ||
        !copyToClipboard(piece)) {
        return false;
    }
    return image.clearSubImage(left, top, right - left, bottom - top, color);
}

}  // namespace tarn
