// The folder tree's context menu.
#include <memory>

#include "browser/shell_tree.h"
#include "commands/menu_builder.h"

namespace tarn {

void CShellTree::onContextMenu(wxContextMenuEvent& event) {
    wxPoint at = event.GetPosition();
    wxTreeItemId item;
    if (at == wxDefaultPosition) {
        item = GetSelection();
        wxRect bounds;
        if (!item.IsOk() || !GetBoundingRect(item, bounds, true)) {
            return;
        }
        at = bounds.GetPosition() + bounds.GetSize() / 2;
    } else {
        at = ScreenToClient(at);
        int flags = 0;
        item = HitTest(at, flags);
        if (!(flags & (wxTREE_HITTEST_ONITEMICON | wxTREE_HITTEST_ONITEMLABEL))) {
            item = wxTreeItemId();
        }
    }
    if (!item.IsOk()) {
        return;
    }
    m_contextNode = item;
    const std::unique_ptr<wxMenu> menu(buildContextMenu(MenuId::FolderTree));
    m_contextMenu = menu.get();
    PopupMenu(menu.get(), at);
    m_contextMenu = nullptr;
}

void CShellTree::onContextMenuOpen(wxMenuEvent& event) {
    // The frame would update the menu through its own routing, which never reaches the tree's
    // context commands: the tree updates its menu itself.
    if (m_contextMenu == nullptr || event.GetMenu() != m_contextMenu) {
        event.Skip();
        return;
    }
    m_contextMenu->UpdateUI(GetEventHandler());
}

// The context menu's commands have identifiers of their own, so they come here first and act
// on the context node; everything else goes on to the frame.
void CShellTree::bindContextCommands() {
    Bind(wxEVT_CONTEXT_MENU, &CShellTree::onContextMenu, this);
    Bind(wxEVT_MENU_OPEN, &CShellTree::onContextMenuOpen, this);
    Bind(wxEVT_MENU, &CShellTree::onContextCommand, this, kFirstCommandUiId, lastCommandUiId());
    Bind(wxEVT_UPDATE_UI, &CShellTree::onContextUpdateUi, this, kFirstCommandUiId,
         lastCommandUiId());
}

std::optional<CommandState> CShellTree::contextState(int command) const {
    return m_contextCommands != nullptr ? m_contextCommands->commandState(command) : std::nullopt;
}

void CShellTree::onContextCommand(wxCommandEvent& event) {
    const int command = commandOfUiId(event.GetId());
    const std::optional<CommandState> state = contextState(command);
    if (!state) {
        event.Skip();
    } else if (state->enabled) {
        m_contextCommands->runCommand(command);
    }
}

void CShellTree::onContextUpdateUi(wxUpdateUIEvent& event) {
    const std::optional<CommandState> state = contextState(commandOfUiId(event.GetId()));
    if (!state) {
        event.Skip();
    } else {
        event.Enable(state->enabled);
    }
}

}  // namespace tarn
