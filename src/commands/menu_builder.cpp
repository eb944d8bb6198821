#include "commands/menu_builder.h"

#include <dlfcn.h>

#include <array>
#include <string>
#include <string_view>

namespace tarn {

namespace {

// Key symbols and modifier bits of the X keyboard, as GTK uses them.
struct KeySymbol {
    std::string_view name;
    unsigned keyval;
};
constexpr std::array kKeySymbols{
    KeySymbol{"Delete", 0xffff},    KeySymbol{"Enter", 0xff0d}, KeySymbol{"Page Up", 0xff55},
    KeySymbol{"Page Down", 0xff56}, KeySymbol{"Home", 0xff50},  KeySymbol{"End", 0xff57},
    KeySymbol{"Left", 0xff51},      KeySymbol{"Right", 0xff53}, KeySymbol{"Pause", 0xff13},
    KeySymbol{"F1", 0xffbe},        KeySymbol{"F2", 0xffbf},    KeySymbol{"F3", 0xffc0},
    KeySymbol{"F4", 0xffc1},        KeySymbol{"F5", 0xffc2},    KeySymbol{"F11", 0xffc8},
    KeySymbol{"+", 0x2b},           KeySymbol{"-", 0x2d},       KeySymbol{"*", 0x2a},
    KeySymbol{"/", 0x2f},
};
constexpr unsigned kShiftMask = 1u << 0;
constexpr unsigned kControlMask = 1u << 2;
constexpr unsigned kAltMask = 1u << 3;

struct ParsedKey {
    unsigned keyval = 0;
    unsigned mods = 0;
};

// "Ctrl+Shift+E", "Alt+Left", "Page Down", "+", "Ctrl A", "Del" -> key symbol and modifiers.
ParsedKey parseKeyText(std::string_view text) {
    ParsedKey key;
    for (;;) {
        bool found = false;
        for (const auto& [prefix, mask] :
             {std::pair<std::string_view, unsigned>{"Ctrl", kControlMask},
              {"Alt", kAltMask},
              {"Shift", kShiftMask}}) {
            if (text.size() > prefix.size() + 1 && text.starts_with(prefix) &&
                (text[prefix.size()] == '+' || text[prefix.size()] == ' ')) {
                key.mods |= mask;
                text.remove_prefix(prefix.size() + 1);
                found = true;
            }
        }
        if (!found) {
            break;
        }
    }
    if (text == "Del") {
        text = "Delete";
    }
    for (const KeySymbol& symbol : kKeySymbols) {
        if (symbol.name == text) {
            key.keyval = symbol.keyval;
            return key;
        }
    }
    if (text.size() == 1 && text[0] > ' ' && text[0] < 0x7f) {
        // Letters are shown through their lower-case symbol, which GTK prints in capitals.
        const char c = text[0];
        key.keyval = static_cast<unsigned>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        return key;
    }
    return {};
}

std::string keyTextOf(unsigned keyval, unsigned mods) {
    std::string text;
    if (mods & kControlMask) {
        text += "Ctrl+";
    }
    if (mods & kAltMask) {
        text += "Alt+";
    }
    if (mods & kShiftMask) {
        text += "Shift+";
    }
    for (const KeySymbol& symbol : kKeySymbols) {
        if (symbol.keyval == keyval) {
            return text + std::string(symbol.name);
        }
    }
    if (keyval > ' ' && keyval < 0x7f) {
        const char c = static_cast<char>(keyval);
        return text + static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return {};
}

// The accelerator label of GTK menu items, reached through the toolkit library the process
// already runs on (its headers are not part of the build). Null pointers off GTK.
struct AccelLabelApi {
    using GetChild = void* (*)(void*);
    using GetType = unsigned long (*)();
    using IsA = int (*)(void*, unsigned long);
    using SetAccel = void (*)(void*, unsigned, unsigned);
    using GetAccel = void (*)(void*, unsigned*, unsigned*);
    GetChild getChild = nullptr;
    GetType labelType = nullptr;
    IsA isA = nullptr;
    SetAccel setAccel = nullptr;
    GetAccel getAccel = nullptr;

    bool usable() const {
        return getChild != nullptr && labelType != nullptr && isA != nullptr &&
               setAccel != nullptr && getAccel != nullptr;
    }
};

const AccelLabelApi& accelLabelApi() {
    static const AccelLabelApi api = [] {
        AccelLabelApi a;
#ifdef __WXGTK__
        a.getChild =
            reinterpret_cast<AccelLabelApi::GetChild>(dlsym(RTLD_DEFAULT, "gtk_bin_get_child"));
        a.labelType = reinterpret_cast<AccelLabelApi::GetType>(
            dlsym(RTLD_DEFAULT, "gtk_accel_label_get_type"));
        a.isA =
            reinterpret_cast<AccelLabelApi::IsA>(dlsym(RTLD_DEFAULT, "g_type_check_instance_is_a"));
        a.setAccel = reinterpret_cast<AccelLabelApi::SetAccel>(
            dlsym(RTLD_DEFAULT, "gtk_accel_label_set_accel"));
        a.getAccel = reinterpret_cast<AccelLabelApi::GetAccel>(
            dlsym(RTLD_DEFAULT, "gtk_accel_label_get_accel"));
#endif
        return a;
    }();
    return api;
}

// The item's accelerator label; nullptr when there is none to draw on.
void* accelLabelOf(const wxMenuItem* item) {
#ifdef __WXGTK__
    const AccelLabelApi& api = accelLabelApi();
    if (item == nullptr || !api.usable() || item->GetMenuItem() == nullptr) {
        return nullptr;
    }
    void* child = api.getChild(item->GetMenuItem());
    if (child == nullptr || !api.isA(child, api.labelType())) {
        return nullptr;
    }
    return child;
#else
    (void)item;
    return nullptr;
#endif
}

void showKey(wxMenuItem* item, std::string_view keyText) {
    const ParsedKey key = parseKeyText(keyText);
    void* label = accelLabelOf(item);
    if (key.keyval != 0 && label != nullptr) {
        accelLabelApi().setAccel(label, key.keyval, key.mods);
    }
}

void appendNodes(wxMenu* menu, std::span<const MenuNode> nodes) {
    for (const MenuNode& node : nodes) {
        switch (node.kind) {
            case MenuNodeKind::Separator:
                menu->AppendSeparator();
                break;
            case MenuNodeKind::Popup: {
                wxMenu* sub = buildMenu(node.children);
                menu->AppendSubMenu(sub, wxString::FromUTF8(std::string(node.label)));
                break;
            }
            case MenuNodeKind::Command: {
                const int id = commandUiId(node.command);
                if (id < 0) {
                    break;  // not a command of the table; nothing to route it to
                }
                wxMenuItem* item =
                    menu->Append(id, wxString::FromUTF8(std::string(node.label)), wxString(),
                                 node.checkable ? wxITEM_CHECK : wxITEM_NORMAL);
                if (!node.keyText.empty()) {
                    showKey(item, node.keyText);
                }
                break;
            }
        }
    }
}

}  // namespace

int lastCommandUiId() {
    return kFirstCommandUiId + static_cast<int>(commands().size()) - 1;
}

wxMenu* buildMenu(std::span<const MenuNode> nodes) {
    auto* menu = new wxMenu;
    appendNodes(menu, nodes);
    return menu;
}

wxMenuBar* buildMenuBar(const Menu& menu) {
    auto* bar = new wxMenuBar;
    for (const MenuNode& top : menu.items) {
        if (top.kind == MenuNodeKind::Popup) {
            bar->Append(buildMenu(top.children), wxString::FromUTF8(std::string(top.label)));
        }
    }
    return bar;
}

wxMenu* buildContextMenu(MenuId id) {
    return buildMenu(contextItems(id));
}

wxString shownKeyText(const wxMenuItem* item) {
    void* label = accelLabelOf(item);
    if (label == nullptr) {
        return {};
    }
    unsigned keyval = 0;
    unsigned mods = 0;
    accelLabelApi().getAccel(label, &keyval, &mods);
    return wxString::FromUTF8(keyTextOf(keyval, mods));
}

}  // namespace tarn
