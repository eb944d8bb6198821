#pragma once

#include <wx/dialog.h>

#include <string>

#include "browser/file_operations.h"

class wxCheckBox;

namespace tarn {

// Asks what to do with an item whose name exists at the target: "Replace", "Skip" or
// "Cancel", with "Apply to all" for the conflicts that follow.
class CDlgNameConflict : public wxDialog {
public:
    CDlgNameConflict(wxWindow* parent, const std::string& source, const std::string& target);

    // Shows the dialog modally; closing it is Cancel.
    ConflictAnswer ask();

private:
    void choose(ConflictChoice choice);

    wxCheckBox* m_applyToAll = nullptr;
    ConflictChoice m_choice = ConflictChoice::Cancel;
};

}  // namespace tarn
