#include "browser/shell_tree.h"

#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <vector>

#include "app/app_context.h"
#include "app/system_image_lists.h"
#include "browser/shell_tree_model.h"
#include "browser/shell_tree_node.h"
#include "platform/shell_namespace.h"
#include "platform/system_icons.h"

namespace tarn {

using platform::ItemIdList;
using platform::ShellNamespace;

namespace {

constexpr int kWatchedEvents = wxFSW_EVENT_CREATE | wxFSW_EVENT_DELETE | wxFSW_EVENT_RENAME;

// Plain folders show the open folder while selected; the special ones keep their picture.
int selectedIcon(int icon) {
    return icon == platform::systemIconIndex(platform::SystemIcon::Folder)
               ? platform::systemIconIndex(platform::SystemIcon::FolderOpen)
               : icon;
}

}  // namespace

CShellTree::CShellTree(wxWindow* parent, wxWindowID id, AppContext& context,
                       const CSystemImageLists& icons)
    : CSuperTreeCtrl(parent, id, wxDefaultPosition, wxDefaultSize,
                     wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE),
      m_context(context) {
    Bind(wxEVT_FSWATCHER, &CShellTree::onFileSystemChange, this);
    Bind(wxEVT_TREE_ITEM_EXPANDING, &CShellTree::onExpanding, this);
    Bind(wxEVT_TREE_SEL_CHANGED, &CShellTree::onSelectionChanged, this);
    Bind(wxEVT_LEFT_DOWN, &CShellTree::onLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CShellTree::onLeftDown, this);
    bindContextCommands();
    Bind(wxEVT_TREE_BEGIN_LABEL_EDIT, &CShellTree::onBeginLabelEdit, this);
    Bind(wxEVT_TREE_END_LABEL_EDIT, &CShellTree::onEndLabelEdit, this);

    if (icons.small() != nullptr) {
        SetImageList(icons.small());
    }
    const bool withIcons = icons.small() != nullptr;
    const ShellNamespace& shell = m_context.shell;
    const ItemIdList desktop = ShellNamespace::desktop();
    const int icon = withIcons ? shell.iconIndex(desktop) : -1;
    auto* rootNode = new Node;  // owned by the tree from here on
    const wxTreeItemId root =
        AddRoot(wxString::FromUTF8(shell.displayName(desktop)), icon, icon, rootNode);
    SetItemHasChildren(root, true);

    const wxTreeItemId computer = findNode(ShellNamespace::computer(), true);
    Expand(root);
    if (computer.IsOk()) {
        Expand(computer);
    }
    SelectItem(root);
    m_ready = true;
    m_mountWatch = m_context.mounts->watch([this] { volumesChanged(); });
    // Built before the event loop runs (the frame is made at start-up), the watcher comes
    // with the loop's first idle time.
    if (!startWatching()) {
        Bind(wxEVT_IDLE, &CShellTree::onIdle, this);
    }
}

CShellTree::~CShellTree() {
    // No change may arrive while the nodes go, nor the end of an edit the base class closes.
    Unbind(wxEVT_TREE_BEGIN_LABEL_EDIT, &CShellTree::onBeginLabelEdit, this);
    Unbind(wxEVT_TREE_END_LABEL_EDIT, &CShellTree::onEndLabelEdit, this);
    m_mountWatch.reset();
    m_watcher.reset();
}

void CShellTree::setFolderSelectedHandler(FolderSelectedHandler handler) {
    m_handler = std::move(handler);
}

void CShellTree::setVolumesChangedHandler(std::function<void()> handler) {
    m_onVolumesChanged = std::move(handler);
}

CShellTree::Node* CShellTree::node(const wxTreeItemId& item) const {
    return item.IsOk() ? static_cast<Node*>(GetItemData(item)) : nullptr;
}

wxTreeItemId CShellTree::appendChild(const wxTreeItemId& parent, const ItemIdList& parentId,
                                     TreeChild& child) {
    auto* data = new Node;  // owned by the tree from here on
    data->absolute = parentId.joined(child.relative);
    data->relative = std::move(child.relative);
    data->path = std::move(child.path);
    const int icon = GetImageList() != nullptr ? child.icon : -1;
    const wxTreeItemId item = AppendItem(parent, wxString::FromUTF8(child.name), icon,
                                         icon < 0 ? -1 : selectedIcon(icon), data);
    SetItemHasChildren(item, child.hasSubFolders);
    return item;
}

void CShellTree::enumerate(const wxTreeItemId& item) {
    Node* const data = node(item);
    if (data == nullptr || data->enumerated) {
        return;
    }
    wxBusyCursor wait;
    data->enumerated = true;
    watch(data->path);
    auto children = listTreeFolders(m_context.shell, data->absolute, m_context.showHiddenFiles);
    if (children) {
        const ItemIdList parentId = data->absolute;
        for (TreeChild& child : *children) {
            appendChild(item, parentId, child);
        }
    }
    SetItemHasChildren(item, children && !children->empty());
}

void CShellTree::refreshChildren(const wxTreeItemId& item) {
    Node* const data = node(item);
    if (data == nullptr) {
        return;
    }
    if (!data->enumerated) {
        // Nothing listed yet: only the indicator can be stale.
        SetItemHasChildren(
            item, m_context.shell.attributes(data->absolute, platform::kAttrHasSubFolders) != 0);
        return;
    }
    auto fresh = listTreeFolders(m_context.shell, data->absolute, m_context.showHiddenFiles);
    if (!fresh) {
        fresh.emplace();  // the folder is gone or unreadable: it has no children to show
    }
    std::vector<wxTreeItemId> items;
    std::vector<ItemIdList> existing;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = GetFirstChild(item, cookie); child.IsOk();
         child = GetNextChild(item, cookie)) {
        items.push_back(child);
        existing.push_back(node(child)->relative);
    }
    const ChildRefreshPlan plan = planChildRefresh(existing, *fresh);
    for (const std::size_t i : plan.removed) {
        deleteNode(items[i]);
    }
    const ItemIdList parentId = data->absolute;
    for (const std::size_t i : plan.added) {
        appendChild(item, parentId, (*fresh)[i]);
    }
    SetItemHasChildren(item, GetChildrenCount(item, false) > 0);
}

void CShellTree::deleteNode(const wxTreeItemId& item) {
    // It may lie below the deleted node; it only matters while its menu is open.
    m_contextNode = wxTreeItemId();
    unwatchSubtree(item);
    Delete(item);
}

wxTreeItemId CShellTree::findNode(const ItemIdList& folder, bool expand) {
    const ItemIdList target = m_context.shell.canonical(folder);
    wxTreeItemId item = GetRootItem();
    for (const std::string_view element : target.elements()) {
        if (!item.IsOk()) {
            break;
        }
        if (expand) {
            enumerate(item);
        }
        wxTreeItemId found;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId child = GetFirstChild(item, cookie); child.IsOk();
             child = GetNextChild(item, cookie)) {
            if (node(child)->relative.lastElement() == element) {
                found = child;
                break;
            }
        }
        item = found;
    }
    return item;
}

bool CShellTree::selectFolder(const ItemIdList& folder) {
    if (m_context.shell.attributes(folder, platform::kAttrFolder) == 0) {
        // Gone before its change arrived: its node goes now.
        const wxTreeItemId stale = findNode(folder, false);
        if (stale.IsOk() && GetItemParent(stale).IsOk()) {
            refreshChildren(GetItemParent(stale));
        }
        return false;
    }
    const wxTreeItemId item = findNode(folder, true);
    if (!item.IsOk()) {
        return false;
    }
    std::vector<wxTreeItemId> ancestors;
    for (wxTreeItemId up = GetItemParent(item); up.IsOk(); up = GetItemParent(up)) {
        ancestors.push_back(up);
    }
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        Expand(*it);
    }
    if (GetSelection() != item) {
        SelectItem(item);
    }
    enumerate(item);
    EnsureVisible(item);
    // Selecting the node that was already selected still hands it out when the list shows
    // another folder.
    notifySelection(item);
    return true;
}

std::optional<ItemIdList> CShellTree::selectedFolder() const {
    return folderOf(GetSelection());
}

std::optional<ItemIdList> CShellTree::folderOf(const wxTreeItemId& item) const {
    const Node* const data = node(item);
    if (data == nullptr) {
        return std::nullopt;
    }
    return data->absolute;
}

std::string CShellTree::pathOf(const wxTreeItemId& item) const {
    const Node* const data = node(item);
    return data == nullptr ? std::string() : data->path;
}

const platform::ShellNamespace& CShellTree::shell() const {
    return m_context.shell;
}

bool CShellTree::canGoUp() const {
    const wxTreeItemId selected = GetSelection();
    return selected.IsOk() && GetItemParent(selected).IsOk();
}

bool CShellTree::selectParent() {
    if (!canGoUp()) {
        return false;
    }
    const wxTreeItemId parent = GetItemParent(GetSelection());
    SelectItem(parent);
    enumerate(parent);
    EnsureVisible(parent);
    notifySelection(parent);
    return true;
}

void CShellTree::expandRootAndSelection() {
    Expand(GetRootItem());
    const wxTreeItemId selected = GetSelection();
    if (selected.IsOk()) {
        Expand(selected);
        EnsureVisible(selected);
    }
}

void CShellTree::listBrowsedElsewhere() {
    m_lastHandedOut.reset();
}

void CShellTree::notifySelection(const wxTreeItemId& item) {
    const Node* const data = node(item);
    if (!m_ready || data == nullptr || (m_lastHandedOut && *m_lastHandedOut == data->absolute)) {
        return;
    }
    m_lastHandedOut = data->absolute;
    if (m_handler) {
        // A copy: the handler may change the tree and delete this node.
        const ItemIdList folder = data->absolute;
        m_handler(folder);
    }
}

void CShellTree::onExpanding(wxTreeEvent& event) {
    enumerate(event.GetItem());
    event.Skip();
}

void CShellTree::onSelectionChanged(wxTreeEvent& event) {
    event.Skip();
    if (!m_ready) {
        return;
    }
    const wxTreeItemId item = event.GetItem();
    const wxTreeItemId old = event.GetOldItem();
    // The shown folder is listed (and so watched) even when it stays closed: a sub-folder
    // made in it then gives it its indicator.
    enumerate(item);
    if (old.IsOk() && item.IsOk() && old != item &&
        (GetNextSibling(item) == old || GetPrevSibling(item) == old)) {
        Collapse(old);
    }
    notifySelection(item);
}

void CShellTree::onLeftDown(wxMouseEvent& event) {
    event.Skip();
    int flags = 0;
    const wxTreeItemId item = HitTest(event.GetPosition(), flags);
    if (!item.IsOk() || !(flags & (wxTREE_HITTEST_ONITEMICON | wxTREE_HITTEST_ONITEMLABEL |
                                   wxTREE_HITTEST_ONITEMSTATEICON))) {
        return;
    }
    if (ItemHasChildren(item)) {
        Expand(item);
    }
    if (item == GetSelection()) {
        notifySelection(item);
    }
}

bool CShellTree::startWatching() {
    if (m_watcher) {
        return true;
    }
    // The inotify watcher hooks itself into the running loop.
    if (wxEventLoopBase::GetActive() == nullptr) {
        return false;
    }
    m_watcher = std::make_unique<wxFileSystemWatcher>();
    m_watcher->SetOwner(this);
    for (const auto& [path, count] : m_watchCount) {
        addWatch(path);
    }
    return true;
}

void CShellTree::onIdle(wxIdleEvent& event) {
    event.Skip();
    if (startWatching()) {
        Unbind(wxEVT_IDLE, &CShellTree::onIdle, this);
    }
}

void CShellTree::volumesChanged() {
    // Most mounts are not volumes we show (bind mounts, containers, snaps).
    if (!m_context.shell.setVolumes(m_context.mounts->volumes())) {
        return;
    }
    const wxTreeItemId computer = findNode(ShellNamespace::computer(), false);
    if (computer.IsOk()) {
        refreshChildren(computer);
        // The selection sat on a volume that went: it comes to Computer at once, so the
        // list follows now rather than at some later idle time.
        if (!GetSelection().IsOk()) {
            SelectItem(computer);
        }
    }
    if (m_onVolumesChanged) {
        m_onVolumesChanged();
    }
}

void CShellTree::addWatch(const std::string& path) {
    const wxLogNull quiet;  // an unreadable folder simply is not watched
    m_watcher->Add(wxFileName::DirName(wxString::FromUTF8(path)), kWatchedEvents);
}

void CShellTree::watch(const std::string& path) {
    if (path.empty() || m_watchCount[path]++ > 0) {
        return;
    }
    if (m_watcher) {
        addWatch(path);
    } else {
        startWatching();  // adds every wanted path once the loop runs
    }
}

void CShellTree::unwatch(const std::string& path) {
    const auto it = m_watchCount.find(path);
    if (it == m_watchCount.end() || --it->second > 0) {
        return;
    }
    m_watchCount.erase(it);
    if (!m_watcher) {
        return;
    }
    // A deleted folder has already left the watcher's own list.
    const wxFileName dir = wxFileName::DirName(wxString::FromUTF8(path));
    wxArrayString watched;
    m_watcher->GetWatchedPaths(&watched);
    if (watched.Index(dir.GetFullPath()) != wxNOT_FOUND) {
        const wxLogNull quiet;
        m_watcher->Remove(dir);
    }
}

void CShellTree::unwatchSubtree(const wxTreeItemId& item) {
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = GetFirstChild(item, cookie); child.IsOk();
         child = GetNextChild(item, cookie)) {
        unwatchSubtree(child);
    }
    const Node* const data = node(item);
    if (data != nullptr && data->enumerated) {
        unwatch(data->path);
    }
}

void CShellTree::onFileSystemChange(wxFileSystemWatcherEvent& event) {
    if (event.GetChangeType() == wxFSW_EVENT_WARNING ||
        event.GetChangeType() == wxFSW_EVENT_ERROR) {
        // Lost events (queue overflow): every listed folder may be stale.
        m_refreshAll = true;
    } else {
        for (const wxFileName& name : {event.GetPath(), event.GetNewPath()}) {
            if (auto folder = folderOfChangedEntry(name.GetFullPath().utf8_string())) {
                m_changedFolders.insert(std::move(*folder));
            }
        }
    }
    // A burst of changes is handled once, after the burst's events are in.
    if (!m_changesQueued) {
        m_changesQueued = true;
        CallAfter(&CShellTree::processChanges);
    }
}

void CShellTree::processChanges() {
    m_changesQueued = false;
    const std::set<std::string> folders = std::move(m_changedFolders);
    m_changedFolders.clear();
    const bool all = m_refreshAll;
    m_refreshAll = false;
    if (!GetRootItem().IsOk()) {
        return;
    }
    if (all) {
        refreshAllListed(GetRootItem());
        return;
    }
    // A folder can sit in the tree twice (below Home and below File System): refresh both.
    for (const std::string& path : folders) {
        refreshFolderPath(GetRootItem(), path);
    }
}

void CShellTree::refreshFolderPath(const wxTreeItemId& from, const std::string& path) {
    Node* const data = node(from);
    if (data == nullptr || !data->enumerated) {
        return;
    }
    if (data->path == path) {
        refreshChildren(from);
    }
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = GetFirstChild(from, cookie); child.IsOk();
         child = GetNextChild(from, cookie)) {
        refreshFolderPath(child, path);
    }
}

void CShellTree::refreshAllListed(const wxTreeItemId& from) {
    Node* const data = node(from);
    if (data == nullptr || !data->enumerated) {
        return;
    }
    if (!data->path.empty()) {
        refreshChildren(from);
    }
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = GetFirstChild(from, cookie); child.IsOk();
         child = GetNextChild(from, cookie)) {
        refreshAllListed(child);
    }
}

}  // namespace tarn
