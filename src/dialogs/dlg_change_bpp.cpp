#include "dialogs/dlg_change_bpp.h"

#include <wx/sizer.h>
#include <wx/statbox.h>

#include <algorithm>

#include "dialogs/number_text.h"
#include "imaging/fip_super_image.h"

namespace tarn {
namespace {

constexpr const char* kTitle = "Change Color Depth";
constexpr std::array<const char*, 5> kDepthLabels = {"1-bit (Black && White)", "4-bit (16 colors)",
                                                     "8-bit (256 colors)", "24-bit", "32-bit"};

}  // namespace

CDlgChangeBPP::CDlgChangeBPP(const fipSuperImage* image, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, kTitle), m_message(exclamationMessageBox(this)) {
    const int gap = dialogUnitsX(*this, 4);
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "BPP");
    wxStaticBox* box = group->GetStaticBox();
    for (std::size_t index = 0; index < kDepthLabels.size(); ++index) {
        m_depthButtons[index] =
            new wxRadioButton(box, wxID_ANY, kDepthLabels[index], wxDefaultPosition, wxDefaultSize,
                              index == 0 ? wxRB_GROUP : 0);
        group->Add(m_depthButtons[index], 0, wxLEFT | wxRIGHT | wxTOP, gap);
        m_depthButtons[index]->Bind(wxEVT_RADIOBUTTON, [this, index](wxCommandEvent&) {
            onDepth(static_cast<int>(index));
        });
    }
    m_limit = new wxCheckBox(box, wxID_ANY, "Limit maximum colors");
    group->Add(m_limit, 0, wxLEFT | wxRIGHT | wxTOP, gap);
    auto* countRow = new wxBoxSizer(wxHORIZONTAL);
    m_count =
        new wxTextCtrl(box, wxID_ANY, "", wxDefaultPosition, ConvertDialogToPixels(wxSize(40, 14)));
    m_spin = new wxSpinButton(box, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                              wxSP_VERTICAL | wxSP_ARROW_KEYS);
    countRow->Add(m_count, 0, wxALIGN_CENTER_VERTICAL);
    countRow->Add(m_spin, 0, wxEXPAND);
    group->Add(countRow, 0, wxLEFT | wxTOP, 3 * gap / 2);
    m_grayscale = new wxCheckBox(box, wxID_ANY, "Make grayscale image");
    group->Add(m_grayscale, 0, wxALL, gap);

    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(group, 0, wxEXPAND);
    column->AddStretchSpacer();
    column->Add(okCancelButtons(*this), 0, wxEXPAND | wxTOP, gap);

    const int depth = depthIndexForBpp(image != nullptr ? image->getBPP() : 0);
    m_depthButtons[depth]->SetValue(true);
    const ColorCountRange range = colorCountRange(depth);
    m_spin->SetRange(range.low, range.high);
    m_spin->SetValue(range.high);
    m_count->ChangeValue(std::to_string(range.high));
    m_grayscale->SetValue(depth == kOneBitDepth);
    m_limit->Enable(depth != kOneBitDepth);
    m_grayscale->Enable(depth != kOneBitDepth);
    enableCount();

    m_limit->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { enableCount(); });
    m_spin->Bind(wxEVT_SPIN, [this](wxSpinEvent& event) {
        m_count->ChangeValue(std::to_string(event.GetPosition()));
    });
    m_count->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        m_spin->SetValue(std::clamp(leadingInteger(m_count->GetValue().utf8_string()),
                                    m_spin->GetMin(), m_spin->GetMax()));
    });
    Bind(wxEVT_BUTTON, &CDlgChangeBPP::onOk, this, wxID_OK);
    layOutDialog(*this, column, wxSize(129, 158));
    CentreOnParent();
}

int CDlgChangeBPP::selectedDepth() const {
    for (std::size_t index = 0; index < m_depthButtons.size(); ++index) {
        if (m_depthButtons[index]->GetValue()) {
            return static_cast<int>(index);
        }
    }
    return kOneBitDepth;
}

void CDlgChangeBPP::enableCount() {
    const bool on = m_limit->IsEnabled() && m_limit->GetValue();
    m_count->Enable(on);
    m_spin->Enable(on);
}

void CDlgChangeBPP::onDepth(int index) {
    if (index == kOneBitDepth) {
        m_limit->SetValue(false);
        m_grayscale->SetValue(true);
        m_limit->Disable();
        m_grayscale->Disable();
        enableCount();
        return;
    }
    m_limit->Enable();
    m_grayscale->Enable();
    enableCount();
    const ColorCountRange range = colorCountRange(index);
    if (const auto replaced = countTextForDepth(index, m_count->GetValue().utf8_string())) {
        m_count->ChangeValue(*replaced);
    }
    m_spin->SetRange(range.low, range.high);
    m_spin->SetValue(
        std::clamp(leadingInteger(m_count->GetValue().utf8_string()), range.low, range.high));
}

void CDlgChangeBPP::onOk(wxCommandEvent&) {
    const int depth = selectedDepth();
    const auto result = checkDepth(
        {depth, m_limit->GetValue(), m_grayscale->GetValue(), m_count->GetValue().utf8_string()});
    if (!result) {
        m_message(colorCountMessage(depth), kTitle);
        focusAndSelect(m_count);
        return;
    }
    m_result = *result;
    // Also read when the dialog ran without a modal loop.
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

}  // namespace tarn
