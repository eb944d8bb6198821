#include "dialogs/image_file_info.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "common/text_format.h"
#include "imaging/fip_super_image.h"
#include "imaging/image_header.h"

namespace tarn {

namespace {

std::string pixelsText(unsigned pixels) {
    return pixels == 0 ? std::string("Unknown") : std::to_string(pixels);
}

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

ImageInfoTexts imageInfoTexts(FREE_IMAGE_FORMAT format, std::uint64_t bytes, unsigned width,
                              unsigned height) {
    ImageInfoTexts texts;
    if (format == FIF_UNKNOWN) {
        return texts;
    }
    const char* name = FreeImage_GetFormatFromFIF(format);
    texts.available = true;
    texts.format = name != nullptr ? name : "";
    texts.size = sizeText(bytes);
    texts.width = pixelsText(width);
    texts.height = pixelsText(height);
    return texts;
}

FREE_IMAGE_FORMAT imageFormatByContent(const std::string& path) {
    if (!isRegularFile(path)) {
        return FIF_UNKNOWN;
    }
    return FreeImage_GetFileType(path.c_str(), 0);
}

void readImageSize(const std::string& path, unsigned& width, unsigned& height) {
    width = height = 0;
    const FREE_IMAGE_FORMAT format = imageFormatByContent(path);
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) {
        return;
    }
    if (const std::optional<ImageHeader> header = readImageHeader(path)) {
        width = header->width;
        height = header->height;
        return;
    }
    // A format without a header-only reader: the full load, which keeps to the decode limit.
    fipSuperImage image;
    if (image.load(path.c_str())) {
        width = image.getWidth();
        height = image.getHeight();
    }
}

ImageInfoTexts describeImageFile(const std::string& path, unsigned width, unsigned height) {
    const FREE_IMAGE_FORMAT format = imageFormatByContent(path);
    if (format == FIF_UNKNOWN) {
        return {};
    }
    if (width == 0 && height == 0) {
        readImageSize(path, width, height);
    }
    std::error_code ec;
    const std::uintmax_t bytes = std::filesystem::file_size(path, ec);
    return imageInfoTexts(format, ec ? 0 : bytes, width, height);
}

}  // namespace tarn
