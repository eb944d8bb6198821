#include "browser/folder_model.h"

#include <algorithm>
#include <unordered_map>

#include "common/path_rules.h"
#include "platform/shell_link.h"
#include "platform/system_icons.h"

namespace tarn {

namespace {

using platform::ItemIdList;
using platform::SystemIcon;
using platform::systemIconIndex;

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// ASCII letters lowered; compared afterwards as unsigned bytes, this is the case-insensitive
// byte order of names and extensions.
std::string loweredAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        c = lowerAscii(c);
    }
    return out;
}

// The extension of a path's last component, as a view into it.
std::string_view extensionView(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

template <typename T>
int compareValues(T a, T b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

std::string_view withoutTrailingSeparator(std::string_view p) {
    if (p.size() > 1 && p.back() == pathSeparator()) {
        p.remove_suffix(1);
    }
    return p;
}

}  // namespace

FolderModel::FolderModel(const platform::ShellNamespace& shell, ImageExtensions images)
    : m_shell(shell), m_images(std::move(images)) {}

unsigned FolderModel::enumFlags(bool showHidden) const {
    return platform::kEnumFolders | platform::kEnumNonFolders |
           (showHidden ? platform::kEnumHidden : 0u);
}

std::unique_ptr<FolderItem> FolderModel::buildItem(const platform::ChildInfo& child) const {
    auto item = std::make_unique<FolderItem>();
    item->relativeId = ItemIdList::fromElement(child.element);
    if (item->relativeId.empty()) {
        return nullptr;
    }
    item->absoluteId = m_folder.joined(item->relativeId);
    item->path.assign(child.path);
    item->displayName.assign(child.name);

    const std::uint32_t attrs = child.attributes;
    item->hidden = (attrs & platform::kAttrHidden) != 0;
    item->fileSystem = (attrs & platform::kAttrFileSystem) != 0;
    if (attrs & platform::kAttrFolder) {
        // An archive shown as a folder is a file to us.
        item->kind = isZipArchive(item->path) ? kKindOther : kKindFolder;
    } else if (attrs & platform::kAttrLink) {
        item->kind = kKindShortcut;
    } else {
        item->kind = m_images.contains(extensionView(item->path)) ? kKindImage : kKindOther;
    }

    if (item->kind == kKindShortcut) {
        item->targetPath = platform::shortcutTarget(item->path);
        item->browsableFolder = !item->targetPath.empty() &&
                                isExistingDirectory(item->targetPath) &&
                                !isDriveRoot(item->targetPath);
    } else {
        item->targetPath = item->path;
        item->browsableFolder = item->kind == kKindFolder && item->fileSystem &&
                                !item->path.empty() && !isDriveRoot(item->path);
    }

    switch (item->kind) {
        case kKindFolder:
            // Home, Computer, File System and volumes have icons of their own.
            item->iconIndex = platform::ShellNamespace::isPathComponent(child.element)
                                  ? systemIconIndex(SystemIcon::Folder)
                                  : m_shell.iconIndex(item->absoluteId);
            break;
        case kKindImage:
            item->iconIndex = systemIconIndex(SystemIcon::Image);
            break;
        case kKindShortcut:
            item->iconIndex = item->browsableFolder
                                  ? systemIconIndex(SystemIcon::Folder)
                                  : (m_images.contains(extensionView(item->targetPath))
                                         ? systemIconIndex(SystemIcon::Image)
                                         : systemIconIndex(SystemIcon::File));
            break;
        default:
            item->iconIndex = systemIconIndex(SystemIcon::File);
            break;
    }

    item->thumbnailPending = hasFastThumbnailExtension(item->path) ||
                             (item->kind == kKindShortcut && !item->targetPath.empty() &&
                              hasFastThumbnailExtension(item->targetPath));
    if (item->fileSystem) {
        item->modified = child.modified;
        item->size = child.size;
    }
    return item;
}

bool FolderModel::browse(const ItemIdList& folder, int source, bool showHidden,
                         const std::function<void()>& handOver) {
    const ItemIdList copy = folder;
    if (!m_shell.canBind(copy)) {
        return false;
    }
    if (handOver) {
        handOver();
    }
    deleteAll();
    m_folder = copy;
    m_hasFolder = true;
    m_source = source;
    m_folderPath = m_shell.pathOf(copy);
    m_folderName = m_shell.displayName(copy);

    m_shell.enumerate(m_folder, enumFlags(showHidden), [&](const platform::ChildInfo& child) {
        if (!(child.attributes & (platform::kAttrFolder | platform::kAttrFileSystem))) {
            return;
        }
        if (auto item = buildItem(child)) {
            m_items.push_back(std::move(item));
        }
    });

    // No photo sizes are known right after a scan.
    if (m_sortKey == kSortByPhotoSize) {
        m_sortKey = kSortByName;
    }
    sort();
    if (!m_items.empty()) {
        setFocus(0);
    }
    return true;
}

bool FolderModel::refresh(bool showHidden) {
    if (!m_hasFolder) {
        return false;
    }
    // Owned keys: records are replaced while the map is in use.
    std::unordered_map<std::string, std::size_t> byId;
    byId.reserve(m_items.size());
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        byId.emplace(m_items[i]->relativeId.bytes(), i);
    }

    bool changed = false;
    std::vector<std::unique_ptr<FolderItem>> added;
    const bool listed =
        m_shell.enumerate(m_folder, enumFlags(showHidden), [&](const platform::ChildInfo& child) {
            if (!(child.attributes & (platform::kAttrFolder | platform::kAttrFileSystem))) {
                return;
            }
            const ItemIdList rel = ItemIdList::fromElement(child.element);
            const auto found = byId.find(rel.bytes());
            if (found == byId.end()) {
                if (auto item = buildItem(child)) {
                    item->seen = true;
                    added.push_back(std::move(item));
                    changed = true;
                }
                return;
            }
            std::unique_ptr<FolderItem>& slot = m_items[found->second];
            if (slot->seen) {
                return;
            }
            slot->seen = true;
            const bool isFolder = (child.attributes & platform::kAttrFolder) != 0;
            // A file replaced by a folder of the same name (or the reverse) is rebuilt too.
            const bool replace = slot->path.empty() || isFolder != (slot->kind == kKindFolder) ||
                                 (!isFolder && child.modified != slot->modified);
            if (!replace) {
                return;
            }
            if (auto fresh = buildItem(child)) {
                fresh->seen = true;
                fresh->selected = slot->selected;
                fresh->focused = slot->focused;
                slot = std::move(fresh);
                changed = true;
            }
        });
    if (!listed) {
        deleteAll();
        return true;
    }

    for (auto& item : added) {
        m_items.push_back(std::move(item));
    }
    const auto gone =
        std::remove_if(m_items.begin(), m_items.end(),
                       [](const std::unique_ptr<FolderItem>& item) { return !item->seen; });
    if (gone != m_items.end()) {
        changed = true;
        m_items.erase(gone, m_items.end());
    }
    for (auto& item : m_items) {
        item->seen = false;
    }
    return changed;
}

void FolderModel::sort() {
    // Keys are taken out once into a compact array: comparing through the records themselves
    // misses the cache on every step for large folders.
    struct Entry {
        std::uint64_t number;
        std::string text;  // lowered, compared as unsigned bytes
        std::uint32_t index;
        bool folder;
    };
    const int key = m_sortKey;
    const bool backward = m_sortDirection == kSortBackward;
    const bool textKey = key == kSortByName || key == kSortByType;
    std::vector<Entry> entries(m_items.size());
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const FolderItem& it = *m_items[i];
        Entry& e = entries[i];
        e.index = static_cast<std::uint32_t>(i);
        e.folder = it.kind == kKindFolder;
        switch (key) {
            case kSortBySize:
                e.number = it.size;
                break;
            case kSortByDate:
                // Signed order as unsigned: flip the sign bit.
                e.number = static_cast<std::uint64_t>(it.modified) ^ (1ull << 63);
                break;
            case kSortByPhotoSize:
                e.number = static_cast<std::uint64_t>(std::max(it.photoWidth, 0)) *
                           static_cast<std::uint64_t>(std::max(it.photoHeight, 0));
                break;
            case kSortByType:
                e.text = loweredAscii(extensionView(it.path));
                break;
            default:
                e.text = loweredAscii(it.displayName);
                break;
        }
    }
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        if (a.folder != b.folder) {
            return a.folder;  // folders first in both directions
        }
        const int c = textKey ? a.text.compare(b.text) : compareValues(a.number, b.number);
        return backward ? c > 0 : c < 0;
    });
    std::vector<std::unique_ptr<FolderItem>> ordered;
    ordered.reserve(m_items.size());
    for (const Entry& e : entries) {
        ordered.push_back(std::move(m_items[e.index]));
    }
    m_items = std::move(ordered);
}

void FolderModel::sortBy(int key) {
    m_sortKey = std::clamp(key, 0, 4);
    sort();
}

void FolderModel::setSortDirection(int direction) {
    m_sortDirection = std::clamp(direction, 0, 1);
    sort();
}

void FolderModel::setSortState(int key, int direction) {
    m_sortKey = std::clamp(key, 0, 4);
    m_sortDirection = std::clamp(direction, 0, 1);
}

FolderItem* FolderModel::item(int index) {
    return index >= 0 && index < count() ? m_items[index].get() : nullptr;
}

const FolderItem* FolderModel::item(int index) const {
    return index >= 0 && index < count() ? m_items[index].get() : nullptr;
}

int FolderModel::indexOf(const FolderItem* wanted) const {
    for (int i = 0; i < count(); ++i) {
        if (m_items[i].get() == wanted) {
            return i;
        }
    }
    return -1;
}

FolderItem* FolderModel::itemByPath(std::string_view path) {
    if (path.empty()) {
        return nullptr;
    }
    const std::string_view query = withoutTrailingSeparator(path);
    for (auto& item : m_items) {
        if (samePath(withoutTrailingSeparator(item->path), query)) {
            return item.get();
        }
    }
    return nullptr;
}

FolderItem* FolderModel::itemByRelativeId(const ItemIdList& id) {
    for (auto& item : m_items) {
        if (item->relativeId == id) {
            return item.get();
        }
    }
    return nullptr;
}

void FolderModel::deleteAll() {
    if (const int f = focusedIndex(); f >= 0) {
        m_items[f]->focused = false;
    }
    while (!m_items.empty()) {
        m_items.pop_back();
    }
}

bool FolderModel::targetIsImage(int index) const {
    const FolderItem* it = item(index);
    if (it == nullptr) {
        return false;
    }
    switch (it->kind) {
        case kKindFolder:
            return false;
        case kKindShortcut:
            return classifyFile(it->targetPath, false, m_images) == kKindImage;
        default:
            // Listed as a file: only the extension is left to test.
            return m_images.contains(extensionView(it->targetPath));
    }
}

}  // namespace tarn
