#include "dialogs/dlg_set_dpi.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>

#include "dialogs/number_text.h"

namespace tarn {
namespace {

constexpr const char* kTitle = "Set DPI";

unsigned startDpi(double dpi) {
    return static_cast<unsigned>(std::clamp(roundedPixels(dpi), 0, 1000000));
}

}  // namespace

CDlgSetDPI::CDlgSetDPI(const fipSuperImage* image, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, kTitle), m_message(exclamationMessageBox(this)) {
    const SourceImage source = sourceOfImage(image);
    m_dpiX = startDpi(source.dpiX);
    m_dpiY = startDpi(source.dpiY);

    const int gap = dialogUnitsX(*this, 4);
    const wxSize box = ConvertDialogToPixels(wxSize(40, 14));
    auto* rows = new wxFlexGridSizer(3, gap, gap);
    const auto addRow = [&](const char* label, unsigned value, wxTextCtrl*& edit,
                            wxSpinButton*& spin) {
        rows->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
        edit = new wxTextCtrl(this, wxID_ANY, "", wxDefaultPosition, box);
        edit->ChangeValue(std::to_string(value));
        spin = new wxSpinButton(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                wxSP_VERTICAL | wxSP_ARROW_KEYS);
        spin->SetRange(kMinDpi, kMaxDpi);
        spin->SetValue(static_cast<int>(std::clamp(value, kMinDpi, kMaxDpi)));
        auto* pair = new wxBoxSizer(wxHORIZONTAL);
        pair->Add(edit, 0, wxALIGN_CENTER_VERTICAL);
        pair->Add(spin, 0, wxEXPAND);
        rows->Add(pair, 0, wxALIGN_CENTER_VERTICAL);
        rows->Add(new wxStaticText(this, wxID_ANY, "Dots per inch"), 0, wxALIGN_CENTER_VERTICAL);
        // The arrows step the number in the box, as a buddy spin button does.
        spin->Bind(wxEVT_SPIN, [edit](wxSpinEvent& event) {
            edit->ChangeValue(std::to_string(event.GetPosition()));
        });
        edit->Bind(wxEVT_TEXT, [edit, spin](wxCommandEvent&) {
            const int typed = leadingInteger(edit->GetValue().utf8_string());
            spin->SetValue(std::clamp(typed, static_cast<int>(kMinDpi), static_cast<int>(kMaxDpi)));
        });
    };
    addRow("&X resolution:", m_dpiX, m_xBox, m_xSpin);
    addRow("&Y resolution:", m_dpiY, m_yBox, m_ySpin);

    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(rows, 0, wxEXPAND);
    column->AddStretchSpacer();
    column->Add(okCancelButtons(*this), 0, wxEXPAND | wxTOP, gap);
    Bind(wxEVT_BUTTON, &CDlgSetDPI::onOk, this, wxID_OK);
    layOutDialog(*this, column, wxSize(165, 94));
    CentreOnParent();
}

bool CDlgSetDPI::readBox(wxTextCtrl* box, unsigned& value) {
    const auto typed = readUnsignedText(box->GetValue().utf8_string());
    wxString problem;
    if (!typed) {
        problem = "Please enter a positive integer.";
    } else if (*typed < kMinDpi || *typed > kMaxDpi) {
        problem = wxString::Format("Please enter an integer between %u and %u.", kMinDpi, kMaxDpi);
    } else {
        value = static_cast<unsigned>(*typed);
        return true;
    }
    m_message(problem, kTitle);
    focusAndSelect(box);
    return false;
}

void CDlgSetDPI::onOk(wxCommandEvent&) {
    unsigned x = 0;
    unsigned y = 0;
    if (!readBox(m_xBox, x) || !readBox(m_yBox, y)) {
        return;
    }
    m_dpiX = x;
    m_dpiY = y;
    // Also read when the dialog ran without a modal loop.
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

}  // namespace tarn
