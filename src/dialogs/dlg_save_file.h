#pragma once

#include <wx/filedlg.h>

#include <string>
#include <vector>

namespace tarn {

// The platform's save dialog, asking before it overwrites, with the type preselected from the
// initial name's extension. Choosing another type puts that type's extension on the typed name.
class CDlgSaveFile : public wxFileDialog {
public:
    // initialName may be a bare name or a full path; filter is "desc|pattern|desc|pattern".
    CDlgSaveFile(wxWindow* parent, const std::string& initialName, const std::string& filter);
    ~CDlgSaveFile() override;

    // Runs the chooser. A name typed without an extension is saved with the chosen type's; when
    // that file exists the user is asked first, and saying no goes back to the chooser.
    int ShowModal() override;

    // The chosen file after ShowModal() gave wxID_OK, with the extension added as above.
    std::string path() const;

    // The type list's current entry, counted from 0, and its extension ("" for none).
    int currentType() const;
    std::string currentTypeExtension() const;

    // The name box's text while the dialog is shown.
    std::string nameBoxText() const;
    void setNameBoxText(const std::string& text);

    // Applies the extension rule for the type now selected; called on every change of the
    // type list.
    void onTypeChanged();

private:
    std::vector<std::string> m_typeTexts;
    std::string m_chosen;  // as the chooser gave it
    std::string m_defaultExtension;
    unsigned long m_typeSignal = 0;
};

}  // namespace tarn
