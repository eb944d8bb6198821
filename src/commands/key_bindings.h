#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarn {

// Toolkit-neutral key names; the window side maps each to its own key code.
enum class KeyCode {
    Char,  // a letter (upper case), digit or symbol of the main keyboard, held in KeyStroke::ch
    F1,
    F2,
    F3,
    F4,
    F5,
    F11,
    Left,
    Right,
    Enter,
    Escape,
    Delete,
    PageUp,
    PageDown,
    Home,
    End,
    Pause,
    NumpadAdd,
    NumpadSubtract,
    NumpadMultiply,
    NumpadDivide,
};

struct KeyStroke {
    KeyCode code;
    char ch = 0;  // for KeyCode::Char only
    bool ctrl = false;
    bool alt = false;
    bool shift = false;

    bool operator==(const KeyStroke&) const = default;
};

// "Ctrl+Shift+E", "Alt+Left", "Page Down", "F11", "+" (keypad plus): the text menus show.
std::string keyText(const KeyStroke& key);
// The key code's name alone ("Char" for characters).
std::string_view keyCodeName(KeyCode code);
// The key a text of keyText names; nothing for a text no key gives.
std::optional<KeyStroke> parseKeyText(std::string_view text);

// One entry of the accelerator table: processed by the frame in every mode.
struct Accelerator {
    KeyStroke key;
    int command;
};
std::span<const Accelerator> accelerators();

// True when the accelerator table holds this command under a key whose text is keyText:
// only such menu keys may be registered as accelerators. The other keys a menu shows are
// handled by the focused view and must stay theirs (text fields need Delete, "+", Ctrl+A...).
bool isAcceleratorKey(int command, std::string_view keyText);

// Keys a text field needs for itself: characters and editing keys without Ctrl or Alt
// (Shift+letter types a capital), and Ctrl+A/C/V/X/Y/Z. An accelerator on such a key must
// not fire while a text field (address bar, label editor, dialog edit box) has the focus.
bool keyBelongsToTextFields(const KeyStroke& key);

// Where a view key is handled.
enum class KeyScope {
    ThumbnailList,  // not while a label is being edited
    Trees,          // folder tree and favorites tree
    ImageView,      // before the menus' accelerators
    Framework,      // F1: the help request
};

// A key a view handles itself, and the command it gives.
struct ViewKey {
    KeyScope scope;
    KeyStroke key;
    int command;
};
std::span<const ViewKey> viewKeys();
// The command a view gives for a key; 0 when the view leaves the key alone.
int viewKeyCommand(KeyScope scope, const KeyStroke& key);

}  // namespace tarn
