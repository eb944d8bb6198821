#include "dialogs/dlg_save_file.h"

#include <dlfcn.h>
#include <glib-object.h>

#include <filesystem>

#include "dialogs/save_type_rules.h"

namespace tarn {

namespace {

// The chooser's name box has no wx accessor. The toolkit is already loaded by wx, so its two
// functions are looked up there rather than built against its headers.
using GetCurrentName = char* (*)(void* chooser);
using SetCurrentName = void (*)(void* chooser, const char* name);

GetCurrentName getCurrentNameFunction() {
    static const auto function = reinterpret_cast<GetCurrentName>(
        ::dlsym(RTLD_DEFAULT, "gtk_file_chooser_get_current_name"));
    return function;
}

SetCurrentName setCurrentNameFunction() {
    static const auto function = reinterpret_cast<SetCurrentName>(
        ::dlsym(RTLD_DEFAULT, "gtk_file_chooser_set_current_name"));
    return function;
}

void typeChangedCallback(GObject*, GParamSpec*, gpointer dialog) {
    static_cast<CDlgSaveFile*>(dialog)->onTypeChanged();
}

// wx wants the folder and the name apart.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

CDlgSaveFile::CDlgSaveFile(wxWindow* parent, const std::string& initialName,
                           const std::string& filter)
    : wxFileDialog(parent, "Save As", wxString::FromUTF8(folderOf(initialName)),
                   wxString::FromUTF8(nameOf(initialName)), wxString::FromUTF8(filter),
                   wxFD_SAVE | wxFD_OVERWRITE_PROMPT),
      m_typeTexts(filterDescriptions(filter)) {
    const int type = preselectedFilterIndex(initialName, filter) - 1;
    if (type < static_cast<int>(m_typeTexts.size())) {
        SetFilterIndex(type);
    }
    m_defaultExtension = currentTypeExtension();
    if (GObject* chooser = G_OBJECT(GetHandle())) {
        m_typeSignal =
            g_signal_connect(chooser, "notify::filter", G_CALLBACK(typeChangedCallback), this);
    }
}

CDlgSaveFile::~CDlgSaveFile() {
    if (m_typeSignal != 0 && GetHandle() != nullptr) {
        g_signal_handler_disconnect(G_OBJECT(GetHandle()), m_typeSignal);
    }
}

std::string CDlgSaveFile::path() const {
    std::string chosen = GetPath().utf8_string();
    if (!chosen.empty() && !m_defaultExtension.empty() &&
        std::filesystem::path(chosen).extension().empty()) {
        chosen += "." + m_defaultExtension;
    }
    return chosen;
}

int CDlgSaveFile::currentType() const {
    return GetFilterIndex();
}

std::string CDlgSaveFile::currentTypeExtension() const {
    const int type = currentType();
    if (type < 0 || type >= static_cast<int>(m_typeTexts.size())) {
        return {};
    }
    return typeExtension(m_typeTexts[type]);
}

std::string CDlgSaveFile::nameBoxText() const {
    const GetCurrentName get = getCurrentNameFunction();
    if (get == nullptr || GetHandle() == nullptr) {
        return GetFilename().utf8_string();
    }
    char* text = get(GetHandle());
    std::string result = text != nullptr ? text : "";
    g_free(text);
    return result;
}

void CDlgSaveFile::setNameBoxText(const std::string& text) {
    const SetCurrentName set = setCurrentNameFunction();
    if (set == nullptr || GetHandle() == nullptr) {
        SetFilename(wxString::FromUTF8(text));
        return;
    }
    set(GetHandle(), text.c_str());
}

void CDlgSaveFile::onTypeChanged() {
    const std::string extension = currentTypeExtension();
    if (const auto renamed = renamedForType(nameBoxText(), extension)) {
        setNameBoxText(*renamed);
    }
    m_defaultExtension = extension;
}

}  // namespace tarn
