#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {

enum class MenuNodeKind { Command, Separator, Popup };

// One entry of a menu, with every text resolved from the command table.
struct MenuNode {
    MenuNodeKind kind = MenuNodeKind::Separator;
    int command = 0;  // Command only
    // Item text with "&" mnemonics ("&&" for a literal "&"), never holding the key; for a
    // pop-up its own text.
    std::string_view label;
    // Key shown after the label; empty when none.
    std::string_view keyText;
    // The key is an accelerator-table entry of this command. Keys without this flag are
    // handled by the focused view: show them without registering them (on GTK a "\t" key in
    // a label becomes a window-wide accelerator that takes the key from text fields).
    bool accelerator = false;
    bool checkable = false;
    std::vector<MenuNode> children;  // Popup only
};

// Menu resources by number.
enum class MenuId {
    Browser = 128,
    Image = 271,
    ListImage = 227,
    ListFolder = 228,
    ListFile = 440,
    ListBackground = 229,
    FolderTree = 4,
    FavoritesTree = 230,
    ImageView = 463,
    Histogram = 169,
    ZoomInPresets = 520,
    ZoomOutPresets = 521,
    AdjustColors = 523,
};

// A menu resource. Main menus hold their top-level pop-ups ("&File", "&Edit"...); the
// context and drop-down menus hold one pop-up whose children are the items shown.
struct Menu {
    MenuId id;
    std::string_view caption;
    std::vector<MenuNode> items;
};

const Menu& menu(MenuId id);
std::span<const MenuId> allMenus();

// The items a context or drop-down menu shows: the children of its first pop-up.
const std::vector<MenuNode>& contextItems(MenuId id);

// "&Sort By" -> "Sort By"; "&&" stays one "&".
std::string plainMenuText(std::string_view text);
// Item texts compared without the "&" marks and without regard to case.
bool menuTextMatches(std::string_view itemText, std::string_view wanted);

// The pop-up with that text among the nodes, searched level by level (the nodes themselves
// first, then their pop-ups' children); nullptr when none.
const MenuNode* findPopup(std::span<const MenuNode> nodes, std::string_view text);

// The pop-up a tool-bar button's drop-down arrow opens; nullptr for other buttons.
const MenuNode* dropDownMenu(int buttonCommand);

}  // namespace tarn
