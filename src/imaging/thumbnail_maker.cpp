#include "imaging/thumbnail_maker.h"

#include <sys/stat.h>
#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <mutex>

#include "common/path_rules.h"
#include "imaging/exiv2_setup.h"
#include "imaging/image_header.h"
#include "imaging/jpeg_codec.h"

namespace tarn {

namespace {

bool isJpegExtension(const std::string& path) {
    const std::string extension = fileExtension(path);
    for (const char* ext : {"jpg", "jpeg", "jpe", "jif", "jfif", "jfi"}) {
        if (extensionEquals(extension, ext)) {
            return true;
        }
    }
    return false;
}

bool exists(const std::string& path, bool& regular) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
        return false;
    }
    regular = S_ISREG(st.st_mode);
    return true;
}

// The thumbnail from the fit-size image: 32-bit, scaled down with a filter when too big.
bool finish(FreeImageBitmap dib, unsigned fitWidth, unsigned fitHeight, Thumbnail& result) {
    if (!dib) {
        return false;
    }
    if (FreeImage_GetWidth(dib.get()) != fitWidth || FreeImage_GetHeight(dib.get()) != fitHeight) {
        dib.reset(FreeImage_Rescale(dib.get(), static_cast<int>(fitWidth),
                                    static_cast<int>(fitHeight), FILTER_BILINEAR));
        if (!dib) {
            return false;
        }
    }
    if (FreeImage_GetBPP(dib.get()) != 32) {
        dib.reset(FreeImage_ConvertTo32Bits(dib.get()));
        if (!dib) {
            return false;
        }
    }
    result.image = dib.release();
    return true;
}

// The embedded EXIF thumbnail when it is at least the fitted size and of the picture's shape.
bool fromExifThumbnail(const std::string& path, unsigned boxWidth, unsigned boxHeight,
                       Thumbnail& result) {
    try {
        initialiseExiv2();
        const auto image = Exiv2::ImageFactory::open(path);
        if (image.get() == nullptr) {
            return false;
        }
        image->readMetadata();
        const int photoWidth = image->pixelWidth();
        const int photoHeight = image->pixelHeight();
        if (photoWidth <= 0 || photoHeight <= 0) {
            return false;
        }
        const Exiv2::ExifThumbC exifThumbnail(image->exifData());
        const Exiv2::DataBuf data = exifThumbnail.copy();
        if (data.size_ <= 0) {
            return false;
        }
        unsigned fitWidth = 0;
        unsigned fitHeight = 0;
        fitInside(static_cast<unsigned>(photoWidth), static_cast<unsigned>(photoHeight), boxWidth,
                  boxHeight, fitWidth, fitHeight);
        int width = 0;
        int height = 0;
        const auto size = static_cast<std::size_t>(data.size_);
        if (!readJpegSize(data.pData_, size, width, height) ||
            static_cast<unsigned>(width) < fitWidth || static_cast<unsigned>(height) < fitHeight) {
            return false;
        }
        // A letter-boxed thumbnail of another shape would show bars; 3 % is rounding.
        const double shape = static_cast<double>(width) * photoHeight;
        const double photoShape = static_cast<double>(height) * photoWidth;
        if (std::abs(shape - photoShape) > 0.03 * photoShape) {
            return false;
        }
        if (!finish(decodeJpeg(data.pData_, size, true, static_cast<int>(fitWidth),
                               static_cast<int>(fitHeight)),
                    fitWidth, fitHeight, result)) {
            return false;
        }
        result.photoWidth = static_cast<unsigned>(photoWidth);
        result.photoHeight = static_cast<unsigned>(photoHeight);
        return true;
    } catch (...) {
        return false;
    }
}

bool fromScaledJpeg(const std::string& path, unsigned boxWidth, unsigned boxHeight,
                    Thumbnail& result) {
    std::vector<std::uint8_t> bytes;
    int width = 0;
    int height = 0;
    // The limit is the whole picture's even though the decode is reduced: a header claiming a
    // huge picture is damage, and the full load that follows a failure would refuse it anyway.
    if (!headerFitsDecodeLimit(path) || !readFileBytes(path, bytes) ||
        !readJpegSize(bytes.data(), bytes.size(), width, height)) {
        return false;
    }
    unsigned fitWidth = 0;
    unsigned fitHeight = 0;
    fitInside(static_cast<unsigned>(width), static_cast<unsigned>(height), boxWidth, boxHeight,
              fitWidth, fitHeight);
    if (!finish(decodeJpeg(bytes.data(), bytes.size(), true, static_cast<int>(fitWidth),
                           static_cast<int>(fitHeight)),
                fitWidth, fitHeight, result)) {
        return false;
    }
    // The size of the picture, not of the reduced decode.
    result.photoWidth = static_cast<unsigned>(width);
    result.photoHeight = static_cast<unsigned>(height);
    return true;
}

bool fromFullLoad(const std::string& path, unsigned boxWidth, unsigned boxHeight, bool as32,
                  Thumbnail& result) {
    fipSuperImage image;
    if (!image.load(path.c_str()) || !image.isValid()) {
        return false;
    }
    const unsigned width = image.getWidth();
    const unsigned height = image.getHeight();
    if (!image.makeThumbnail(boxWidth, boxHeight, TRUE)) {
        return false;
    }
    if (as32 && image.getBPP() != 32 && !image.convertTo32Bits()) {
        return false;
    }
    result.image.replace(image);
    result.photoWidth = width;
    result.photoHeight = height;
    return true;
}

}  // namespace

bool hasFastThumbnailExtension(std::string_view path) {
    static constexpr std::array<std::string_view, 14> kFast{"BMP",  "RLE", "DIB",  "GIF",  "JPG",
                                                            "JPEG", "JPE", "JIF",  "JFIF", "JFI",
                                                            "PNG",  "TIF", "TIFF", "ICO"};
    // Runs once per item of a browsed folder: views only, no copies.
    const char sep = pathSeparator();
    if (path.size() > 1 && path.back() == sep) {
        path.remove_suffix(1);
    }
    const std::size_t slash = path.find_last_of(sep);
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    const std::string_view ext = name.substr(dot + 1);
    return std::any_of(kFast.begin(), kFast.end(),
                       [&](std::string_view f) { return extensionEquals(ext, f); });
}

Thumbnail makeFileThumbnail(const std::string& path, unsigned boxWidth, unsigned boxHeight) {
    Thumbnail result;
    bool regular = false;
    if (!exists(path, regular)) {
        return result;
    }
    result.attempted = true;
    // Reading a named pipe or a device would wait for a writer that may never come.
    if (!regular || boxWidth == 0 || boxHeight == 0) {
        return result;
    }
    if (hasFastThumbnailExtension(path)) {
        if (isJpegExtension(path) && (fromExifThumbnail(path, boxWidth, boxHeight, result) ||
                                      fromScaledJpeg(path, boxWidth, boxHeight, result))) {
            return result;
        }
    }
    // Other fast formats load whole, as does everything when the fast way fails.
    if (!fromFullLoad(path, boxWidth, boxHeight, hasFastThumbnailExtension(path), result)) {
        result.image.clear();
        result.photoWidth = 0;
        result.photoHeight = 0;
    }
    return result;
}

}  // namespace tarn
