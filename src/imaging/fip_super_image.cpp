#include "imaging/fip_super_image.h"

#include <vector>

#include "imaging/bmp_reader.h"
#include "imaging/freeimage_ptr.h"
#include "imaging/image_header.h"
#include "imaging/jpeg_codec.h"

namespace tarn {

fipSuperImage& fipSuperImage::operator=(const fipSuperImage& other) {
    fipImage::operator=(other);
    return *this;
}

fipSuperImage& fipSuperImage::operator=(const fipImage& other) {
    fipImage::operator=(other);
    return *this;
}

fipSuperImage& fipSuperImage::operator=(FIBITMAP* dib) {
    fipImage::operator=(dib);
    return *this;
}

BOOL fipSuperImage::adopt(FIBITMAP* dib) {
    if (dib == nullptr) {
        return FALSE;
    }
    fipImage::replace(dib);
    return TRUE;
}

BOOL fipSuperImage::load(const char* path, int flags) {
    if (path == nullptr) {
        return FALSE;
    }
    const FREE_IMAGE_FORMAT fif = getFileType(path);
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(fif)) {
        return loadOwnBmp(path);
    }
    if (!headerFitsDecodeLimit(path)) {
        return FALSE;
    }
    if (fif == FIF_JPEG && flags == 0) {
        std::vector<std::uint8_t> bytes;
        if (!readFileBytes(path, bytes)) {
            return FALSE;
        }
        if (FreeImageBitmap dib = decodeJpeg(bytes.data(), bytes.size())) {
            _fif = FIF_JPEG;
            return adopt(dib.release());
        }
        // Damaged data stays refused; only what TurboJPEG cannot read goes to the library.
        if (!jpegNeedsOtherDecoder(bytes.data(), bytes.size())) {
            return FALSE;
        }
    }
    FIBITMAP* dib = FreeImage_Load(fif, path, flags);
    if (dib == nullptr) {
        return loadOwnBmp(path);
    }
    _fif = fif;
    return adopt(dib);
}

BOOL fipSuperImage::loadFromMemory(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size == 0 || size > UINT32_MAX || !headerFitsDecodeLimit(data, size)) {
        return FALSE;
    }
    // The library only reads from the memory it is given.
    const MemoryPtr memory(FreeImage_OpenMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size)));
    const FREE_IMAGE_FORMAT fif =
        memory ? FreeImage_GetFileTypeFromMemory(memory.get(), 0) : FIF_UNKNOWN;
    FIBITMAP* dib = fif != FIF_UNKNOWN && FreeImage_FIFSupportsReading(fif)
                        ? FreeImage_LoadFromMemory(fif, memory.get(), 0)
                        : nullptr;
    if (dib == nullptr) {
        FreeImageBitmap own = readBmp(data, size);
        if (!own) {
            return FALSE;
        }
        _fif = FIF_BMP;
        return adopt(own.release());
    }
    _fif = fif;
    return adopt(dib);
}

BOOL fipSuperImage::loadOwnBmp(const char* path) {
    if (!hasBmpExtension(path)) {
        return FALSE;
    }
    FreeImageBitmap dib = readBmpFile(path);
    if (!dib) {
        return FALSE;
    }
    _fif = FIF_BMP;
    return adopt(dib.release());
}

FREE_IMAGE_FORMAT fipSuperImage::getFIFFromFilename(const char* path) {
    return path == nullptr ? FIF_UNKNOWN : FreeImage_GetFIFFromFilename(path);
}

FREE_IMAGE_FORMAT fipSuperImage::getFileType(const char* path) {
    if (path == nullptr) {
        return FIF_UNKNOWN;
    }
    const FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path, 0);
    return fif != FIF_UNKNOWN ? fif : FreeImage_GetFIFFromFilename(path);
}

int fipSuperImage::getPageCount(const char* path) {
    const FREE_IMAGE_FORMAT fif = getFileType(path);
    if (fif != FIF_TIFF && fif != FIF_GIF && fif != FIF_ICO) {
        return 0;
    }
    const FreeImageMultiPage pages = openPagesReadOnly(fif, path);
    return pages ? FreeImage_GetPageCount(pages.get()) : 0;
}

BOOL fipSuperImage::isMultiPageFile(const char* path) {
    return getPageCount(path) > 1;
}

BOOL fipSuperImage::loadPage(const char* path, int page) {
    if (path == nullptr) {
        return FALSE;
    }
    const FreeImageMultiPage pages = openPagesReadOnly(getFileType(path), path);
    if (!pages || page < 0 || page >= FreeImage_GetPageCount(pages.get()) ||
        !headerFitsDecodeLimit(path, page)) {
        return FALSE;
    }
    FreeImageBitmap copy;
    if (const LockedPage locked = lockPage(pages.get(), page)) {
        copy.reset(FreeImage_Clone(locked.get()));
    }
    return adopt(copy.release());
}

BOOL fipSuperImage::replace(fipSuperImage& other) {
    if (&other == this || !other.isValid()) {
        return FALSE;
    }
    FIBITMAP* dib = other._dib;
    other._dib = nullptr;
    other._bHasChanged = TRUE;
    _fif = other._fif;
    return adopt(dib);
}
}  // namespace tarn
