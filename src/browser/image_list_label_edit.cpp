// In-place rename of the thumbnail list: the name editor over an item's label.
#include "browser/image_list_ctrl.h"

#include <wx/msgdlg.h>

#include <algorithm>
#include <utility>

#include "browser/rename_rules.h"
#include "common/path_rules.h"
#include "common/program_name.h"
#include "platform/shell_namespace.h"
#include "widgets/file_name_edit.h"

namespace tarn {

namespace {

// Narrow cells still give the editor room for a few characters.
constexpr int kMinEditorWidth = 80;

const wxEventTypeTag<wxMouseEvent> kEndingMouseEvents[] = {wxEVT_LEFT_DOWN, wxEVT_RIGHT_DOWN,
                                                           wxEVT_MIDDLE_DOWN, wxEVT_MOUSEWHEEL};

}  // namespace

bool CImageListCtrl::mayRename(int index) const {
    const FolderItem* item = m_model.item(index);
    return item != nullptr && item->fileSystem && !item->path.empty() && !isDriveRoot(item->path) &&
           m_context.shell.attributes(item->absoluteId, platform::kAttrCanRename) != 0;
}

bool CImageListCtrl::editLabel(int index) {
    if (m_nameEditor != nullptr) {
        const FolderItem* item = m_model.item(index);
        return item != nullptr && item->path == m_editPath;
    }
    if (!mayRename(index)) {
        wxBell();
        setLabelEditIndex(-1);
        return false;
    }
    openLabelEditor(index, {});
    return true;
}

void CImageListCtrl::openLabelEditor(int index, const std::string& typed) {
    const FolderItem& item = *m_model.item(index);
    m_editPath = item.path;
    m_editIsFolder = item.kind == kKindFolder;
    m_editShown = nameShownForEditing(item.path, m_editIsFolder);
    const wxString text = wxString::FromUTF8(typed.empty() ? m_editShown : typed);
    auto* editor = new CFileNameEdit(this, wxID_ANY, text, wxDefaultPosition, wxDefaultSize,
                                     wxTE_PROCESS_ENTER | wxTE_PROCESS_TAB);
    m_nameEditor = editor;
    m_editEndPosted = false;
    editor->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { postLabelEditEnd(true); });
    editor->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE) {
            postLabelEditEnd(false);
            return;
        }
        event.Skip();
    });
    editor->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        event.Skip();
        postLabelEditEnd(true);
    });
    for (const auto& type : kEndingMouseEvents) {
        Bind(type, &CImageListCtrl::onMouseWhileEditing, this);
    }
    ensureVisible(index);
    setLabelEditIndex(index);
    placeLabelEditor();
    editor->SetFocus();
    editor->SelectAll();
}

void CImageListCtrl::placeLabelEditor() {
    if (m_nameEditor == nullptr) {
        return;
    }
    const wxRect cell = itemRect(m_labelEdit);
    if (cell.IsEmpty()) {
        m_nameEditor->Hide();  // scrolled away; it comes back with its item
        return;
    }
    const wxSize client = GetClientSize();
    const int height = m_nameEditor->GetBestSize().y;
    const int width = std::min(std::max(cell.width, kMinEditorWidth), client.x);
    const int x = std::clamp(cell.x + (cell.width - width) / 2, 0, std::max(client.x - width, 0));
    const int y = std::max(cell.GetBottom() + 1 - height, 0);
    m_nameEditor->SetSize(x, y, width, height);
    m_nameEditor->Show();
}

void CImageListCtrl::followLabelEdit() {
    if (m_nameEditor == nullptr) {
        if (m_labelEdit >= m_model.count()) {
            m_labelEdit = -1;
        }
        return;
    }
    // Items before it may have come or gone: the editor stays with its file.
    const FolderItem* item = m_model.itemByPath(m_editPath);
    m_labelEdit = item != nullptr ? m_model.indexOf(item) : -1;
    placeLabelEditor();
}

void CImageListCtrl::postLabelEditEnd(bool accept) {
    if (m_nameEditor == nullptr || m_editEndPosted) {
        return;
    }
    // Not from inside the editor's own handler: ending destroys it.
    m_editEndPosted = true;
    CallAfter([this, accept] { endLabelEdit(accept); });
}

void CImageListCtrl::onMouseWhileEditing(wxMouseEvent& event) {
    event.Skip();
    postLabelEditEnd(true);
}

void CImageListCtrl::closeLabelEditor(CFileNameEdit* editor) {
    for (const auto& type : kEndingMouseEvents) {
        Unbind(type, &CImageListCtrl::onMouseWhileEditing, this);
    }
    editor->Destroy();
    setLabelEditIndex(-1);
}

void CImageListCtrl::cancelLabelEdit() {
    if (m_nameEditor != nullptr) {
        closeLabelEditor(std::exchange(m_nameEditor, nullptr));
    }
}

void CImageListCtrl::endLabelEdit(bool accept) {
    m_editEndPosted = false;
    CFileNameEdit* editor = std::exchange(m_nameEditor, nullptr);
    if (editor == nullptr) {
        return;
    }
    const std::string typed = editor->GetValue().utf8_string();
    const bool hadFocus = editor->HasFocus();
    const std::string from = m_editPath;
    closeLabelEditor(editor);
    if (hadFocus) {
        SetFocus();
    }
    if (!accept) {
        return;
    }
    std::string message;
    const std::optional<std::string> to =
        renamedPath(from, m_editIsFolder, typed, m_editShown, &message);
    if (!to && message.empty()) {
        return;  // blanks or the old name: nothing to do
    }
    const FolderItem* before = m_model.itemByPath(from);
    // A click on another item ended the editor: that item keeps the focus it took.
    const bool hadListFocus = before != nullptr && before->focused;
    if (to && renameItem(from, *to, &message)) {
        refresh();
        const FolderItem* renamed = m_model.itemByPath(*to);
        if (renamed != nullptr && hadListFocus) {
            selectOnly(m_model.indexOf(renamed));
        }
        return;
    }
    wxMessageBox(wxString::FromUTF8(message), wxString::FromUTF8(std::string(kProgramTitle)),
                 wxOK | wxICON_ERROR, this);
    // Again on the same item, with what was typed, so that it can be put right.
    CallAfter([this, from, typed] {
        const FolderItem* item = m_model.itemByPath(from);
        if (m_nameEditor != nullptr || item == nullptr) {
            return;
        }
        const int index = m_model.indexOf(item);
        if (mayRename(index)) {
            openLabelEditor(index, typed);
        }
    });
}

}  // namespace tarn
