#include <algorithm>

#include "common/rounding.h"
#include "imaging/fip_super_image.h"
#include "imaging/standard_bitmap.h"

namespace tarn {

namespace {

FreeImageBitmap thumbnailOf(FIBITMAP* src, unsigned width, unsigned height, bool convert) {
    if (src == nullptr || width == 0 || height == 0) {
        return nullptr;
    }
    FreeImageBitmap standard;
    if (convert && FreeImage_GetImageType(src) != FIT_BITMAP) {
        standard = toStandard(src);
        if (!standard) {
            return nullptr;
        }
        src = standard.get();
    }
    unsigned fitWidth = 0;
    unsigned fitHeight = 0;
    fitInside(FreeImage_GetWidth(src), FreeImage_GetHeight(src), width, height, fitWidth,
              fitHeight);
    if (fitWidth == FreeImage_GetWidth(src) && fitHeight == FreeImage_GetHeight(src)) {
        return standard ? std::move(standard) : FreeImageBitmap(FreeImage_Clone(src));
    }
    return FreeImageBitmap(FreeImage_Rescale(src, static_cast<int>(fitWidth),
                                             static_cast<int>(fitHeight), FILTER_BILINEAR));
}
}  // namespace

void fitInside(unsigned width, unsigned height, unsigned boxWidth, unsigned boxHeight,
               unsigned& fitWidth, unsigned& fitHeight) {
    if (width <= boxWidth && height <= boxHeight) {
        fitWidth = width;
        fitHeight = height;
        return;
    }
    const double d = width;
    const double e = height;
    if (static_cast<double>(boxHeight) * d < static_cast<double>(boxWidth) * e) {
        fitWidth = static_cast<unsigned>(std::max(1L, roundHalfAwayFromZero(d / e * boxHeight)));
        fitHeight = std::max(1u, boxHeight);
    } else {
        fitWidth = std::max(1u, boxWidth);
        fitHeight = static_cast<unsigned>(std::max(1L, roundHalfAwayFromZero(e / d * boxWidth)));
    }
}
BOOL fipSuperImage::clearSubImage(int left, int top, int width, int height, RGBQUAD color) {
    if (!isValid() || FreeImage_GetImageType(_dib) != FIT_BITMAP || width <= 0 || height <= 0) {
        return FALSE;
    }
    const long long right = std::min<long long>(static_cast<long long>(left) + width, getWidth());
    const long long bottom = std::min<long long>(static_cast<long long>(top) + height, getHeight());
    left = std::max(left, 0);
    top = std::max(top, 0);
    if (left >= right || top >= bottom) {
        return FALSE;
    }
    FreeImageBitmap view(
        FreeImage_CreateView(_dib, static_cast<unsigned>(left), static_cast<unsigned>(top),
                             static_cast<unsigned>(right), static_cast<unsigned>(bottom)));
    if (!view) {
        return FALSE;
    }
    color.rgbReserved = 0xFF;
    const BOOL ok = FreeImage_FillBackground(view.get(), &color, FI_COLOR_IS_RGB_COLOR);
    if (ok) {
        _bHasChanged = TRUE;
    }
    return ok;
}

BOOL fipSuperImage::cut(fipSuperImage& piece, int left, int top, int width, int height,
                        RGBQUAD color) {
    if (!isValid() || width <= 0 || height <= 0) {
        return FALSE;
    }
    const int right =
        static_cast<int>(std::min<long long>(static_cast<long long>(left) + width, getWidth()));
    const int bottom =
        static_cast<int>(std::min<long long>(static_cast<long long>(top) + height, getHeight()));
    left = std::max(left, 0);
    top = std::max(top, 0);
    if (left >= right || top >= bottom) {
        return FALSE;
    }
    FIBITMAP* copy = FreeImage_Copy(_dib, left, top, right, bottom);
    if (copy == nullptr) {
        return FALSE;
    }
    piece = copy;
    return clearSubImage(left, top, right - left, bottom - top, color);
}

BOOL fipSuperImage::setCanvasSize(unsigned width, unsigned height, int position, RGBQUAD color) {
    if (!isValid() || width == 0 || height == 0 || position < 0 || position > 8) {
        return FALSE;
    }
    const long long dx = static_cast<long long>(width) - getWidth();
    const long long dy = static_cast<long long>(height) - getHeight();
    auto split = [](long long delta, int anchor, int& before, int& after) {
        before = static_cast<int>(anchor == 0 ? 0 : anchor == 1 ? delta / 2 : delta);
        after = static_cast<int>(delta - before);
    };
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    split(dx, position % 3, left, right);
    split(dy, position / 3, top, bottom);
    color.rgbReserved = 0xFF;
    return adopt(
        FreeImage_EnlargeCanvas(_dib, left, top, right, bottom, &color, FI_COLOR_IS_RGB_COLOR));
}
BOOL fipSuperImage::makeThumbnail(unsigned width, unsigned height, BOOL convert) {
    if (!isValid()) {
        return FALSE;
    }
    unsigned fitWidth = 0;
    unsigned fitHeight = 0;
    fitInside(getWidth(), getHeight(), width, height, fitWidth, fitHeight);
    const bool standard = !convert || FreeImage_GetImageType(_dib) == FIT_BITMAP;
    if (width > 0 && height > 0 && standard && fitWidth == getWidth() && fitHeight == getHeight()) {
        return TRUE;
    }
    return adopt(thumbnailOf(_dib, width, height, convert != FALSE).release());
}

BOOL fipSuperImage::makeThumbnail(const fipImage& source, unsigned width, unsigned height,
                                  BOOL convert) {
    if (!source.isValid()) {
        return FALSE;
    }
    // The library reads the bitmap only.
    FIBITMAP* dib = const_cast<fipImage&>(source);
    return adopt(thumbnailOf(dib, width, height, convert != FALSE).release());
}
}  // namespace tarn
