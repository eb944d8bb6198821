#pragma once

#include <string>

namespace tarn {

// The file to hand to the printer for an image file. Files the library recognises by content
// as BMP, JPEG, PNG, TIFF or GIF print as they are; any other image is loaded and saved as
// "$" + its title + ".bmp" in the temporary folder (created when missing), and that copy is
// printed. Empty when loading or saving fails; error (when given) then holds the reason.
std::string fileToPrint(const std::string& path, const std::string& tempFolder,
                        std::string* error = nullptr);

}  // namespace tarn
