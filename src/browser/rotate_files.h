#pragma once

#include <string>
#include <vector>

namespace tarn {

// Rotates each image file counter-clockwise by 90, 180 or 270 degrees and saves it back in
// place, in the format its content has, with the format's default options. Each file is
// replaced only once its rotated copy is written in full, so a file that fails stays as it
// was. Returns how many files were saved; the paths that failed are appended to failures.
// Pixels are decoded and encoded again (a JPEG loses a little quality each time); the
// metadata the library reads and writes back (EXIF, comments, ICC profile) is kept.
int rotateImageFiles(const std::vector<std::string>& paths, int degreesCounterClockwise,
                     std::vector<std::string>* failures = nullptr);

}  // namespace tarn
