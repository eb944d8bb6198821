#include "dialogs/dlg_set_zoom_level.h"

#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>

namespace tarn {
namespace {

constexpr const char* kTitle = "Set Zoom Level";
constexpr std::array<const char*, 4> kChoiceLabels = {"Fit whole &image", "Fit &width",
                                                      "Fit &height", "&Specify:"};

}  // namespace

CDlgSetZoomLevel::CDlgSetZoomLevel(wxWindow* parent, ZoomLevelView view)
    : wxDialog(parent, wxID_ANY, kTitle),
      m_view(std::move(view)),
      m_message(exclamationMessageBox(this)) {
    const int gap = dialogUnitsX(*this, 4);
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "Zoom level");
    wxStaticBox* box = group->GetStaticBox();
    for (std::size_t index = 0; index < kChoiceLabels.size(); ++index) {
        m_choices[index] = new wxRadioButton(box, wxID_ANY, kChoiceLabels[index], wxDefaultPosition,
                                             wxDefaultSize, index == 0 ? wxRB_GROUP : 0);
    }
    for (std::size_t index = 0; index < 3; ++index) {
        group->Add(m_choices[index], 0, wxLEFT | wxRIGHT | wxTOP, gap);
    }
    wxArrayString levels;
    for (const char* level : kZoomLevelNames) {
        levels.Add(level);
    }
    m_level = new wxComboBox(box, wxID_ANY, "", wxDefaultPosition,
                             ConvertDialogToPixels(wxSize(50, 14)), levels, wxCB_DROPDOWN);
    auto* specifyRow = new wxBoxSizer(wxHORIZONTAL);
    specifyRow->Add(m_choices[3], 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    specifyRow->Add(m_level, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap / 2);
    specifyRow->Add(new wxStaticText(box, wxID_ANY, "%"), 0, wxALIGN_CENTER_VERTICAL);
    group->Add(specifyRow, 0, wxALL, gap);

    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(group, 0, wxEXPAND);
    column->Add(new wxStaticLine(this), 0, wxEXPAND | wxTOP | wxBOTTOM, gap);
    m_lock = new wxCheckBox(this, wxID_ANY, "&Lock at this zoom level");
    column->Add(m_lock, 0, wxLEFT, gap);
    column->AddStretchSpacer();
    column->Add(okCancelButtons(*this), 0, wxEXPAND | wxTOP, gap);

    m_choices[3]->SetValue(true);
    m_level->ChangeValue(std::to_string(zoomPercent(m_view.zoom())));
    m_lock->SetValue(m_view.isLocked());
    Bind(wxEVT_BUTTON, &CDlgSetZoomLevel::onOk, this, wxID_OK);
    layOutDialog(*this, column, wxSize(162, 155));
    CentreOnParent();
    focusAndSelect(m_level);
}

void CDlgSetZoomLevel::onOk(wxCommandEvent&) {
    auto choice = ZoomChoice::Specify;
    for (std::size_t index = 0; index < m_choices.size(); ++index) {
        if (m_choices[index]->GetValue()) {
            choice = static_cast<ZoomChoice>(index);
        }
    }
    const ZoomStep step = zoomStep(choice, m_level->GetValue().utf8_string(), m_view.zoom());
    if (step.refused) {
        m_message(kZoomLevelMessage, kTitle);
        focusAndSelect(m_level);
        return;
    }
    if (step.zoom) {
        m_view.setZoom(*step.zoom);
    }
    if (step.fit) {
        m_view.fit(*step.fit);
    }
    // Compared with the view as the zoom or fit left it.
    if (m_lock->GetValue() != m_view.isLocked()) {
        m_view.setLock(m_lock->GetValue());
    }
    // Also read when the dialog ran without a modal loop.
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

}  // namespace tarn
