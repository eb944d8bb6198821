#pragma once

#include <memory>
#include <string>

#include "imaging/fip_super_image.h"

namespace tarn {

// An image read from a file, with the number of pages the file has.
struct LoadedImage {
    std::unique_ptr<fipSuperImage> image;  // none when the file or page could not be read
    int pageCount = 1;
};

// Reads one page of a file. A multi-page file is opened read-only and the page copied out of it
// (page outside 0..count-1: nothing); any other file is loaded whole with page count 1. An image
// that is not valid afterwards is discarded. Safe to call from any thread.
LoadedImage loadImageFile(const std::string& path, int page);

}  // namespace tarn
