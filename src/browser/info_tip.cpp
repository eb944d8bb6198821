#include "browser/info_tip.h"

#include <FreeImage.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <ctime>
#include <optional>

#include "browser/file_classification.h"
#include "common/path_rules.h"
#include "common/text_format.h"
#include "imaging/fip_super_image.h"
#include "imaging/image_header.h"

namespace tarn {

namespace {

std::string dateLine(std::int64_t modifiedNs) {
    return "Modified Date: " +
           (modifiedNs == 0 ? std::string()
                            : dateTimeText(static_cast<std::time_t>(modifiedNs / 1000000000)));
}

}  // namespace

bool readImageSize(const std::string& path, int& width, int& height) {
    FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path.c_str(), 0);
    if (fif == FIF_UNKNOWN) {
        fif = FreeImage_GetFIFFromFilename(path.c_str());
    }
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(fif)) {
        return false;
    }
    if (const std::optional<ImageHeader> header = readImageHeader(path)) {
        width = static_cast<int>(std::min<unsigned>(header->width, INT_MAX));
        height = static_cast<int>(std::min<unsigned>(header->height, INT_MAX));
        return true;
    }
    // A format without a header-only reader: the full load, which keeps to the decode limit.
    fipSuperImage image;
    if (!image.load(path.c_str())) {
        return false;
    }
    width = static_cast<int>(image.getWidth());
    height = static_cast<int>(image.getHeight());
    return width > 0 && height > 0;
}

std::string infoTipText(const FolderItem& item, const std::string& folderPath, bool targetIsImage) {
    if (item.kind == kKindFolder) {
        return "Filename: " + item.displayName + "\n" + dateLine(item.modified);
    }
    if (!targetIsImage) {
        return "Filename: " + item.displayName + "\nSize: " + sizeText(item.size) + "\n" +
               dateLine(item.modified);
    }

    std::string name = item.displayName;
    std::string location = folderPath;
    std::uint64_t size = item.size;
    std::int64_t modified = item.modified;
    const std::string& source = item.kind == kKindShortcut ? item.targetPath : item.path;
    if (item.kind == kKindShortcut) {
        name = fileName(source);
        location = parentFolder(source);
        struct stat st {};
        if (::stat(source.c_str(), &st) == 0) {
            size = static_cast<std::uint64_t>(st.st_size);
            modified =
                static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        } else {
            size = 0;
            modified = 0;
        }
    }
    int width = item.photoWidth;
    int height = item.photoHeight;
    if ((width <= 0 || height <= 0) && hasFastThumbnailExtension(std::string_view(source)) &&
        !readImageSize(source, width, height)) {
        width = height = 0;
    }
    std::string text = "Filename: " + name + "\nFile Location: " + location +
                       "\nSize: " + sizeText(size) + "\n" + dateLine(modified) +
                       "\nImage Dimenstions: ";
    if (width > 0 && height > 0) {
        text += std::to_string(width) + "x" + std::to_string(height);
    }
    return text;
}

}  // namespace tarn
