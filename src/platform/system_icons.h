#pragma once

#include <string_view>

namespace tarn::platform {

// The icons of the system icon lists. Each has a stable index; the windows build one list of
// large and one of small icons from the desktop icon theme in this order.
enum class SystemIcon : int {
    Folder,
    FolderOpen,
    Image,
    File,
    Home,
    Computer,
    Drive,
    RemovableDrive,
    Desktop,
    Count
};

// The freedesktop icon name of each icon.
constexpr std::string_view systemIconName(SystemIcon icon) {
    switch (icon) {
        case SystemIcon::Folder:
            return "folder";
        case SystemIcon::FolderOpen:
            return "folder-open";
        case SystemIcon::Image:
            return "image-x-generic";
        case SystemIcon::File:
            return "text-x-generic";
        case SystemIcon::Home:
            return "user-home";
        case SystemIcon::Computer:
            return "computer";
        case SystemIcon::Drive:
            return "drive-harddisk";
        case SystemIcon::RemovableDrive:
            return "drive-removable-media";
        case SystemIcon::Desktop:
            return "user-desktop";
        case SystemIcon::Count:
            break;
    }
    return {};
}

constexpr int systemIconIndex(SystemIcon icon) {
    return static_cast<int>(icon);
}

}  // namespace tarn::platform
