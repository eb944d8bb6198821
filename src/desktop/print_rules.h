#pragma once

#include <string>

namespace tarn {

class fipSuperImage;

// The file to hand to the printer for an image file. Files the library recognises by content
// as BMP, JPEG, PNG, TIFF or GIF print as they are; any other image is loaded and saved as
// "$" + its title + ".bmp" in the temporary folder (created when missing), and that copy is
// printed. Empty when loading or saving fails; error (when given) then holds the reason.
std::string fileToPrint(const std::string& path, const std::string& tempFolder,
                        std::string* error = nullptr);

// The file to print for the viewer's open image of that path: the file itself while the image
// is unchanged and the name says BMP, JPEG, PNG, TIFF or GIF; else the image as it is now,
// saved as the bitmap copy described above. Empty when that save fails.
std::string openImageToPrint(const fipSuperImage& image, const std::string& path, bool modified,
                             const std::string& tempFolder);

}  // namespace tarn
