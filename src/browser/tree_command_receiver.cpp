#include "browser/tree_command_receiver.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "app/app_context.h"
#include "browser/file_actions.h"
#include "browser/shell_tree.h"
#include "common/path_rules.h"

namespace tarn {

namespace {

// A command of the main menu and its twin in the tree's context menu.
struct Twin {
    int main;
    int context;
};

}  // namespace

TreeCommandReceiver::TreeCommandReceiver(CShellTree& tree, FileActions& files, ActsOn actsOn)
    : m_tree(tree), m_files(files), m_actsOn(actsOn) {
    const bool context = actsOn == ActsOn::ContextNode;
    const auto id = [context](Twin twin) { return context ? twin.context : twin.main; };
    const auto path = [this] { return m_tree.pathOf(node()); };
    const auto hasPath = [path] { return !path().empty(); };
    const auto can = [this](std::uint32_t attributes) {
        return [this, attributes] { return has(attributes | platform::kAttrFileSystem); };
    };

    add(id({cmd::kNewFolder, cmd::kTreeNewFolder}), hasPath, [this] { newFolder(); });
    add(id({cmd::kLocateOnDisk, cmd::kTreeLocateOnDisk}), hasPath,
        [this, path] { m_files.locate(path()); });
    add(id({cmd::kCut, cmd::kTreeCut}), can(platform::kAttrCanMove),
        [this, path] { m_files.cut({path()}); });
    add(id({cmd::kCopy, cmd::kTreeCopy}), can(platform::kAttrCanCopy),
        [this, path] { m_files.copy({path()}); });
    add(
        id({cmd::kPaste, cmd::kTreePaste}),
        [this, path] { return !m_files.busy() && m_files.canPaste(path()); }, [this] { paste(); });
    add(id({cmd::kDelete, cmd::kTreeDelete}), can(platform::kAttrCanDelete), [this] { remove(); });
    add(
        id({cmd::kRename, cmd::kTreeRename}), [this] { return m_tree.mayRename(node()); },
        [this] { m_tree.editLabel(node()); });
    add(id({cmd::kProperties, cmd::kTreeProperties}), hasPath,
        [this, path] { m_files.properties({path()}, 0); });
}

wxTreeItemId TreeCommandReceiver::node() const {
    return m_actsOn == ActsOn::ContextNode ? m_tree.contextNode() : m_tree.GetSelection();
}

bool TreeCommandReceiver::has(std::uint32_t attributes) const {
    const std::optional<platform::ItemIdList> folder = m_tree.folderOf(node());
    return folder && m_tree.shell().attributes(*folder, attributes) == attributes;
}

void TreeCommandReceiver::newFolder() {
    const wxTreeItemId item = node();
    const std::string parent = m_tree.pathOf(item);
    // Every name in the folder, files too: a file may not share the new folder's name.
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(parent, error)) {
        names.push_back(entry.path().filename().string());
    }
    const std::optional<std::string> name = m_files.newFolder(parent, names);
    if (!name) {
        return;
    }
    childrenChanged(item);
    m_tree.Expand(item);
    if (const auto made = m_tree.shell().idFromPath(joinPath(parent, *name, PathStyle::Posix))) {
        m_tree.editLabel(m_tree.findNode(*made, true));
    }
}

// Operations end later, when the nodes may have gone: they find them again by their folders.
void TreeCommandReceiver::paste() {
    const wxTreeItemId item = node();
    const std::optional<platform::ItemIdList> folder = m_tree.folderOf(item);
    m_files.paste(m_tree.pathOf(item), [this, folder](const FileOpResult&) {
        childrenChanged(m_tree.findNode(*folder, false));
    });
}

void TreeCommandReceiver::remove() {
    const wxTreeItemId item = node();
    const std::optional<platform::ItemIdList> parent = m_tree.folderOf(m_tree.GetItemParent(item));
    if (!parent) {
        return;
    }
    const platform::ItemIdList removed = *m_tree.folderOf(item);
    m_files.remove({m_tree.pathOf(item)}, [this, parent, removed](const FileOpResult& result) {
        const wxTreeItemId parentNode = m_tree.findNode(*parent, false);
        const std::optional<platform::ItemIdList> selected = m_tree.selectedFolder();
        // The list leaves a folder that went for its parent.
        if (result.ok() && parentNode.IsOk() && selected && *selected == removed) {
            m_tree.SelectItem(parentNode);
        }
        childrenChanged(parentNode);
    });
}

void TreeCommandReceiver::childrenChanged(const wxTreeItemId& item) {
    if (!item.IsOk()) {
        return;
    }
    m_tree.refreshChildren(item);
    if (m_tree.GetSelection() == item && m_refreshList) {
        m_refreshList();
    }
}

}  // namespace tarn
