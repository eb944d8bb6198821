#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "browser/file_classification.h"
#include "browser/folder_item.h"
#include "platform/item_id_list.h"
#include "platform/shell_namespace.h"

namespace tarn {

enum SortKey : int {
    kSortByName = 0,
    kSortBySize = 1,
    kSortByType = 2,
    kSortByDate = 3,
    kSortByPhotoSize = 4,
};
enum SortDirection : int { kSortForward = 0, kSortBackward = 1 };

// Where a browse came from: the folder tree or address bar, or the favorites tree.
enum BrowseSource : int { kBrowseFromTree = 0, kBrowseFromFavorites = 1 };

// The ordered items of the one folder the browser shows. Owned by the thumbnail list; every
// index the list reports is an index here. Not thread-safe: only the owner's thread touches
// it; the thumbnail worker hands its results back to that thread.
class FolderModel {
public:
    FolderModel(const platform::ShellNamespace& shell, ImageExtensions images);

    // Fills the model from scratch. False, with the old contents kept, when the folder cannot
    // be listed. handOver runs after the folder is known to be listable and before the old
    // items go (the thumbnail list empties its worker's queue there).
    bool browse(const platform::ItemIdList& folder, int source, bool showHidden,
                const std::function<void()>& handOver = {});
    // Brings the items in step with the disk without sorting: unchanged files keep their
    // thumbnails, rewritten ones lose them, new ones are appended, gone ones removed.
    // Returns true when anything changed.
    bool refresh(bool showHidden);

    // Orders the items by the current key and direction, folders first; equal items keep
    // their order.
    void sort();
    // Each sets its value and sorts.
    void sortBy(int key);
    void setSortDirection(int direction);
    int sortKey() const { return m_sortKey; }
    int sortDirection() const { return m_sortDirection; }
    // Restores the saved key and direction without sorting (clamped to their ranges).
    void setSortState(int key, int direction);

    int count() const { return static_cast<int>(m_items.size()); }
    FolderItem* item(int index);
    const FolderItem* item(int index) const;
    int indexOf(const FolderItem* item) const;
    // Paths compare by the host's rule after dropping one trailing separator; an empty query
    // finds nothing.
    FolderItem* itemByPath(std::string_view path);
    FolderItem* itemByRelativeId(const platform::ItemIdList& id);
    void deleteAll();

    // Selection lists.
    std::vector<std::string> selectedImagePaths() const;
    std::vector<std::string> allImagePaths() const;
    std::vector<std::string> selectedPaths() const;
    std::vector<std::string> allDisplayNames() const;
    std::vector<platform::ItemIdList> selectedIds() const;
    // Zero-terminated strings ended by an empty string.
    static std::string multiString(const std::vector<std::string>& items);

    int selectedCount() const;
    int selectedImageCount() const;
    // Items whose target is an image (shortcuts to folders and images that became folders do
    // not count).
    int imageCount() const;
    // 1 + the number of images before index.
    int imagePosition(int index) const;
    // -1 when there is none.
    int nextImage(int index) const;
    int previousImage(int index) const;
    // An image the viewer and the slide show step to: a shortcut only while its target exists.
    bool isSteppableImage(int index) const;
    bool targetIsImage(int index) const;

    std::uint64_t totalSize() const;
    std::uint64_t selectedTotalSize() const;

    void selectAll();
    void selectAllFiles();
    void selectAllImages();
    void clearSelection();
    void invertSelection();
    void setSelected(int index, bool selected);
    int firstSelected() const;
    // Moves the focus state to index (-1: nobody holds it).
    void setFocus(int index);
    int focusedIndex() const;

    const platform::ItemIdList& folderId() const { return m_folder; }
    int browseSource() const { return m_source; }
    const std::string& folderPath() const { return m_folderPath; }
    const std::string& folderDisplayName() const { return m_folderName; }
    bool hasFolder() const { return m_hasFolder; }
    // "<folder> - Tarn Photo Viewer", or the program name alone.
    std::string windowTitle() const;

    const ImageExtensions& imageExtensions() const { return m_images; }
    const platform::ShellNamespace& shell() const { return m_shell; }

private:
    std::unique_ptr<FolderItem> buildItem(const platform::ChildInfo& child) const;
    unsigned enumFlags(bool showHidden) const;

    const platform::ShellNamespace& m_shell;
    ImageExtensions m_images;
    std::vector<std::unique_ptr<FolderItem>> m_items;

    platform::ItemIdList m_folder;
    bool m_hasFolder = false;
    int m_source = kBrowseFromTree;
    std::string m_folderPath;
    std::string m_folderName;
    int m_sortKey = kSortByName;
    int m_sortDirection = kSortForward;
};

}  // namespace tarn
