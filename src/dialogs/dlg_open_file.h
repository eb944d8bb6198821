#pragma once

#include <wx/filedlg.h>

#include <string>

#include "app/settings.h"

namespace tarn {

class CImageInfoPanel;

// The platform's open dialog with a panel below the standard controls: the information on the
// selected picture and its preview, which "Show preview" turns on and off.
class CDlgOpenFile : public wxFileDialog {
public:
    // filter is "desc|pattern|desc|pattern"; folder is shown first.
    CDlgOpenFile(wxWindow* parent, SettingsStore& settings, const std::string& filter,
                 const std::string& folder);

    // The chosen file after ShowModal() gave wxID_OK.
    std::string path() const;

    // The information panel while the dialog is shown; null before.
    CImageInfoPanel* infoPanel() const { return m_panel; }

private:
    static wxWindow* createPanel(wxWindow* parent);
    void onPanelUpdate(wxUpdateUIEvent& event);
    void fitPanel();

    SettingsStore& m_settings;
    CImageInfoPanel* m_panel = nullptr;
    bool m_panelFitted = false;
};

}  // namespace tarn
