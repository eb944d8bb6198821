#include "info/file_histogram.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "imaging/fip_super_image.h"
#include "imaging/thumbnail_maker.h"

namespace tarn {

namespace {

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return result;
}

}  // namespace

std::vector<std::string> sortedImageExtensions() {
    std::vector<std::string> extensions;
    for (const std::string& extension : fipSuperImage::getReadableExtensions()) {
        if (!extension.empty()) {
            extensions.push_back(lowered(extension));
        }
    }
    std::sort(extensions.begin(), extensions.end());
    extensions.erase(std::unique(extensions.begin(), extensions.end()), extensions.end());
    return extensions;
}

bool isImageName(std::string_view path, const std::vector<std::string>& sortedExtensions) {
    const std::size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot + 1 == name.size()) {
        return false;
    }
    return std::binary_search(sortedExtensions.begin(), sortedExtensions.end(),
                              lowered(name.substr(dot + 1)));
}

FileHistogram computeFileHistogram(const std::string& path,
                                   const std::vector<std::string>& sortedExtensions) {
    FileHistogram result;
    if (!isImageName(path, sortedExtensions)) {
        return result;
    }
    Thumbnail thumbnail = makeFileThumbnail(path, kHistogramThumbnailBox, kHistogramThumbnailBox);
    if (!thumbnail.image.isValid()) {
        result.made = false;
        return result;
    }
    computeHistograms(static_cast<FIBITMAP*>(thumbnail.image), {true, true, true, true},
                      result.bins);
    result.maxima = clipEachChannel(result.bins);
    return result;
}

bool histogramPathExists(const std::string& path) {
    std::string tested = path;
    while (tested.size() > 1 && tested.back() == '/') {
        tested.pop_back();
    }
    std::error_code error;
    return !tested.empty() && std::filesystem::exists(tested, error);
}

}  // namespace tarn
