// Selection, opening, mouse and keyboard of the thumbnail list.
#include "browser/image_list_ctrl.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "browser/info_tip.h"
#include "commands/menu_builder.h"

namespace tarn {

// ---- selection and focus ---------------------------------------------------------------

void CImageListCtrl::selectionChanged() {
    Refresh();
    m_statusTimer.StartOnce(100);
}

void CImageListCtrl::focusChanged(int previous) {
    const int now = m_model.focusedIndex();
    if (now != previous) {
        if (m_onFocusChange) {
            m_onFocusChange(now);
        }
        m_statusTimer.StartOnce(100);
    }
}

void CImageListCtrl::setFocusedItem(int index) {
    const int previous = m_model.focusedIndex();
    m_model.setFocus(index);
    focusChanged(previous);
    Refresh();
}

void CImageListCtrl::selectOnly(int index) {
    if (index < 0 || index >= m_model.count()) {
        return;
    }
    m_model.clearSelection();
    m_model.setSelected(index, true);
    m_anchor = index;
    setFocusedItem(index);
    ensureVisible(index);
    selectionChanged();
}

void CImageListCtrl::selectRange(int from, int to, bool clearOthers) {
    if (clearOthers) {
        m_model.clearSelection();
    }
    for (int i = std::min(from, to); i <= std::max(from, to); ++i) {
        m_model.setSelected(i, true);
    }
}

void CImageListCtrl::selectAll() {
    m_model.selectAll();
    selectionChanged();
}

void CImageListCtrl::selectAllFiles() {
    m_model.selectAllFiles();
    selectionChanged();
}

void CImageListCtrl::selectAllImages() {
    m_model.selectAllImages();
    selectionChanged();
}

void CImageListCtrl::clearSelection() {
    m_model.clearSelection();
    selectionChanged();
}

void CImageListCtrl::invertSelection() {
    m_model.invertSelection();
    selectionChanged();
}

void CImageListCtrl::sortBy(int key) {
    const wxBusyCursor wait;
    m_model.sortBy(key);
    m_anchor = m_model.focusedIndex();
    Refresh();
}

void CImageListCtrl::setSortDirection(int direction) {
    const wxBusyCursor wait;
    m_model.setSortDirection(direction);
    m_anchor = m_model.focusedIndex();
    Refresh();
}

// ---- opening ---------------------------------------------------------------------------

void CImageListCtrl::openItem(int index) {
    const FolderItem* item = m_model.item(index);
    if (item == nullptr) {
        return;
    }
    if (item->kind != kKindFolder && m_model.targetIsImage(index) &&
        classifyFile(item->targetPath, false, m_model.imageExtensions()) == kKindImage) {
        if (m_onOpen) {
            m_onOpen(index);
        }
        return;
    }
    std::optional<platform::ItemIdList> folder;
    if (item->kind == kKindShortcut && item->browsableFolder) {
        folder = m_context.shell.idFromPath(item->targetPath);
    } else if (item->kind == kKindFolder) {
        folder = item->absoluteId;
    }
    if (folder) {
        if (m_onOpenFolder) {
            m_onOpenFolder(*folder);
        } else {
            browse(*folder, m_model.browseSource());
        }
        return;
    }
    if (item->kind != kKindFolder && !item->path.empty() && m_onLaunch) {
        m_onLaunch(item->path);
    }
}

// ---- mouse -----------------------------------------------------------------------------

void CImageListCtrl::onLeftDown(wxMouseEvent& event) {
    SetFocus();
    const int index = itemAt(event.GetPosition());
    if (index < 0) {
        if (!event.ControlDown() && !event.ShiftDown()) {
            m_model.clearSelection();
            selectionChanged();
        }
        return;
    }
    if (event.ShiftDown()) {
        // From the first selected item before the click to the clicked one.
        const int from = m_model.firstSelected();
        selectRange(from >= 0 ? from : index, index, !event.ControlDown());
        setFocusedItem(index);
        selectionChanged();
    } else if (event.ControlDown()) {
        m_model.setSelected(index, !m_model.item(index)->selected);
        m_anchor = index;
        setFocusedItem(index);
        selectionChanged();
    } else {
        selectOnly(index);
    }
}

void CImageListCtrl::onLeftDoubleClick(wxMouseEvent& event) {
    const int index = itemAt(event.GetPosition());
    if (index >= 0) {
        openItem(index);
    }
}

void CImageListCtrl::onRightDown(wxMouseEvent& event) {
    SetFocus();
    const int index = itemAt(event.GetPosition());
    if (index >= 0 && !m_model.item(index)->selected) {
        selectOnly(index);
    } else if (index >= 0) {
        setFocusedItem(index);
    }
    // Passed on, so that the toolkit raises the context menu.
    event.Skip();
}

void CImageListCtrl::onContextMenu(wxContextMenuEvent& event) {
    wxPoint at = event.GetPosition();
    int index = -1;
    if (at == wxDefaultPosition) {
        index = m_model.firstSelected();
        if (index >= 0) {
            ensureVisible(index);
            at = itemRect(index).GetPosition() + itemRect(index).GetSize() / 2;
        } else {
            at = wxPoint(GetClientSize().x / 2, GetClientSize().y / 2);
        }
    } else {
        at = ScreenToClient(at);
        index = itemAt(at);
    }
    const FolderItem* item = m_model.item(index);
    const MenuId id = item == nullptr                ? MenuId::ListBackground
                      : m_model.targetIsImage(index) ? MenuId::ListImage
                      : item->kind == kKindFolder    ? MenuId::ListFolder
                                                     : MenuId::ListFile;
    const std::unique_ptr<wxMenu> menu(buildContextMenu(id));
    PopupMenu(menu.get(), at);
}

wxString CImageListCtrl::infoTip(int index) {
    const FolderItem* item = m_model.item(index);
    if (item == nullptr) {
        return {};
    }
    return wxString::FromUTF8(
        infoTipText(*item, m_model.folderPath(), m_model.targetIsImage(index)));
}

void CImageListCtrl::onMotion(wxMouseEvent& event) {
    const int index = itemAt(event.GetPosition());
    if (index != m_tipIndex) {
        m_tipIndex = index;
        if (index >= 0) {
            SetToolTip(infoTip(index));
        } else {
            UnsetToolTip();
        }
    }
    event.Skip();
}

// ---- keyboard --------------------------------------------------------------------------

void CImageListCtrl::moveFocus(int index, bool extend, bool keepSelection) {
    if (index < 0) {
        return;
    }
    if (extend) {
        if (m_anchor < 0 || m_anchor >= m_model.count()) {
            m_anchor = std::max(m_model.focusedIndex(), 0);
        }
        selectRange(m_anchor, index, true);
        setFocusedItem(index);
        ensureVisible(index);
        selectionChanged();
    } else if (keepSelection) {
        setFocusedItem(index);
        ensureVisible(index);
    } else {
        selectOnly(index);
    }
}

void CImageListCtrl::setLabelEditIndex(int index) {
    m_labelEdit = index >= 0 && index < m_model.count() ? index : -1;
    Refresh();
}

void CImageListCtrl::onKeyDown(wxKeyEvent& event) {
    if (m_labelEdit >= 0) {
        event.Skip();
        return;
    }
    const int modifiers = event.GetModifiers();
    const bool ctrl = (modifiers & wxMOD_CONTROL) != 0;
    const bool shift = (modifiers & wxMOD_SHIFT) != 0;
    const int rowsPerPage = std::max(GetClientSize().y / m_geometry.cellHeight, 1);
    NavigationKey key;
    switch (event.GetKeyCode()) {
        case WXK_LEFT:
        case WXK_NUMPAD_LEFT:
            key = NavigationKey::Left;
            break;
        case WXK_RIGHT:
        case WXK_NUMPAD_RIGHT:
            key = NavigationKey::Right;
            break;
        case WXK_UP:
        case WXK_NUMPAD_UP:
            key = NavigationKey::Up;
            break;
        case WXK_DOWN:
        case WXK_NUMPAD_DOWN:
            key = NavigationKey::Down;
            break;
        case WXK_PAGEUP:
        case WXK_NUMPAD_PAGEUP:
            key = NavigationKey::PageUp;
            break;
        case WXK_PAGEDOWN:
        case WXK_NUMPAD_PAGEDOWN:
            key = NavigationKey::PageDown;
            break;
        case WXK_HOME:
        case WXK_NUMPAD_HOME:
            key = NavigationKey::Home;
            break;
        case WXK_END:
        case WXK_NUMPAD_END:
            key = NavigationKey::End;
            break;
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER:
            if (modifiers == wxMOD_NONE) {
                openItem(m_model.focusedIndex());
                return;
            }
            event.Skip();
            return;
        case WXK_NUMPAD_ADD:
            if (modifiers == wxMOD_NONE) {
                setSortDirection(kSortForward);
                return;
            }
            event.Skip();
            return;
        case WXK_NUMPAD_SUBTRACT:
            if (modifiers == wxMOD_NONE) {
                setSortDirection(kSortBackward);
                return;
            }
            event.Skip();
            return;
        case WXK_SPACE:
            if (ctrl) {
                const int focus = m_model.focusedIndex();
                if (focus >= 0) {
                    m_model.setSelected(focus, !m_model.item(focus)->selected);
                    m_anchor = focus;
                    selectionChanged();
                }
                return;
            }
            event.Skip();
            return;
        case 'A':
            if (modifiers == wxMOD_CONTROL) {
                selectAll();
                return;
            }
            event.Skip();
            return;
        case WXK_MENU:
        case WXK_WINDOWS_MENU:
        case WXK_F10:
            if (event.GetKeyCode() != WXK_F10 || modifiers == wxMOD_SHIFT) {
                wxContextMenuEvent menu(wxEVT_CONTEXT_MENU, GetId(), wxDefaultPosition);
                menu.SetEventObject(this);
                onContextMenu(menu);
                return;
            }
            event.Skip();
            return;
        default:
            event.Skip();
            return;
    }
    const int target =
        navigate(m_model.focusedIndex(), key, m_model.count(), columns(), rowsPerPage);
    moveFocus(target, shift, ctrl);
}

void CImageListCtrl::onChar(wxKeyEvent& event) {
    const wxChar typed = event.GetUnicodeKey();
    if (m_labelEdit >= 0) {
        event.Skip();
        return;
    }
    if (typed == WXK_NONE || typed < ' ' ||
        (event.GetModifiers() & (wxMOD_CONTROL | wxMOD_ALT)) != 0) {
        event.Skip();
        return;
    }
    const wxString wanted = wxString(typed).Lower();
    const int count = m_model.count();
    const int focus = m_model.focusedIndex();
    for (int step = 1; step <= count; ++step) {
        const int i = (std::max(focus, -1) + step) % count;
        const wxString name = wxString::FromUTF8(m_model.item(i)->displayName);
        if (!name.empty() && wxString(name[0]).Lower() == wanted) {
            selectOnly(i);
            return;
        }
    }
}

void CImageListCtrl::onFocusChanged(wxFocusEvent& event) {
    // The selection colour depends on the keyboard focus; nothing else does.
    const IndexRange shown = shownItems();
    for (int i = std::max(shown.first, 0); i <= std::min(shown.last, m_model.count() - 1); ++i) {
        if (m_model.item(i)->selected) {
            RefreshRect(itemRect(i), false);
        }
    }
    event.Skip();
}

void CImageListCtrl::onStatusTimer(wxTimerEvent&) {
    if (m_onStatus) {
        m_onStatus();
    }
}
}  // namespace tarn
