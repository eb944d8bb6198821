#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "commands/command_ids.h"

namespace tarn {

// Who receives a command and its enabling question.
enum class Route {
    Mode,             // browser: thumbnail list; image mode: image view; slide show: ignored
    Focus,            // browser: focused tree, else the list; image mode: image view
    FocusTreeOrList,  // as Focus, but the favorites tree passes it to the list
    Browser,          // browser only, to the thumbnail list
    Image,            // image mode only, to the image view
    Frame,            // the frame itself, in every mode
    FrameBrowser,     // the frame itself, browser only
    FrameImage,       // the frame itself, image mode only
    Histogram,        // the preview pane's histogram
    Tree,             // handled by the tree showing the menu; never routed by the frame
};

// One row of the command table.
struct Command {
    int id;
    // Menu text with "&" before the mnemonic; never holds the key (see keyText).
    std::string_view text;
    // Key shown after a tab in menus ("Ctrl+O", "Delete", "+"); empty when none. Only keys
    // of the accelerator table are real accelerators (key_bindings.h); the others are
    // handled by the focused view and must not be registered as window-wide accelerators.
    std::string_view keyText;
    // Tooltip without its key: the shown tooltip adds " (key)" (see toolTipText). A row whose
    // tooltip names the key in other words ("Back (Alt+Left Arrow)") holds the whole text.
    std::string_view tip;  // empty when the command has none
    Route route;
    bool checkable;
    int performs;  // nonzero: a tool-bar button that performs this other command
};

// Every command, in a fixed order: the row number is the command's stable toolkit index.
std::span<const Command> commands();

const Command* findCommand(int id);
// Row of a command in commands(); -1 when unknown.
int commandRow(int id);
// Command at a row; 0 when the row is out of range.
int commandAtRow(int row);

// Toolkit identifiers: the window side passes its first free identifier as base (for
// example wxID_HIGHEST + 1) and gets base + row; the reverse gives 0 for identifiers that
// are not commands.
int toUiId(int command, int base);
int fromUiId(int uiId, int base);

// The tooltip as shown: the tip and the row's key in parentheses, when the tip has none.
std::string toolTipText(const Command& command);

// The command a tool-bar button performs: itself, or the command it stands for.
int performedCommand(int id);

enum class FrameMode { Browser = 0, Image = 1, SlideShow = 2 };
enum class FocusedPane { Other, ThumbnailList, FolderTree, FavoritesTree };
enum class Receiver {
    None,  // ignored, and answered "disabled"
    Frame,
    ThumbnailList,
    FolderTree,
    FavoritesTree,
    ImageView,
    PreviewHistogram,
};

// The receiver of a command (and of its enabling question) by its route, the frame's mode
// and the pane holding the keyboard focus. Unknown commands and commands that do not apply
// in the mode go nowhere.
Receiver routeCommand(int id, FrameMode mode, FocusedPane focus);

// Zoom factor of a zoom preset command (33456..33474).
std::optional<double> zoomPresetFactor(int id);
// Thumbnail box size of a Thumbnail Size command (33526..33533).
std::optional<int> thumbnailSizeOf(int id);

}  // namespace tarn
