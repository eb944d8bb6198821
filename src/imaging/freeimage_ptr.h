#pragma once

#include <FreeImage.h>

#include <memory>

#ifndef _WIN32
#undef _WINDOWS_  // FreeImage defines it, and wx then takes this for a Windows build
#endif

namespace tarn {

// Owns a FreeImage bitmap and unloads it.
struct FreeImageDeleter {
    void operator()(FIBITMAP* bitmap) const {
        if (bitmap != nullptr) {
            FreeImage_Unload(bitmap);
        }
    }
};
using FreeImageBitmap = std::unique_ptr<FIBITMAP, FreeImageDeleter>;

// Owns a memory stream and closes it.
struct MemoryCloser {
    void operator()(FIMEMORY* memory) const {
        if (memory != nullptr) {
            FreeImage_CloseMemory(memory);
        }
    }
};
using MemoryPtr = std::unique_ptr<FIMEMORY, MemoryCloser>;

// Owns an open multi-page file and closes it; pages changed in a file opened for writing are
// written back then.
struct MultiPageCloser {
    void operator()(FIMULTIBITMAP* pages) const {
        if (pages != nullptr) {
            FreeImage_CloseMultiBitmap(pages, 0);
        }
    }
};
using FreeImageMultiPage = std::unique_ptr<FIMULTIBITMAP, MultiPageCloser>;

// A page locked in an open multi-page file, given back unchanged. The file must stay open
// while the page is held.
struct PageUnlocker {
    FIMULTIBITMAP* pages = nullptr;
    void operator()(FIBITMAP* page) const {
        if (page != nullptr && pages != nullptr) {
            FreeImage_UnlockPage(pages, page, FALSE);
        }
    }
};
using LockedPage = std::unique_ptr<FIBITMAP, PageUnlocker>;

// Opens a file's pages read-only; null when the library cannot.
inline FreeImageMultiPage openPagesReadOnly(FREE_IMAGE_FORMAT format, const char* path,
                                            bool keepCacheInMemory = false) {
    return FreeImageMultiPage(
        FreeImage_OpenMultiBitmap(format, path, FALSE, TRUE, keepCacheInMemory ? TRUE : FALSE, 0));
}

// Null when the page cannot be read.
inline LockedPage lockPage(FIMULTIBITMAP* pages, int page) {
    return LockedPage(FreeImage_LockPage(pages, page), PageUnlocker{pages});
}

}  // namespace tarn
