#include "dialogs/dlg_query_save.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <vector>

#include "dialogs/dlg_save_file.h"

namespace tarn {

CDlgQuerySave::CDlgQuerySave(wxWindow* parent, const std::string& path, const fipSuperImage& image)
    : wxDialog(parent, wxID_ANY, "Save Changes"), m_path(path), m_image(image) {
    SetClientSize(ConvertDialogToPixels(wxSize(243, 54)));

    const wxBitmap warning = wxArtProvider::GetBitmap(wxART_WARNING, wxART_MESSAGE_BOX);
    auto* icon = new wxStaticBitmap(this, wxID_ANY, warning, wxPoint(10, 10));
    const int textX = 10 + std::max(warning.GetWidth(), 32) + 12;
    new wxStaticText(this, wxID_ANY, "Do you want to save the changes you've made to this image?",
                     wxPoint(textX, 10 + (icon->GetSize().y - GetCharHeight()) / 2));

    struct ButtonText {
        int id;
        const char* text;
    };
    const ButtonText buttons[] = {
        {kSave, "&Save"}, {kSaveAs, "Save &As..."}, {kDiscard, "&Discard"}, {kCancel, "&Cancel"}};
    const wxSize unit = ConvertDialogToPixels(wxSize(50, 14));
    const int gap = ConvertDialogToPixels(wxSize(7, 0)).x;
    const int y = ConvertDialogToPixels(wxPoint(0, 33)).y;
    std::vector<wxButton*> row;
    wxSize size = unit;
    for (const ButtonText& button : buttons) {
        row.push_back(new wxButton(this, button.id, button.text, wxPoint(0, y), unit));
        size.IncTo(row.back()->GetBestSize());
    }
    int x = gap;
    for (wxButton* button : row) {
        button->SetSize(x, y, size.x, size.y);
        x += size.x + gap;
    }
    // Wide enough for the text and the buttons whatever the font.
    wxSize client = GetClientSize();
    for (wxWindow* child : GetChildren()) {
        const wxRect rect = child->GetRect();
        client.x = std::max(client.x, rect.GetRight() + 1 + gap);
        client.y = std::max(client.y, rect.GetBottom() + 1 + gap);
    }
    SetClientSize(client);

    row.front()->SetDefault();
    row.front()->SetFocus();
    SetEscapeId(kCancel);
    Bind(wxEVT_BUTTON, &CDlgQuerySave::onButton, this);
    Bind(wxEVT_CLOSE_WINDOW, &CDlgQuerySave::onClose, this);
    CentreOnParent();
}

bool CDlgQuerySave::runSaveAs(std::string& chosen) {
    CDlgSaveFile dialog(this, m_path, fipSuperImage::getSaveFileFilter(m_image));
    if (dialog.ShowModal() != wxID_OK) {
        return false;
    }
    chosen = dialog.path();
    return !chosen.empty();
}

void CDlgQuerySave::onButton(wxCommandEvent& event) {
    switch (event.GetId()) {
        case kSave:
        case kDiscard:
        case kCancel:
            EndModal(event.GetId());
            break;
        case kSaveAs: {
            std::string chosen;
            if (runSaveAs(chosen)) {
                m_chosenPath = chosen;
                EndModal(kSaveAs);
            } else {
                EndModal(kCancel);
            }
            break;
        }
        default:
            event.Skip();
    }
}

void CDlgQuerySave::onClose(wxCloseEvent&) {
    if (IsModal()) {
        EndModal(kCancel);
    } else {
        Hide();
    }
}

}  // namespace tarn
