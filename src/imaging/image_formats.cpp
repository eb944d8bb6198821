// The format lists of fipSuperImage: readable extensions, writable formats, dialog filters.
#include <algorithm>
#include <cctype>

#include "imaging/fip_super_image.h"

namespace tarn {

namespace {

std::vector<std::string> extensionsOf(FREE_IMAGE_FORMAT fif) {
    std::vector<std::string> result;
    const char* list = FreeImage_GetFIFExtensionList(fif);
    if (list == nullptr) {
        return result;
    }
    std::string current;
    for (const char* p = list;; ++p) {
        if (*p == ',' || *p == '\0') {
            if (!current.empty()) {
                result.push_back(current);
            }
            current.clear();
            if (*p == '\0') {
                break;
            }
        } else if (*p != ' ') {
            current += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
        }
    }
    return result;
}

std::string patternOf(const std::vector<std::string>& extensions) {
    std::string pattern;
    for (const std::string& ext : extensions) {
        pattern += pattern.empty() ? "*." : ";*.";
        pattern += ext;
    }
    return pattern;
}

// "Description (*.a;*.b)|*.a;*.b"
std::string filterEntry(const std::string& description, const std::string& pattern) {
    return description + " (" + pattern + ")|" + pattern;
}

std::string descriptionOf(FREE_IMAGE_FORMAT fif) {
    const char* description = FreeImage_GetFIFDescription(fif);
    if (description != nullptr && *description != '\0') {
        return description;
    }
    const char* name = FreeImage_GetFormatFromFIF(fif);
    return name != nullptr ? name : "Image";
}

}  // namespace

std::vector<std::string> fipSuperImage::getReadableExtensions() {
    std::vector<std::string> result;
    for (int i = 0; i < FreeImage_GetFIFCount(); ++i) {
        const auto fif = static_cast<FREE_IMAGE_FORMAT>(i);
        if (!FreeImage_FIFSupportsReading(fif)) {
            continue;
        }
        for (std::string& ext : extensionsOf(fif)) {
            if (std::find(result.begin(), result.end(), ext) == result.end()) {
                result.push_back(std::move(ext));
            }
        }
    }
    return result;
}

std::string fipSuperImage::getReadableExtensionList() {
    std::string list;
    for (const std::string& ext : getReadableExtensions()) {
        list += ext;
        list += '\0';
    }
    list += '\0';
    return list;
}

// Without JPEG-XR, whose writer fails on every image in the library as built here.
std::vector<FREE_IMAGE_FORMAT> fipSuperImage::getSupportsWritingFormats() {
    std::vector<FREE_IMAGE_FORMAT> result;
    for (int i = 0; i < FreeImage_GetFIFCount(); ++i) {
        const auto fif = static_cast<FREE_IMAGE_FORMAT>(i);
        if (FreeImage_FIFSupportsWriting(fif) && fif != FIF_JXR && !extensionsOf(fif).empty()) {
            result.push_back(fif);
        }
    }
    return result;
}

std::string fipSuperImage::getFIFExtension(FREE_IMAGE_FORMAT fif) {
    const std::vector<std::string> extensions = extensionsOf(fif);
    return extensions.empty() ? std::string() : extensions.front();
}

std::string fipSuperImage::getOpenFileFilter() {
    std::string filter = filterEntry("All image files", patternOf(getReadableExtensions()));
    for (int i = 0; i < FreeImage_GetFIFCount(); ++i) {
        const auto fif = static_cast<FREE_IMAGE_FORMAT>(i);
        const std::vector<std::string> extensions = extensionsOf(fif);
        if (FreeImage_FIFSupportsReading(fif) && !extensions.empty()) {
            filter += "|" + filterEntry(descriptionOf(fif), patternOf(extensions));
        }
    }
    return filter + "|All files (*.*)|*.*";
}

// Every writable format, also those that cannot store the image's depth as it is: saving
// converts the image first.
std::string fipSuperImage::getSaveFileFilter(const fipImage& image) {
    std::string filter;
    if (!image.isValid()) {
        return filter;
    }
    for (const FREE_IMAGE_FORMAT fif : getSupportsWritingFormats()) {
        if (!filter.empty()) {
            filter += "|";
        }
        filter += filterEntry(descriptionOf(fif), patternOf(extensionsOf(fif)));
    }
    return filter;
}

}  // namespace tarn
