#include "imaging/imaging_service.h"

#include <FreeImage.h>

namespace tarn {

namespace {

thread_local std::string t_lastMessage;

void captureMessage(FREE_IMAGE_FORMAT, const char* message) {
    t_lastMessage = message != nullptr ? message : "";
}

}  // namespace

ImagingService::ImagingService() {
    FreeImage_SetOutputMessage(captureMessage);
    FreeImage_Initialise(FALSE);
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
