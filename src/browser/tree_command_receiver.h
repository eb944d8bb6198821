#pragma once

#include <wx/treebase.h>

#include <cstdint>
#include <functional>
#include <string>

#include "commands/command_handlers.h"

namespace tarn {

class CShellTree;
class FileActions;

// The folder tree's file commands. One receiver answers the context menu's commands, acting on
// the node right-clicked; another the main menu's, acting on the selected node.
class TreeCommandReceiver : public CommandHandlers {
public:
    enum class ActsOn { ContextNode, SelectedNode };

    TreeCommandReceiver(CShellTree& tree, FileActions& files, ActsOn actsOn);

    // Reads the list's folder again (after a change below the selected node).
    void setListRefreshHandler(std::function<void()> handler) {
        m_refreshList = std::move(handler);
    }

private:
    wxTreeItemId node() const;
    bool has(std::uint32_t attributes) const;
    void newFolder();
    void paste();
    void remove();
    // The node's children changed: read them again, and the list when it shows the node.
    void childrenChanged(const wxTreeItemId& item);

    CShellTree& m_tree;
    FileActions& m_files;
    const ActsOn m_actsOn;
    std::function<void()> m_refreshList;
};

}  // namespace tarn
