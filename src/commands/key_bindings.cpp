#include "commands/key_bindings.h"

#include <array>
#include <vector>

#include "commands/command_ids.h"
#include "commands/command_table.h"

namespace tarn {

namespace {

constexpr KeyStroke key(KeyCode code) {
    return {code};
}
constexpr KeyStroke character(char c) {
    return {KeyCode::Char, c};
}
constexpr KeyStroke ctrlChar(char c) {
    return {KeyCode::Char, c, true};
}
constexpr KeyStroke shiftChar(char c) {
    return {KeyCode::Char, c, false, false, true};
}

// The accelerators whose key the menus show: the key is read from the command's row, so it is
// written once. Ctrl+N appeared twice in the original table; one entry does the same.
constexpr std::array kMenuAccelerators{
    cmd::kAddToFavorites,
    cmd::kBack,
    cmd::kForward,
    cmd::kClose,
    cmd::kCropToSelection,
    cmd::kEnhanceColors,
    cmd::kExit,
    cmd::kExport,
    cmd::kFullScreen,
    cmd::kFlipHorizontal,
    cmd::kLocateOnDisk,
    cmd::kNewFolder,
    cmd::kOpen,
    cmd::kOpenWithProgram,
    cmd::kOpenWithEditor,
    cmd::kPanTool,
    cmd::kSelectTool,
    cmd::kZoomTool,
    cmd::kPrint,
    cmd::kProperties,
    cmd::kQuickSlideShow,
    cmd::kRefresh,
    cmd::kRename,
    cmd::kReopen,
    cmd::kSave,
    cmd::kSaveAs,
    cmd::kSlideShow,
    cmd::kFlipVertical,
};
// Accelerators whose menu item shows no key.
constexpr std::array kUnshownAccelerators{
    Accelerator{shiftChar('L'), cmd::kRotateLeft},
    Accelerator{shiftChar('R'), cmd::kRotateRight},
};

const std::vector<Accelerator>& acceleratorTable() {
    static const std::vector<Accelerator> table = [] {
        std::vector<Accelerator> t;
        for (const int command : kMenuAccelerators) {
            const Command* row = findCommand(command);
            if (const auto key = row != nullptr ? parseKeyText(row->keyText) : std::nullopt) {
                t.push_back({*key, command});
            }
        }
        t.insert(t.end(), kUnshownAccelerators.begin(), kUnshownAccelerators.end());
        return t;
    }();
    return table;
}

constexpr ViewKey listKey(KeyStroke k, int command) {
    return {KeyScope::ThumbnailList, k, command};
}
constexpr ViewKey treeKey(KeyStroke k, int command) {
    return {KeyScope::Trees, k, command};
}
constexpr ViewKey imageKey(KeyStroke k, int command) {
    return {KeyScope::ImageView, k, command};
}

constexpr std::array kViewKeys{
    listKey(key(KeyCode::Enter), cmd::kViewAndEdit),
    listKey(key(KeyCode::Delete), cmd::kDelete),
    listKey(key(KeyCode::NumpadAdd), cmd::kSortForward),
    listKey(key(KeyCode::NumpadSubtract), cmd::kSortBackward),
    listKey(ctrlChar('A'), cmd::kSelectAll),
    listKey(ctrlChar('C'), cmd::kCopy),
    listKey(ctrlChar('V'), cmd::kPaste),
    listKey(ctrlChar('X'), cmd::kCut),

    treeKey(ctrlChar('C'), cmd::kCopy),
    treeKey(ctrlChar('V'), cmd::kPaste),
    treeKey(ctrlChar('X'), cmd::kCut),
    treeKey(key(KeyCode::Delete), cmd::kDelete),

    imageKey(ctrlChar('A'), cmd::kSelectAll),
    imageKey(ctrlChar('C'), cmd::kCopy),
    imageKey(ctrlChar('V'), cmd::kPaste),
    imageKey(ctrlChar('X'), cmd::kCut),
    imageKey(ctrlChar('Y'), cmd::kRedo),
    imageKey(ctrlChar('Z'), cmd::kUndo),
    imageKey(key(KeyCode::Enter), cmd::kBrowse),
    imageKey(key(KeyCode::Escape), cmd::kBrowse),
    imageKey(key(KeyCode::PageUp), cmd::kPreviousImage),
    imageKey(key(KeyCode::Left), cmd::kPreviousImage),
    imageKey(key(KeyCode::PageDown), cmd::kNextImage),
    imageKey(key(KeyCode::Right), cmd::kNextImage),
    imageKey(key(KeyCode::End), cmd::kLastImage),
    imageKey(key(KeyCode::Home), cmd::kFirstImage),
    imageKey(key(KeyCode::Delete), cmd::kDelete),
    imageKey(character('8'), cmd::kZoomFitImage),
    imageKey(key(KeyCode::NumpadMultiply), cmd::kZoomFitImage),
    imageKey(key(KeyCode::NumpadAdd), cmd::kZoomIn),
    imageKey(character('='), cmd::kZoomIn),
    imageKey(character('+'), cmd::kZoomIn),
    imageKey(key(KeyCode::NumpadSubtract), cmd::kZoomOut),
    imageKey(character('-'), cmd::kZoomOut),
    imageKey(key(KeyCode::NumpadDivide), cmd::kActualSize),
    imageKey(character('/'), cmd::kActualSize),

    ViewKey{KeyScope::Framework, key(KeyCode::F1), cmd::kHelpRequest},
};

}  // namespace

std::string_view keyCodeName(KeyCode code) {
    switch (code) {
        case KeyCode::Char:
            return "Char";
        case KeyCode::F1:
            return "F1";
        case KeyCode::F2:
            return "F2";
        case KeyCode::F3:
            return "F3";
        case KeyCode::F4:
            return "F4";
        case KeyCode::F5:
            return "F5";
        case KeyCode::F11:
            return "F11";
        case KeyCode::Left:
            return "Left";
        case KeyCode::Right:
            return "Right";
        case KeyCode::Enter:
            return "Enter";
        case KeyCode::Escape:
            return "Esc";
        case KeyCode::Delete:
            return "Delete";
        case KeyCode::PageUp:
            return "Page Up";
        case KeyCode::PageDown:
            return "Page Down";
        case KeyCode::Home:
            return "Home";
        case KeyCode::End:
            return "End";
        case KeyCode::Pause:
            return "Pause";
        case KeyCode::NumpadAdd:
            return "+";
        case KeyCode::NumpadSubtract:
            return "-";
        case KeyCode::NumpadMultiply:
            return "*";
        case KeyCode::NumpadDivide:
            return "/";
    }
    return {};
}

std::string keyText(const KeyStroke& k) {
    std::string text;
    if (k.ctrl) {
        text += "Ctrl+";
    }
    if (k.alt) {
        text += "Alt+";
    }
    if (k.shift) {
        text += "Shift+";
    }
    if (k.code == KeyCode::Char) {
        text += k.ch;
    } else {
        text += keyCodeName(k.code);
    }
    return text;
}

std::optional<KeyStroke> parseKeyText(std::string_view text) {
    KeyStroke k{KeyCode::Char};
    for (;;) {
        if (text.starts_with("Ctrl+") && text.size() > 5) {
            k.ctrl = true;
            text.remove_prefix(5);
        } else if (text.starts_with("Alt+") && text.size() > 4) {
            k.alt = true;
            text.remove_prefix(4);
        } else if (text.starts_with("Shift+") && text.size() > 6) {
            k.shift = true;
            text.remove_prefix(6);
        } else {
            break;
        }
    }
    // Named keys first: "+", "-", "*" and "/" alone are the keypad's.
    for (int code = static_cast<int>(KeyCode::F1); code <= static_cast<int>(KeyCode::NumpadDivide);
         ++code) {
        if (keyCodeName(static_cast<KeyCode>(code)) == text) {
            k.code = static_cast<KeyCode>(code);
            return k;
        }
    }
    if (text.size() == 1 && text[0] > ' ' && text[0] < 0x7f &&
        !(text[0] >= 'a' && text[0] <= 'z')) {
        k.ch = text[0];
        return k;
    }
    return std::nullopt;
}

std::span<const Accelerator> accelerators() {
    return acceleratorTable();
}

bool isAcceleratorKey(int command, std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const Accelerator& a : acceleratorTable()) {
        if (a.command == command && keyText(a.key) == text) {
            return true;
        }
    }
    return false;
}

bool keyBelongsToTextFields(const KeyStroke& k) {
    if (k.alt) {
        return false;
    }
    if (k.ctrl) {
        if (k.shift || k.code != KeyCode::Char) {
            return false;
        }
        switch (k.ch) {
            case 'A':
            case 'C':
            case 'V':
            case 'X':
            case 'Y':
            case 'Z':
                return true;
            default:
                return false;
        }
    }
    switch (k.code) {
        case KeyCode::Char:
        case KeyCode::Left:
        case KeyCode::Right:
        case KeyCode::Enter:
        case KeyCode::Escape:
        case KeyCode::Delete:
        case KeyCode::PageUp:
        case KeyCode::PageDown:
        case KeyCode::Home:
        case KeyCode::End:
        case KeyCode::NumpadAdd:
        case KeyCode::NumpadSubtract:
        case KeyCode::NumpadMultiply:
        case KeyCode::NumpadDivide:
            return true;
        default:
            return false;
    }
}

std::span<const ViewKey> viewKeys() {
    return kViewKeys;
}

int viewKeyCommand(KeyScope scope, const KeyStroke& k) {
    for (const ViewKey& v : kViewKeys) {
        if (v.scope == scope && v.key == k) {
            return v.command;
        }
    }
    return 0;
}

}  // namespace tarn
