#include "desktop/print_rules.h"

#include <filesystem>
#include <system_error>

#include "common/path_rules.h"
#include "imaging/fip_super_image.h"
#include "imaging/imaging_service.h"

namespace tarn {
namespace {

bool printsAsItIs(FREE_IMAGE_FORMAT fif) {
    return fif == FIF_BMP || fif == FIF_JPEG || fif == FIF_PNG || fif == FIF_TIFF || fif == FIF_GIF;
}

std::string failed(std::string* error, std::string reason) {
    if (error != nullptr) {
        *error = std::move(reason);
    }
    return {};
}

// The library's own message when it gave one, else the fallback.
std::string withLibraryMessage(const std::string& fallback) {
    const std::string message = ImagingService::lastMessage();
    return message.empty() ? fallback : fallback + ": " + message;
}

// Saves the image as "$" + the file's title + ".bmp" in the temporary folder.
std::string printableCopy(const fipSuperImage& image, const std::string& path,
                          const std::string& tempFolder, std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(tempFolder, ec);
    if (ec) {
        return failed(error, "The temporary folder cannot be created: " + ec.message());
    }
    const std::string copy = joinPath(tempFolder, "$" + fileTitle(path) + ".bmp");
    if (!image.saveFitBPP(FIF_BMP, copy.c_str())) {
        return failed(error, withLibraryMessage("The printable copy cannot be saved"));
    }
    return copy;
}

}  // namespace

std::string fileToPrint(const std::string& path, const std::string& tempFolder,
                        std::string* error) {
    // By content only: a renamed file must not slip through under a printable extension.
    if (printsAsItIs(FreeImage_GetFileType(path.c_str(), 0))) {
        return path;
    }
    ImagingService::clearLastMessage();
    fipSuperImage image;
    if (!image.load(path.c_str())) {
        return failed(error, withLibraryMessage("The image cannot be read"));
    }
    return printableCopy(image, path, tempFolder, error);
}

std::string openImageToPrint(const fipSuperImage& image, const std::string& path, bool modified,
                             const std::string& tempFolder) {
    if (!modified && printsAsItIs(fipSuperImage::getFIFFromFilename(path.c_str()))) {
        return path;
    }
    return printableCopy(image, path, tempFolder, nullptr);
}

}  // namespace tarn
