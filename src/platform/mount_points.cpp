#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

#include "common/path_rules.h"
#include "platform/dir_handle.h"
#include "platform/shell_namespace.h"

namespace tarn::platform {

namespace {

// Mount tables escape blanks and backslashes as three octal digits.
std::string unescapeMountField(std::string_view field) {
    const auto oct = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && oct(field[i + 1]) && oct(field[i + 2]) &&
            oct(field[i + 3])) {
            const int v =
                (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            out.push_back(static_cast<char>(v & 0xFF));
            i += 3;
            continue;
        }
        out.push_back(field[i]);
    }
    return out;
}

// udev escapes blanks and slashes in link names as \xNN.
std::string unescapeLabelLink(std::string_view name) {
    const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    std::string label;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && hex(name[i + 2]) &&
            hex(name[i + 3])) {
            label.push_back(static_cast<char>(
                std::strtol(std::string(name.substr(i + 2, 2)).c_str(), nullptr, 16)));
            i += 3;
            continue;
        }
        label.push_back(name[i]);
    }
    return label;
}

}  // namespace

std::vector<MountedVolume> volumesFromMountTable(std::string_view table) {
    std::vector<MountedVolume> out;
    while (!table.empty()) {
        const std::size_t nl = table.find('\n');
        std::string_view line = table.substr(0, nl);
        table.remove_prefix(nl == std::string_view::npos ? table.size() : nl + 1);
        // Second blank-separated field.
        const std::size_t a = line.find(' ');
        if (a == std::string_view::npos) {
            continue;
        }
        std::string_view rest = line.substr(a + 1);
        const std::size_t b = rest.find(' ');
        const std::string mount =
            normalizePath(unescapeMountField(rest.substr(0, b)), PathStyle::Posix);
        const bool external = (isPathWithin(mount, "/media") && mount != "/media") ||
                              (isPathWithin(mount, "/run/media") && mount != "/run/media") ||
                              isPathWithin(mount, "/mnt");
        if (!external) {
            continue;
        }
        const bool seen = std::any_of(
            out.begin(), out.end(), [&](const MountedVolume& v) { return v.mountPoint == mount; });
        if (!seen) {
            out.push_back({mount, {}, unescapeMountField(line.substr(0, a))});
        }
    }
    return out;
}

void labelVolumes(std::vector<MountedVolume>& volumes, const std::string& byLabelFolder) {
    const DirHandle dir(opendir(byLabelFolder.c_str()));
    if (!dir) {
        return;
    }
    while (const dirent* e = readdir(dir.get())) {
        const std::string_view name(e->d_name);
        if (name == "." || name == "..") {
            continue;
        }
        char resolved[PATH_MAX];
        if (::realpath(joinPath(byLabelFolder, name, PathStyle::Posix).c_str(), resolved) ==
            nullptr) {
            continue;
        }
        for (MountedVolume& v : volumes) {
            char device[PATH_MAX];
            if (v.label.empty() && !v.device.empty() &&
                ::realpath(v.device.c_str(), device) != nullptr &&
                std::string_view(device) == resolved) {
                v.label = unescapeLabelLink(name);
            }
        }
    }
}

}  // namespace tarn::platform
