#include "dialogs/dlg_rename.h"

#include <wx/button.h>
#include <wx/stattext.h>

#include "common/path_rules.h"
#include "widgets/file_name_edit.h"

namespace tarn {

CDlgRename::CDlgRename(wxWindow* parent, const std::string& path)
    : wxDialog(parent, wxID_ANY, "Rename") {
    const auto units = [this](int x, int y) { return ConvertDialogToPixels(wxPoint(x, y)); };
    const auto extent = [this](int w, int h) { return ConvertDialogToPixels(wxSize(w, h)); };
    SetClientSize(extent(197, 57));

    new wxStaticText(this, wxID_ANY, "&New name", units(7, 7));
    m_edit = new CFileNameEdit(this, kNameEditId, wxString::FromUTF8(fileName(path)), units(7, 17),
                               extent(183, 14));
    auto* ok = new wxButton(this, wxID_OK, "Ok", units(86, 37), extent(50, 14));
    auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel", units(140, 37), extent(50, 14));

    // The toolkit's controls may want more room than the units give; nothing is cut off.
    const int gap = units(7, 7).x;
    m_edit->SetSize(-1, -1, -1, std::max(m_edit->GetSize().y, m_edit->GetBestSize().y));
    const int buttonY = m_edit->GetRect().GetBottom() + 1 + gap;
    wxSize buttonSize = extent(50, 14);
    buttonSize.IncTo(ok->GetBestSize());
    buttonSize.IncTo(cancel->GetBestSize());
    const int right = m_edit->GetRect().GetRight() + 1;
    cancel->SetSize(right - buttonSize.x, buttonY, buttonSize.x, buttonSize.y);
    ok->SetSize(right - 2 * buttonSize.x - gap, buttonY, buttonSize.x, buttonSize.y);
    wxSize client = GetClientSize();
    client.IncTo(wxSize(right + gap, cancel->GetRect().GetBottom() + 1 + gap));
    SetClientSize(client);

    ok->SetDefault();
    m_edit->SetFocus();
    m_edit->SelectAll();
    ok->Bind(wxEVT_BUTTON, &CDlgRename::onOk, this);
    CentreOnParent();
}

void CDlgRename::onOk(wxCommandEvent&) {
    m_newName = m_edit->GetValue().Left(kMaxNameLength).utf8_string();
    EndModal(wxID_OK);
}

}  // namespace tarn
