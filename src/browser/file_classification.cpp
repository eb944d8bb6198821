#include "browser/file_classification.h"

#include <FreeImage.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "common/path_rules.h"
#include "imaging/fip_super_image.h"

namespace tarn {

namespace {

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

}  // namespace

ImageExtensions::ImageExtensions(const std::vector<std::string>& extensions) {
    for (const auto& e : extensions) {
        if (!e.empty()) {
            m_sorted.push_back(lowered(e));
        }
    }
    std::sort(m_sorted.begin(), m_sorted.end());
    m_sorted.erase(std::unique(m_sorted.begin(), m_sorted.end()), m_sorted.end());
}

ImageExtensions ImageExtensions::fromFreeImage() {
    return ImageExtensions(fipSuperImage::getReadableExtensions());
}

bool ImageExtensions::contains(std::string_view extension) const {
    if (extension.empty() || extension.size() > 16) {
        return false;
    }
    // Lower into a small buffer: this runs once per file of a browsed folder.
    std::array<char, 16> buf{};
    for (std::size_t i = 0; i < extension.size(); ++i) {
        const char c = extension[i];
        buf[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return std::binary_search(m_sorted.begin(), m_sorted.end(),
                              std::string_view(buf.data(), extension.size()),
                              [](std::string_view a, std::string_view b) { return a < b; });
}

int classifyFile(std::string_view rawPath, bool skipDirectoryTest, const ImageExtensions& images) {
    const std::string path = normalizePath(rawPath);
    if (!skipDirectoryTest && isExistingDirectory(path)) {
        return kKindFolder;
    }
    if (!images.available()) {
        return -1;
    }
    return images.contains(fileExtension(path)) ? kKindImage : kKindOther;
}

bool isZipArchive(std::string_view path) {
    if (!extensionEquals(fileExtension(path), "zip")) {
        return false;
    }
    struct stat st;
    return ::stat(std::string(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool isExistingDirectory(std::string_view path) {
    struct stat st;
    return !path.empty() && ::stat(std::string(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace tarn
