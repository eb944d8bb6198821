#include "imaging/imaging_service.h"

#include <FreeImage.h>
#include <dlfcn.h>

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

}  // namespace tarn
