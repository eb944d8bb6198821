#include "imaging/imaging_service.h"

#include <FreeImage.h>
#include <dlfcn.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cstdarg>
#include <cstdio>

namespace tarn {

namespace {

thread_local std::string t_lastMessage;

void captureMessage(FREE_IMAGE_FORMAT, const char* message) {
    t_lastMessage = message != nullptr ? message : "";
}

// The TIFF library under FreeImage reports some problems straight to stderr.
void captureTiffMessage(const char* module, const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    t_lastMessage = std::string(module != nullptr ? module : "TIFF") + ": " + text;
}

using TiffHandler = void (*)(const char*, const char*, va_list);
using SetTiffHandler = TiffHandler (*)(TiffHandler);

void captureTiffMessages() {
    for (const char* name : {"TIFFSetErrorHandler", "TIFFSetWarningHandler"}) {
        if (void* symbol = ::dlsym(RTLD_DEFAULT, name)) {
            reinterpret_cast<SetTiffHandler>(symbol)(captureTiffMessage);
        }
    }
}

}  // namespace

ImagingService::ImagingService() {
    FreeImage_SetOutputMessage(captureMessage);
    FreeImage_Initialise(FALSE);
    captureTiffMessages();
}

ImagingService::~ImagingService() {
    FreeImage_DeInitialise();
}

std::string ImagingService::lastMessage() {
    return t_lastMessage;
}

void ImagingService::clearLastMessage() {
    t_lastMessage.clear();
}

// Photos come one after another at tens of megabytes each. By default every such buffer is a
// fresh mapping whose pages fault in one by one (the library also clears each new bitmap), which
// costs more than decoding the picture. Kept on the heap, the same memory serves the next photo.
// The list's small thumbnails gain nothing from it, and the heap it keeps would stay with the
// process, so the browser goes back to the allocator's defaults and returns what is free.
void ImagingService::keepLargeBuffers(bool keep) {
#if defined(__GLIBC__)
    constexpr int kLargest = 512 * 1024 * 1024;
    constexpr int kDefault = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, keep ? kLargest : kDefault);
    mallopt(M_TRIM_THRESHOLD, keep ? kLargest : kDefault);
    if (!keep) {
        malloc_trim(0);
    }
#else
    static_cast<void>(keep);
#endif
}

}  // namespace tarn
