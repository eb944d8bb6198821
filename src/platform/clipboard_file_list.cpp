#include "platform/clipboard_file_list.h"

#include <algorithm>
#include <cctype>

#include "platform/file_uri.h"

namespace tarn::platform {

namespace {

constexpr std::string_view kCut = "cut";
constexpr std::string_view kCopy = "copy";
// GNOME Files 3.30 to 43 offer the same list as plain text below this line.
constexpr std::string_view kNautilusTextHeader = "x-special/nautilus-clipboard";

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && startsWithNoCase(a, b);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string_view trimmed(std::string_view line) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!line.empty() && isBlank(line.front())) {
        line.remove_prefix(1);
    }
    while (!line.empty() && isBlank(line.back())) {
        line.remove_suffix(1);
    }
    return line;
}

// Calls take(line) for every line of the text, LF or CR LF ended, surrounding blanks trimmed.
template <typename Take>
void forEachLine(std::string_view text, Take take) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        take(trimmed(text.substr(0, end)));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
}

std::vector<std::string> uris(const std::vector<std::string>& paths) {
    std::vector<std::string> result;
    for (const std::string& path : paths) {
        std::string uri = fileUri(path);
        if (!uri.empty()) {
            result.push_back(std::move(uri));
        }
    }
    return result;
}

}  // namespace

std::string gnomeCopiedFilesText(const ClipboardFiles& files) {
    std::string text(files.cut ? kCut : kCopy);
    for (const std::string& uri : uris(files.paths)) {
        text += '\n';
        text += uri;
    }
    return text;
}

std::string uriListText(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& uri : uris(paths)) {
        text += uri;
        text += "\r\n";
    }
    return text;
}

std::optional<ClipboardFiles> parseGnomeCopiedFiles(std::string_view text) {
    ClipboardFiles files;
    bool first = true;
    bool knownAction = false;
    forEachLine(text, [&](std::string_view line) {
        if (first && line == kNautilusTextHeader) {
            return;
        }
        if (first) {
            first = false;
            files.cut = equalsNoCase(line, kCut);
            knownAction = files.cut || equalsNoCase(line, kCopy);
            return;
        }
        if (auto path = pathFromFileUri(line)) {
            files.paths.push_back(std::move(*path));
        }
    });
    if (!knownAction || files.paths.empty()) {
        return std::nullopt;
    }
    return files;
}

bool isNautilusClipboardText(std::string_view text) {
    if (!text.starts_with(kNautilusTextHeader)) {
        return false;
    }
    text.remove_prefix(kNautilusTextHeader.size());
    return text.starts_with('\n') || text.starts_with("\r\n");
}

std::vector<std::string> parseUriList(std::string_view text) {
    std::vector<std::string> paths;
    forEachLine(text, [&](std::string_view line) {
        if (line.empty() || line.front() == '#') {
            return;
        }
        if (auto path = pathFromFileUri(line)) {
            paths.push_back(std::move(*path));
        }
    });
    return paths;
}

std::optional<std::string> pathFromFileUri(std::string_view uri) {
    constexpr std::string_view scheme = "file:";
    if (!startsWithNoCase(uri, scheme)) {
        return std::nullopt;
    }
    std::string_view rest = uri.substr(scheme.size());
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        if (slash == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view host = rest.substr(0, slash);
        // Another machine's file is no file of ours, even when the same path exists here.
        if (!host.empty() && !equalsNoCase(host, "localhost")) {
            return std::nullopt;
        }
        rest.remove_prefix(slash);
    }
    if (rest.empty() || rest.front() != '/') {
        return std::nullopt;
    }
    std::string path;
    path.reserve(rest.size());
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c == '\0' || c == '?' || c == '#') {
            return std::nullopt;
        }
        if (c != '%') {
            path += c;
            continue;
        }
        const int high = i + 2 < rest.size() ? hexValue(rest[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(rest[i + 2]) : -1;
        if (low < 0 || (high == 0 && low == 0)) {
            return std::nullopt;
        }
        path += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return path;
}

}  // namespace tarn::platform
