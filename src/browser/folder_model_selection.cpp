// The model's selection, focus and the lists and counts taken from them.
#include "browser/folder_model.h"

#include <algorithm>
#include <filesystem>

namespace tarn {

using platform::ItemIdList;

std::vector<std::string> FolderModel::selectedImagePaths() const {
    std::vector<std::string> out;
    for (const auto& item : m_items) {
        if (item->selected && item->kind == kKindImage) {
            out.push_back(item->path);
        }
    }
    return out;
}

std::vector<std::string> FolderModel::allImagePaths() const {
    std::vector<std::string> out;
    for (const auto& item : m_items) {
        if (item->kind == kKindImage) {
            out.push_back(item->path);
        }
    }
    return out;
}

std::vector<std::string> FolderModel::selectedPaths() const {
    std::vector<std::string> out;
    for (const auto& item : m_items) {
        if (item->selected && !item->path.empty()) {
            out.push_back(item->path);
        }
    }
    return out;
}

std::vector<std::string> FolderModel::allDisplayNames() const {
    std::vector<std::string> out;
    out.reserve(m_items.size());
    for (const auto& item : m_items) {
        out.push_back(item->displayName);
    }
    return out;
}

std::vector<ItemIdList> FolderModel::selectedIds() const {
    std::vector<ItemIdList> out;
    for (const auto& item : m_items) {
        if (item->selected) {
            out.push_back(item->absoluteId);
        }
    }
    return out;
}

std::string FolderModel::multiString(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& s : items) {
        out += s;
        out.push_back('\0');
    }
    out.push_back('\0');
    return out;
}

int FolderModel::selectedCount() const {
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(),
                                          [](const auto& item) { return item->selected; }));
}

int FolderModel::selectedImageCount() const {
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(), [](const auto& item) {
        return item->selected && item->kind == kKindImage;
    }));
}

int FolderModel::imageCount() const {
    int n = 0;
    for (int i = 0; i < count(); ++i) {
        n += targetIsImage(i) ? 1 : 0;
    }
    return n;
}

int FolderModel::imagePosition(int index) const {
    int n = 1;
    for (int i = 0; i < index && i < count(); ++i) {
        n += targetIsImage(i) ? 1 : 0;
    }
    return n;
}

bool FolderModel::isSteppableImage(int index) const {
    if (!targetIsImage(index)) {
        return false;
    }
    const FolderItem& item = *m_items[static_cast<std::size_t>(index)];
    // A shortcut's target is looked at now: it may have gone since the folder was read.
    std::error_code error;
    return item.kind != kKindShortcut ||
           (!item.targetPath.empty() && std::filesystem::exists(item.targetPath, error));
}

int FolderModel::nextImage(int index) const {
    for (int i = std::max(index + 1, 0); i < count(); ++i) {
        if (isSteppableImage(i)) {
            return i;
        }
    }
    return -1;
}

int FolderModel::previousImage(int index) const {
    for (int i = std::min(index, count()) - 1; i >= 0; --i) {
        if (isSteppableImage(i)) {
            return i;
        }
    }
    return -1;
}

std::uint64_t FolderModel::totalSize() const {
    std::uint64_t sum = 0;
    for (const auto& item : m_items) {
        if (item->kind != kKindFolder) {
            sum += item->size;
        }
    }
    return sum;
}

std::uint64_t FolderModel::selectedTotalSize() const {
    std::uint64_t sum = 0;
    for (const auto& item : m_items) {
        if (item->selected && item->kind != kKindFolder) {
            sum += item->size;
        }
    }
    return sum;
}

void FolderModel::selectAll() {
    for (auto& item : m_items) {
        item->selected = true;
    }
}

void FolderModel::selectAllFiles() {
    for (auto& item : m_items) {
        item->selected = item->kind != kKindFolder;
    }
}

void FolderModel::selectAllImages() {
    for (auto& item : m_items) {
        item->selected = item->kind == kKindImage;
    }
}

void FolderModel::clearSelection() {
    for (auto& item : m_items) {
        item->selected = false;
    }
}

void FolderModel::invertSelection() {
    for (auto& item : m_items) {
        item->selected = !item->selected;
    }
}

void FolderModel::setSelected(int index, bool selected) {
    if (FolderItem* it = item(index)) {
        it->selected = selected;
    }
}

int FolderModel::firstSelected() const {
    for (int i = 0; i < count(); ++i) {
        if (m_items[i]->selected) {
            return i;
        }
    }
    return -1;
}

void FolderModel::setFocus(int index) {
    for (auto& item : m_items) {
        item->focused = false;
    }
    if (FolderItem* it = item(index)) {
        it->focused = true;
    }
}

int FolderModel::focusedIndex() const {
    for (int i = 0; i < count(); ++i) {
        if (m_items[i]->focused) {
            return i;
        }
    }
    return -1;
}

std::string FolderModel::windowTitle() const {
    if (m_folderName.empty()) {
        return "Tarn Photo Viewer";
    }
    return m_folderName + " - Tarn Photo Viewer";
}
}  // namespace tarn
