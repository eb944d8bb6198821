#pragma once

#include "imaging/freeimage_ptr.h"  // FreeImage.h, made safe for wx code

#include <cstdint>
#include <string>

namespace tarn {

// What the open dialog's information panel says about a file.
struct ImageInfoTexts {
    bool available = false;  // false: only "Unavailable" is shown
    std::string format;      // the library's short format name
    std::string size;        // size text of the file's length
    std::string width;       // pixels, or "Unknown" for 0
    std::string height;
};

// The texts for a file of the given format (FIF_UNKNOWN when the library cannot tell it by
// content), length and pixel size (0 when unknown).
ImageInfoTexts imageInfoTexts(FREE_IMAGE_FORMAT format, std::uint64_t bytes, unsigned width,
                              unsigned height);

// The format of a regular file as told by its content; FIF_UNKNOWN for anything else (folders,
// missing or unreadable files, unknown content).
FREE_IMAGE_FORMAT imageFormatByContent(const std::string& path);

// The picture's size read from its header when the format allows it, else by loading it.
// 0 x 0 when it cannot be read.
void readImageSize(const std::string& path, unsigned& width, unsigned& height);

// The texts for a file; width and height as already known (a loaded preview's full size), or
// read from the file when both are 0.
ImageInfoTexts describeImageFile(const std::string& path, unsigned width = 0, unsigned height = 0);

}  // namespace tarn
