#include "dialogs/geometry_dialog_support.h"

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>

#include "imaging/fip_super_image.h"

namespace tarn {

DialogMessage exclamationMessageBox(wxWindow* parent) {
    return [parent](const wxString& message, const wxString& title) {
        wxMessageBox(message, title, wxOK | wxICON_EXCLAMATION, parent);
    };
}

SourceImage sourceOfImage(const fipSuperImage* image) {
    if (image == nullptr || !image->isValid()) {
        return {};
    }
    // Dots per centimetre: the library's dots per metre over 100.
    const double perCmX = image->getHorizontalResolution();
    const double perCmY = image->getVerticalResolution();
    return {static_cast<int>(image->getWidth()), static_cast<int>(image->getHeight()),
            perCmX * 2.54, perCmY * 2.54};
}

void focusAndSelect(wxWindow* box) {
    box->SetFocus();
    if (auto* text = dynamic_cast<wxTextCtrl*>(box)) {
        text->SelectAll();
    } else if (auto* combo = dynamic_cast<wxComboBox*>(box)) {
        combo->SelectAll();
    }
}

int dialogUnitsX(const wxWindow& window, int units) {
    return window.ConvertDialogToPixels(wxSize(units, 0)).x;
}

int dialogUnitsY(const wxWindow& window, int units) {
    return window.ConvertDialogToPixels(wxSize(0, units)).y;
}

wxSizer* okCancelButtons(wxDialog& dialog) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    const wxSize size = dialog.ConvertDialogToPixels(wxSize(50, 14));
    auto* ok = new wxButton(&dialog, wxID_OK, "Ok", wxDefaultPosition, size);
    auto* cancel = new wxButton(&dialog, wxID_CANCEL, "Cancel", wxDefaultPosition, size);
    row->AddStretchSpacer();
    row->Add(ok, 0, wxRIGHT, dialogUnitsX(dialog, 4));
    row->Add(cancel);
    ok->SetDefault();
    return row;
}

namespace {

// The sizes in dialog units are a floor: the toolkit's controls may need more to show their text.
void growToBestSizes(wxWindow& parent) {
    for (wxWindow* child : parent.GetChildren()) {
        if (child->IsTopLevel()) {
            continue;
        }
        wxSize size = child->GetSize();
        size.IncTo(child->GetBestSize());
        child->SetMinSize(size);
        growToBestSizes(*child);
    }
}

void fitToLayout(wxDialog& dialog, wxSize dialogUnits) {
    growToBestSizes(dialog);
    wxSizer* sizer = dialog.GetSizer();
    const wxSize needed = sizer->GetMinSize();
    wxSize client = dialog.ConvertDialogToPixels(dialogUnits);
    client.IncTo(needed);
    client.IncTo(dialog.GetClientSize());
    dialog.SetMinClientSize(needed);
    dialog.SetClientSize(client);
    dialog.Layout();
}

}  // namespace

void layOutDialog(wxDialog& dialog, wxSizer* sizer, wxSize dialogUnits) {
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(sizer, 1, wxEXPAND | wxALL, dialogUnitsX(dialog, 7));
    dialog.SetSizer(outer);
    fitToLayout(dialog, dialogUnits);
    // Some controls only know the height their style gives them once they are shown.
    // Once: a text box's best size counts its present size in, so it would grow at every show.
    dialog.Bind(wxEVT_SHOW, [&dialog, dialogUnits, fitted = false](wxShowEvent& event) mutable {
        event.Skip();
        if (event.IsShown() && !fitted) {
            fitted = true;
            const wxSize before = dialog.GetSize();
            fitToLayout(dialog, dialogUnits);
            if (dialog.GetSize() != before) {
                dialog.CentreOnParent();
            }
        }
    });
}

}  // namespace tarn
