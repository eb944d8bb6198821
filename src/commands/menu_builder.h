#pragma once

#include <wx/defs.h>
#include <wx/menu.h>
#include <wx/string.h>

#include <span>

#include "commands/command_table.h"
#include "commands/menu_layout.h"

namespace tarn {

// The first toolkit identifier of the commands: a command's identifier is this plus its row.
inline constexpr int kFirstCommandUiId = wxID_HIGHEST + 1;

inline int commandUiId(int command) {
    return toUiId(command, kFirstCommandUiId);
}
// The command of a toolkit identifier; 0 when it is none.
inline int commandOfUiId(int uiId) {
    return fromUiId(uiId, kFirstCommandUiId);
}
// The range of toolkit identifiers the commands take, for binding one handler to all.
int lastCommandUiId();

// A menu of the nodes, with the pop-ups as sub-menus. Labels never carry a "\t" key: a
// key shown that way would become a window-wide accelerator on GTK and take keys from the
// text fields. The key is drawn beside the label instead, display only; every key is
// handled by the frame's accelerator path or by the focused view. The caller owns the menu.
wxMenu* buildMenu(std::span<const MenuNode> nodes);
// A menu bar of a main menu's top-level pop-ups ("&File", "&Edit"...).
wxMenuBar* buildMenuBar(const Menu& menu);
// The context or drop-down menu of a menu resource (its first pop-up's items).
wxMenu* buildContextMenu(MenuId id);

// The key a menu item shows beside its label ("Ctrl+Shift+E", "Delete"); empty when none or
// when the toolkit cannot show one.
wxString shownKeyText(const wxMenuItem* item);

}  // namespace tarn
