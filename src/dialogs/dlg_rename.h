#pragma once

#include <wx/dialog.h>

#include <string>

namespace tarn {

class CFileNameEdit;

// "Rename": asks for a new name of a file, starting from its present one.
class CDlgRename : public wxDialog {
public:
    static constexpr int kNameEditId = 1000;
    // The longest name handed back, in characters.
    static constexpr std::size_t kMaxNameLength = 259;

    CDlgRename(wxWindow* parent, const std::string& path);

    // The name typed, as it stood when Ok was pressed; empty before.
    const std::string& newName() const { return m_newName; }
    CFileNameEdit& nameEdit() { return *m_edit; }

private:
    void onOk(wxCommandEvent& event);

    CFileNameEdit* m_edit = nullptr;  // owned by the dialog
    std::string m_newName;
};

}  // namespace tarn
