// Renaming a folder in the folder tree through the tree's own label editor.
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <optional>

#include "app/app_context.h"
#include "browser/rename_rules.h"
#include "browser/shell_tree.h"
#include "browser/shell_tree_node.h"
#include "common/path_rules.h"
#include "common/program_name.h"
#include "platform/shell_namespace.h"
#include "widgets/file_name_edit.h"

namespace tarn {

using platform::ItemIdList;

bool CShellTree::mayRename(const wxTreeItemId& item) const {
    const Node* const data = node(item);
    return data != nullptr && !data->path.empty() && !isDriveRoot(data->path) &&
           m_context.shell.attributes(data->absolute, platform::kAttrCanRename) != 0;
}

bool CShellTree::editLabel(const wxTreeItemId& item) {
    return openLabelEditor(item, {});
}

bool CShellTree::openLabelEditor(const wxTreeItemId& item, const std::string& typed) {
    if (m_labelEditing || !mayRename(item)) {
        wxBell();
        return false;
    }
    EnsureVisible(item);
    m_labelEditAllowed = true;
    wxTextCtrl* const editor = EditLabel(item);
    m_labelEditAllowed = false;
    if (editor == nullptr) {
        return false;
    }
    m_labelEditing = true;
    refuseNameCharacters(*editor);
    editor->SetValue(wxString::FromUTF8(typed.empty() ? fileName(node(item)->path) : typed));
    editor->SelectAll();
    return true;
}

void CShellTree::onBeginLabelEdit(wxTreeEvent& event) {
    if (!m_labelEditAllowed || !mayRename(event.GetItem())) {
        event.Veto();
    }
}

void CShellTree::onEndLabelEdit(wxTreeEvent& event) {
    // The control reports a refused edit once more as cancelled.
    if (!m_labelEditing) {
        return;
    }
    m_labelEditing = false;
    // The label is never taken as typed: it shows what the folder is called on disk.
    event.Veto();
    const Node* const data = node(event.GetItem());
    if (event.IsEditCancelled() || data == nullptr) {
        return;
    }
    // Later: the editor still refers to this node while it closes.
    CallAfter([this, folder = data->absolute, path = data->path,
               typed = event.GetLabel().utf8_string()] { finishRename(folder, path, typed); });
}

void CShellTree::finishRename(const ItemIdList& folder, const std::string& path,
                              const std::string& typed) {
    std::string message;
    const std::optional<std::string> to = renamedPath(path, true, typed, fileName(path), &message);
    if (!to && message.empty()) {
        return;  // blanks or its own name: nothing to do
    }
    if (to && renameItem(path, *to, &message)) {
        // Every node that lists the parent (it may be shown twice: below Home and below File
        // System), then the renamed folder.
        refreshFolderPath(GetRootItem(), parentFolder(path));
        if (const std::optional<ItemIdList> renamed = m_context.shell.idFromPath(*to)) {
            selectFolder(*renamed);
        }
        return;
    }
    wxMessageBox(wxString::FromUTF8(message), wxString::FromUTF8(std::string(kProgramTitle)),
                 wxOK | wxICON_ERROR, this);
    // Again on the same folder, with what was typed, so that it can be put right.
    CallAfter([this, folder, typed] {
        const wxTreeItemId item = findNode(folder, false);
        if (item.IsOk()) {
            openLabelEditor(item, typed);
        }
    });
}

}  // namespace tarn
