#include "dialogs/dlg_save_file.h"

#include <glib-object.h>

#include <wx/msgdlg.h>

#include <filesystem>
#include <system_error>

#include "dialogs/native_chooser.h"
#include "dialogs/save_type_rules.h"

namespace tarn {

namespace {

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
#ifdef __WXGTK__
    // wx reports no change of the chooser's type list; the chooser itself does.
    if (GetHandle() != nullptr) {
        m_typeSignal = g_signal_connect(G_OBJECT(GetHandle()), "notify::filter",
                                        G_CALLBACK(typeChangedCallback), this);
    }
#endif
}

CDlgSaveFile::~CDlgSaveFile() {
    if (m_typeSignal != 0 && GetHandle() != nullptr) {
        g_signal_handler_disconnect(G_OBJECT(GetHandle()), m_typeSignal);
    }
}

int CDlgSaveFile::ShowModal() {
    for (;;) {
        const int result = wxFileDialog::ShowModal();
        if (result != wxID_OK) {
            return result;
        }
        m_chosen = GetPath().utf8_string();
        // The chooser asked about the name as typed; the added extension makes another file.
        const std::string chosen = path();
        std::error_code ec;
        if (chosen == m_chosen || !std::filesystem::exists(chosen, ec)) {
            return result;
        }
        wxMessageDialog ask(GetParent(),
                            wxString::Format("A file named \"%s\" already exists. Do you want to "
                                             "replace it?",
                                             wxString::FromUTF8(nameOf(chosen))),
                            GetTitle(), wxYES_NO | wxNO_DEFAULT | wxICON_WARNING);
        if (ask.ShowModal() == wxID_YES) {
            return result;
        }
    }
}

std::string CDlgSaveFile::path() const {
    std::string chosen = m_chosen;
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
    if (const auto text = native_chooser::currentName(GetHandle())) {
        return *text;
    }
    return GetFilename().utf8_string();
}

void CDlgSaveFile::setNameBoxText(const std::string& text) {
    if (!native_chooser::setCurrentName(GetHandle(), text)) {
        SetFilename(wxString::FromUTF8(text));
    }
}

void CDlgSaveFile::onTypeChanged() {
    const std::string extension = currentTypeExtension();
    if (const auto renamed = renamedForType(nameBoxText(), extension)) {
        setNameBoxText(*renamed);
    }
    m_defaultExtension = extension;
}

}  // namespace tarn
