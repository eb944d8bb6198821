#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "imaging/histogram.h"

namespace tarn {

// The browser histogram of one file: computed on a thumbnail of at most 200 x 200 pixels and
// clipped channel by channel.
struct FileHistogram {
    ChannelHistograms bins{};
    ChannelMaxima maxima{};
    // False when the file is an image by its name but no thumbnail could be made of it.
    bool made = true;
};

inline constexpr unsigned kHistogramThumbnailBox = 200;

// The readable extensions, lowered and sorted, for isImageName.
std::vector<std::string> sortedImageExtensions();
bool isImageName(std::string_view path, const std::vector<std::string>& sortedExtensions);

// A file whose name is not an image's gives empty bins. Safe on any thread.
FileHistogram computeFileHistogram(const std::string& path,
                                   const std::vector<std::string>& sortedExtensions);

// Whether the path names something that exists; a trailing separator is dropped first.
bool histogramPathExists(const std::string& path);

}  // namespace tarn
