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

}  // namespace tarn
