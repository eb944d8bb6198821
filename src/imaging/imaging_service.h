#pragma once

#include <string>

namespace tarn {

// Starts the imaging library for the life of the object and captures its messages: they are
// kept for the caller to show, never printed. Construct once on the main thread, before any
// image is loaded.
class ImagingService {
public:
    ImagingService();
    ~ImagingService();
    ImagingService(const ImagingService&) = delete;
    ImagingService& operator=(const ImagingService&) = delete;

    // The last message the library gave on this thread; empty when none since the last clear.
    static std::string lastMessage();
    static void clearLastMessage();

    // Whether freed large buffers stay with the process for the next picture: on while pictures
    // are viewed one after another, off in the browser.
    static void keepLargeBuffers(bool keep);
};

}  // namespace tarn
