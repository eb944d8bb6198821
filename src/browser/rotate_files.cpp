#include "browser/rotate_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include "imaging/fip_super_image.h"

namespace tarn {
namespace {

// A file marked read-only is left alone even for a user the system would let write it.
bool mayRewrite(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

bool rotateImageFile(const std::string& path, int degrees) {
    if (!mayRewrite(path)) {
        return false;
    }
    // The content decides the format: a file saved under a misleading extension keeps its own.
    const FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path.c_str(), 0);
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsWriting(fif)) {
        return false;
    }
    // Only the first page would be written back: the others would be lost.
    if (fipSuperImage::isMultiPageFile(path.c_str())) {
        return false;
    }
    fipSuperImage image;
    // JPEGs go through the library's own decoder, which reads the metadata that the fast
    // decoder leaves behind; the writer puts it back.
    if (!image.load(path.c_str(), fif == FIF_JPEG ? JPEG_ACCURATE : 0)) {
        return false;
    }
    if (!image.rotate(degrees)) {
        // The library turns only 1-, 8-, 24- and 32-bit bitmaps and the wide types.
        const unsigned bpp = image.getBPP();
        const bool widened =
            image.getImageType() == FIT_BITMAP &&
            ((bpp == 4 && image.convertTo8Bits()) || (bpp == 16 && image.convertTo24Bits()));
        if (!widened || !image.rotate(degrees)) {
            return false;
        }
    }
    return image.saveFitBPP(fif, path.c_str(), 0);
}

}  // namespace

int rotateImageFiles(const std::vector<std::string>& paths, int degreesCounterClockwise,
                     std::vector<std::string>* failures) {
    const bool rightAngle = degreesCounterClockwise == 90 || degreesCounterClockwise == 180 ||
                            degreesCounterClockwise == 270;
    int saved = 0;
    for (const std::string& path : paths) {
        if (rightAngle && rotateImageFile(path, degreesCounterClockwise)) {
            ++saved;
        } else if (failures != nullptr) {
            failures->push_back(path);
        }
    }
    return saved;
}

}  // namespace tarn
