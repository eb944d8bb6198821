#pragma once

#include <wx/fswatcher.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "browser/super_tree_ctrl.h"
#include "commands/command_router.h"
#include "platform/item_id_list.h"
#include "platform/mount_table.h"

namespace tarn {

struct AppContext;
class CSystemImageLists;
struct TreeChild;

// The "Folders" pane: the shell namespace from the Desktop down, folders only, listed when a
// node first expands and kept current by watching every listed folder and the mount table.
class CShellTree : public CSuperTreeCtrl {
public:
    using FolderSelectedHandler = std::function<void(const platform::ItemIdList& folder)>;

    // Builds the tree: Desktop as the root, expanded, with Computer expanded below it; the
    // root ends selected without calling the handler.
    CShellTree(wxWindow* parent, wxWindowID id, AppContext& context,
               const CSystemImageLists& icons);
    ~CShellTree() override;

    // Called with the absolute identifier whenever the selected folder becomes one the
    // handler has not been given last; the owner browses the list there.
    void setFolderSelectedHandler(FolderSelectedHandler handler);
    // Called after the mounted volumes changed and Computer shows the new ones.
    void setVolumesChangedHandler(std::function<void()> handler);

    // Expands the path down to the folder and selects it; false when it cannot be reached
    // (gone, unreadable on the way, or hidden while hidden files are not shown).
    bool selectFolder(const platform::ItemIdList& folder);
    std::optional<platform::ItemIdList> selectedFolder() const;
    // Selects the selected node's parent; false at the root.
    bool selectParent();
    bool canGoUp() const;
    void expandRootAndSelection();

    // The owner showed a folder that did not come from this tree (the favorites): a click on
    // the selected node then hands its folder out again.
    void listBrowsedElsewhere();

    // The node of an identifier, walking down from the root; with expand set, nodes not yet
    // listed on the way are listed. An invalid id when there is none.
    wxTreeItemId findNode(const platform::ItemIdList& folder, bool expand);
    // Lists the node's folder again: new children are appended, vanished ones deleted.
    void refreshChildren(const wxTreeItemId& item);

    // A node's folder and path (empty for the virtual folders); nullopt without a node.
    std::optional<platform::ItemIdList> folderOf(const wxTreeItemId& item) const;
    std::string pathOf(const wxTreeItemId& item) const;
    const platform::ShellNamespace& shell() const;
    // The node the context menu's commands act on: the one last right-clicked.
    wxTreeItemId contextNode() const { return m_contextNode; }
    // Who answers the context menu's commands. Not owned.
    void setContextCommands(CommandReceiver* receiver) { m_contextCommands = receiver; }
    // The Rename command: opens the label editor on the node; false, with a beep, for a node
    // that may not be renamed (a virtual folder, "/", a mount point). A rename that fails is
    // reported and the editor opens again (shell_tree_label_edit.cpp).
    bool editLabel(const wxTreeItemId& item);
    bool mayRename(const wxTreeItemId& item) const;
    bool isEditingLabel() const { return m_labelEditing; }

private:
    struct Node;
    Node* node(const wxTreeItemId& item) const;

    wxTreeItemId appendChild(const wxTreeItemId& parent, const platform::ItemIdList& parentId,
                             TreeChild& child);
    void enumerate(const wxTreeItemId& item);
    void deleteNode(const wxTreeItemId& item);
    void notifySelection(const wxTreeItemId& item);

    // False while no event loop runs yet.
    bool startWatching();
    void addWatch(const std::string& path);
    void watch(const std::string& path);
    void unwatch(const std::string& path);
    void unwatchSubtree(const wxTreeItemId& item);
    void refreshFolderPath(const wxTreeItemId& from, const std::string& path);
    void refreshAllListed(const wxTreeItemId& from);
    void processChanges();

    void onExpanding(wxTreeEvent& event);
    void onSelectionChanged(wxTreeEvent& event);
    void onLeftDown(wxMouseEvent& event);
    void onFileSystemChange(wxFileSystemWatcherEvent& event);
    void onIdle(wxIdleEvent& event);
    void bindContextCommands();
    void onContextMenu(wxContextMenuEvent& event);
    void onContextMenuOpen(wxMenuEvent& event);
    // The context commands' answer; nullopt for a command they do not handle.
    std::optional<CommandState> contextState(int command) const;
    void onContextCommand(wxCommandEvent& event);
    void onContextUpdateUi(wxUpdateUIEvent& event);
    // typed: the text the editor starts from; empty for the folder's own name.
    bool openLabelEditor(const wxTreeItemId& item, const std::string& typed);
    void onBeginLabelEdit(wxTreeEvent& event);
    void onEndLabelEdit(wxTreeEvent& event);
    void finishRename(const platform::ItemIdList& folder, const std::string& path,
                      const std::string& typed);
    // The mount table changed: Computer lists the volumes mounted now.
    void volumesChanged();

    AppContext& m_context;
    FolderSelectedHandler m_handler;
    std::function<void()> m_onVolumesChanged;
    std::unique_ptr<platform::MountTable::Watch> m_mountWatch;
    std::unique_ptr<wxFileSystemWatcher> m_watcher;
    std::map<std::string, int> m_watchCount;  // path → listed nodes watching it
    std::set<std::string> m_changedFolders;   // paths waiting for a refresh
    bool m_refreshAll = false;
    bool m_changesQueued = false;
    bool m_ready = false;
    // Editing starts only from editLabel, never by a click on a label.
    bool m_labelEditAllowed = false;
    bool m_labelEditing = false;
    std::optional<platform::ItemIdList> m_lastHandedOut;
    wxTreeItemId m_contextNode;
    wxMenu* m_contextMenu = nullptr;  // while it is shown
    CommandReceiver* m_contextCommands = nullptr;
};

}  // namespace tarn
