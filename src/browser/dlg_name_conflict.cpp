#include "browser/dlg_name_conflict.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "common/path_rules.h"

namespace tarn {

CDlgNameConflict::CDlgNameConflict(wxWindow* parent, const std::string& source,
                                   const std::string& target)
    : wxDialog(parent, wxID_ANY, "Confirm File Replace") {
    const std::string text = "This folder already contains an item named \"" + fileName(target) +
                             "\".\n\nReplace it with \"" + source + "\"?";
    auto* message = new wxStaticText(this, wxID_ANY, wxString::FromUTF8(text));
    message->Wrap(FromDIP(420));
    auto* icon = new wxStaticBitmap(this, wxID_ANY,
                                    wxArtProvider::GetBitmap(wxART_QUESTION, wxART_MESSAGE_BOX));
    m_applyToAll = new wxCheckBox(this, wxID_ANY, "Apply to &all");

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(icon, 0, wxALL, FromDIP(10));
    top->Add(message, 1, wxTOP | wxRIGHT | wxBOTTOM, FromDIP(10));
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(m_applyToAll, 0, wxALIGN_CENTER_VERTICAL);
    buttons->AddStretchSpacer();
    const auto button = [&](const char* label, ConflictChoice choice, wxWindowID id) {
        auto* b = new wxButton(this, id, label);
        b->Bind(wxEVT_BUTTON, [this, choice](wxCommandEvent&) { choose(choice); });
        buttons->Add(b, 0, wxLEFT, FromDIP(6));
        return b;
    };
    button("&Replace", ConflictChoice::Replace, wxID_YES)->SetDefault();
    button("&Skip", ConflictChoice::Skip, wxID_NO);
    button("Cancel", ConflictChoice::Cancel, wxID_CANCEL);
    SetEscapeId(wxID_CANCEL);

    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(top, 1, wxEXPAND);
    column->Add(buttons, 0, wxEXPAND | wxALL, FromDIP(10));
    SetSizerAndFit(column);
    CentreOnParent();
}

void CDlgNameConflict::choose(ConflictChoice choice) {
    m_choice = choice;
    EndModal(wxID_OK);
}

ConflictAnswer CDlgNameConflict::ask() {
    m_choice = ConflictChoice::Cancel;
    ShowModal();
    return {m_choice, m_applyToAll->GetValue()};
}

}  // namespace tarn
