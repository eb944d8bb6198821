#include "viewer/image_loading.h"

#include <new>

#include "imaging/freeimage_ptr.h"
#include "imaging/image_header.h"

namespace tarn {

namespace {

// A page copied out of a file keeps the file's format, like a file loaded whole.
class PageImage : public fipSuperImage {
public:
    using fipSuperImage::operator=;
    void setFormat(FREE_IMAGE_FORMAT fif) { _fif = fif; }
};

// The formats the library can hold several pages of.
bool mayHavePages(FREE_IMAGE_FORMAT format) {
    return format == FIF_TIFF || format == FIF_GIF || format == FIF_ICO;
}

// A copy of one page of an open multi-page file; the page is given back unchanged. Locking
// decodes, so the page's own header is checked against the decode limit first.
FreeImageBitmap copyPage(const std::string& path, FIMULTIBITMAP* pages, int page) {
    if (!headerFitsDecodeLimit(path, page)) {
        return nullptr;
    }
    const LockedPage locked = lockPage(pages, page);
    return FreeImageBitmap(locked ? FreeImage_Clone(locked.get()) : nullptr);
}

LoadedImage load(const std::string& path, int page) {
    LoadedImage result;
    auto image = std::make_unique<fipSuperImage>();
    const FREE_IMAGE_FORMAT format = fipSuperImage::getFileType(path.c_str());
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) {
        return result;
    }
    // One read-only open tells the page count and gives the page, so a file replaced meanwhile
    // cannot pair one file's count with another's page.
    if (mayHavePages(format)) {
        FreeImageMultiPage pages = openPagesReadOnly(format, path.c_str(), true);
        if (pages) {
            const int count = FreeImage_GetPageCount(pages.get());
            if (count > 1) {
                result.pageCount = count;
                FreeImageBitmap copy =
                    page >= 0 && page < count ? copyPage(path, pages.get(), page) : nullptr;
                pages.reset();
                if (copy) {
                    PageImage pageImage;
                    pageImage = copy.release();
                    pageImage.setFormat(format);
                    image->replace(pageImage);
                }
                if (image->isValid()) {
                    result.image = std::move(image);
                }
                return result;
            }
        }
    }
    if (image->load(path.c_str()) && image->isValid()) {
        result.image = std::move(image);
    }
    return result;
}

}  // namespace

LoadedImage loadImageFile(const std::string& path, int page) {
    if (path.empty()) {
        return {};
    }
    try {
        return load(path, page);
    } catch (const std::bad_alloc&) {
        // A picture too large for memory is a picture that cannot be shown.
        return {};
    }
}

}  // namespace tarn
