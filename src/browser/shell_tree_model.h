#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/item_id_list.h"
#include "platform/shell_namespace.h"

namespace tarn {

// One folder child as the folder tree shows it.
struct TreeChild {
    platform::ItemIdList relative;  // the child's element within its folder
    std::string name;               // display name
    std::string path;               // file-system path; empty for a virtual folder
    int icon = -1;                  // system icon index
    bool hasSubFolders = false;     // drives the children indicator
};

// The folder children of a folder, hidden ones only when asked. Children of a file-system
// folder are sorted by name, case-insensitively (ties by bytes, so the order is total); the
// virtual folders keep the namespace's order (Home before Computer, File System before the
// volumes). Nothing when the folder cannot be listed.
std::optional<std::vector<TreeChild>> listTreeFolders(const platform::ShellNamespace& shell,
                                                      const platform::ItemIdList& folder,
                                                      bool includeHidden);

// How a node's children change when its folder is listed again: the existing children whose
// element is no longer listed go, listed children without a node are added (in listing order,
// appended after the others). Existing children keep their place.
struct ChildRefreshPlan {
    std::vector<std::size_t> removed;  // indices into the existing children
    std::vector<std::size_t> added;    // indices into the fresh listing
};
ChildRefreshPlan planChildRefresh(const std::vector<platform::ItemIdList>& existing,
                                  const std::vector<TreeChild>& fresh);

// The path of the folder whose listing changes when the entry at an absolute path appears,
// disappears or is renamed; nothing for "/" and relative paths.
std::optional<std::string> folderOfChangedEntry(std::string_view path);

}  // namespace tarn
