#pragma once

#include <FreeImage.h>

#include <string>
#include <vector>

#include "imaging/fip_super_image.h"
#include "imaging/image_fixtures.h"

namespace tarn::test {

// Page i of the files below is 10 + 3 * i pixels wide, so a page tells which one it is.
inline unsigned pageWidth(int page) {
    return 10u + 3u * static_cast<unsigned>(page);
}

// A multi-page file written with the library's own multi-page writer: TIFF pages in 24 bits,
// GIF pages in 8.
inline bool writePages(const std::string& path, int count, FREE_IMAGE_FORMAT format = FIF_TIFF) {
    FIMULTIBITMAP* pages = FreeImage_OpenMultiBitmap(format, path.c_str(), TRUE, FALSE, TRUE);
    if (pages == nullptr) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        BitmapPtr picture = makePicture(pageWidth(i), 8 + static_cast<unsigned>(i));
        if (format == FIF_GIF) {
            picture.reset(FreeImage_ColorQuantize(picture.get(), FIQ_WUQUANT));
        }
        FreeImage_AppendPage(pages, picture.get());
    }
    return FreeImage_CloseMultiBitmap(pages) != FALSE;
}

// The widths of every page of a multi-page file, read back with the library alone.
inline std::vector<unsigned> pageWidths(const std::string& path,
                                        FREE_IMAGE_FORMAT format = FIF_TIFF) {
    std::vector<unsigned> widths;
    FIMULTIBITMAP* pages = FreeImage_OpenMultiBitmap(format, path.c_str(), FALSE, TRUE, TRUE);
    if (pages == nullptr) {
        return widths;
    }
    for (int i = 0; i < FreeImage_GetPageCount(pages); ++i) {
        FIBITMAP* page = FreeImage_LockPage(pages, i);
        widths.push_back(page != nullptr ? FreeImage_GetWidth(page) : 0u);
        if (page != nullptr) {
            FreeImage_UnlockPage(pages, page, FALSE);
        }
    }
    FreeImage_CloseMultiBitmap(pages);
    return widths;
}

}  // namespace tarn::test
