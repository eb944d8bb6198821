#pragma once

#include <string>
#include <string_view>

#include "imaging/fip_super_image.h"

namespace tarn {

struct Thumbnail {
    fipSuperImage image;      // invalid when no thumbnail could be made
    unsigned photoWidth = 0;  // the full picture's size, 0 when unknown
    unsigned photoHeight = 0;
    bool attempted = false;  // false when the file does not exist
};

// Whether the path's extension is one of the formats thumbnailed the fast way.
bool hasFastThumbnailExtension(std::string_view path);

// Makes a thumbnail that fits inside boxWidth x boxHeight (never enlarged). JPEGs use their
// embedded EXIF thumbnail when it is big enough for the box, else a DCT-scaled decode and a
// filtered downscale; other fast formats load whole; everything else, and any fast-path failure,
// goes through a full load. Fast-path results are 32-bit. Safe to call from any thread.
Thumbnail makeFileThumbnail(const std::string& path, unsigned boxWidth, unsigned boxHeight);

}  // namespace tarn
