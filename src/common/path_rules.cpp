#include "common/path_rules.h"

#include <algorithm>
#include <cctype>

namespace tarn {

namespace {

bool isDriveLetterPrefix(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

std::size_t lastSeparator(std::string_view path, PathStyle style) {
    return path.find_last_of(pathSeparator(style));
}

}  // namespace

char pathSeparator(PathStyle style) {
    return style == PathStyle::Windows ? '\\' : '/';
}

std::string joinPath(std::string_view base, std::string_view name, PathStyle style) {
    std::string out(base);
    if (out.empty() || out.back() != pathSeparator(style)) {
        out += pathSeparator(style);
    }
    out += name;
    return out;
}

std::string normalizePath(std::string_view path, PathStyle style) {
    std::string out(path);
    const char sep = pathSeparator(style);
    if (style == PathStyle::Windows) {
        if (out.size() == 2 && isDriveLetterPrefix(out)) {
            out += sep;
        } else if (out.size() > 3 && out.back() == sep) {
            out.pop_back();
        }
    } else if (out.size() > 1 && out.back() == sep) {
        out.pop_back();
    }
    return out;
}

bool isDriveRoot(std::string_view path, PathStyle style) {
    if (style == PathStyle::Posix) {
        return path == "/";
    }
    return (path.size() == 2 || (path.size() == 3 && path[2] == '\\')) && isDriveLetterPrefix(path);
}

std::string fileName(std::string_view path, PathStyle style) {
    const std::size_t sep = lastSeparator(path, style);
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string fileTitle(std::string_view path, PathStyle style) {
    if (!path.empty() && path.back() == pathSeparator(style)) {
        return std::string(path);
    }
    std::string name = fileName(path, style);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return name;
}

std::string fileExtension(std::string_view path, PathStyle style) {
    const std::string name = fileName(path, style);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string folderPart(std::string_view path, PathStyle style) {
    const std::size_t sep = lastSeparator(path, style);
    return sep == std::string_view::npos ? std::string() : std::string(path.substr(0, sep));
}

std::string parentFolder(std::string_view path, PathStyle style) {
    const std::string normal = normalizePath(path, style);
    const std::size_t sep = lastSeparator(normal, style);
    if (sep == std::string::npos) {
        return std::string();
    }
    std::string parent = normal.substr(0, sep);
    if (parent.empty() && style == PathStyle::Posix) {
        return "/";
    }
    return normalizePath(parent, style);
}

std::string cleanName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (const char c : name) {
        if (std::string_view("\"*/:<>?\\|").find(c) == std::string_view::npos) {
            out += c;
        }
    }
    return out;
}

bool extensionEquals(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool isPathWithin(std::string_view path, std::string_view folder) {
    if (folder == "/") {
        return !path.empty() && path.front() == '/';
    }
    return !folder.empty() && path.substr(0, folder.size()) == folder &&
           (path.size() == folder.size() || path[folder.size()] == '/');
}

bool samePath(std::string_view a, std::string_view b) {
#ifdef _WIN32
    return extensionEquals(a, b);
#else
    return a == b;
#endif
}

}  // namespace tarn
