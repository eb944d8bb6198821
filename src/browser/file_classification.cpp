#include "browser/file_classification.h"

#include <FreeImage.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "common/path_rules.h"

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
    std::vector<std::string> list;
    const int count = FreeImage_GetFIFCount();
    for (int i = 0; i < count; ++i) {
        const auto fif = static_cast<FREE_IMAGE_FORMAT>(i);
        if (!FreeImage_FIFSupportsReading(fif)) {
            continue;
        }
        const char* exts = FreeImage_GetFIFExtensionList(fif);
        if (exts == nullptr) {
            continue;
        }
        std::string_view rest(exts);
        while (!rest.empty()) {
            const std::size_t comma = rest.find(',');
            list.emplace_back(rest.substr(0, comma));
            rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 1);
        }
    }
    return ImageExtensions(list);
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
