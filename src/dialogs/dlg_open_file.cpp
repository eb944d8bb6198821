#include "dialogs/dlg_open_file.h"

#include <wx/display.h>

#include <algorithm>

#include "dialogs/image_info_panel.h"
#include "dialogs/native_chooser.h"

namespace tarn {

CDlgOpenFile::CDlgOpenFile(wxWindow* parent, SettingsStore& settings, const std::string& filter,
                           const std::string& folder)
    : wxFileDialog(parent, "Open", wxString::FromUTF8(folder), wxEmptyString,
                   wxString::FromUTF8(filter), wxFD_OPEN | wxFD_FILE_MUST_EXIST),
      m_settings(settings) {
    SetExtraControlCreator(&CDlgOpenFile::createPanel);
}

std::string CDlgOpenFile::path() const {
    return GetPath().utf8_string();
}

wxWindow* CDlgOpenFile::createPanel(wxWindow* parent) {
    auto* dialog = dynamic_cast<CDlgOpenFile*>(parent);
    if (dialog == nullptr) {
        return nullptr;
    }
    auto* panel = new CImageInfoPanel(parent, dialog->m_settings);
    // The chooser reports a changed selection by asking the panel to update itself.
    panel->Bind(wxEVT_UPDATE_UI, &CDlgOpenFile::onPanelUpdate, dialog, panel->GetId());
    dialog->m_panel = panel;
    return panel;
}

void CDlgOpenFile::onPanelUpdate(wxUpdateUIEvent& event) {
    event.Skip();
    if (m_panel == nullptr) {
        return;
    }
    fitPanel();
    const std::string selected = GetCurrentlySelectedFilename().utf8_string();
    if (selected != m_panel->currentPath()) {
        m_panel->showFile(selected);
    }
}

// The chooser shares its bottom row between the panel and the long type list, and may give the
// panel less than it needs; a wider dialog gives it room, within the screen.
void CDlgOpenFile::fitPanel() {
    const int missing = m_panel->GetMinSize().x - m_panel->GetSize().x;
    if (m_panelFitted || missing <= 0 || !IsShownOnScreen()) {
        return;
    }
    m_panelFitted = true;
    int width = 0;
    int height = 0;
    if (native_chooser::size(GetHandle(), width, height)) {
        const int display = wxDisplay(this).GetClientArea().width;
        native_chooser::resize(GetHandle(), std::max(width, std::min(display, width + 2 * missing)),
                               height);
    }
}

}  // namespace tarn
