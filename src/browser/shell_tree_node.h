#pragma once

#include <wx/treebase.h>

#include <string>

#include "browser/shell_tree.h"
#include "platform/item_id_list.h"

namespace tarn {

// What the folder tree keeps for each of its nodes; shared by the tree's source files.
struct CShellTree::Node : wxTreeItemData {
    platform::ItemIdList relative;  // element within the parent; empty for the root
    platform::ItemIdList absolute;
    std::string path;  // empty for the virtual folders
    bool enumerated = false;
};

}  // namespace tarn
