#include "dialogs/dlg_resize.h"

#include <wx/sizer.h>
#include <wx/statbox.h>

#include "dialogs/number_text.h"

namespace tarn {
namespace {

constexpr const char* kTitle = "Resize";

}  // namespace

CDlgResize::CDlgResize(const fipSuperImage* image, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, kTitle),
      m_source(withUsableResolution(sourceOfImage(image))),
      m_message(exclamationMessageBox(this)) {
    const int gap = dialogUnitsX(*this, 4);
    auto* column = new wxBoxSizer(wxVERTICAL);
    const SizeRows rows = addSizeControls(*this, column, m_controls);
    addUnitRow(rows, "&DPI:", m_dpiBox, m_dpiUnitList);

    auto* optionGroup = new wxStaticBoxSizer(wxVERTICAL, this, "");
    wxStaticBox* optionBox = optionGroup->GetStaticBox();
    m_controls.keepAspect = new wxCheckBox(optionBox, wxID_ANY, "&Keep aspect ratio");
    optionGroup->Add(m_controls.keepAspect, 0, wxALL, gap);
    auto* filterRow = new wxBoxSizer(wxHORIZONTAL);
    filterRow->Add(new wxStaticText(optionBox, wxID_ANY, "&Resample filter:"), 0,
                   wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    m_filterList = new wxChoice(optionBox, wxID_ANY);
    filterRow->Add(m_filterList, 1, wxALIGN_CENTER_VERTICAL);
    optionGroup->Add(filterRow, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, gap);
    column->Add(optionGroup, 0, wxEXPAND | wxBOTTOM, gap);

    addSizeLabels(*this, column, m_currentSize, m_newSize);

    column->AddStretchSpacer();
    column->Add(okCancelButtons(*this), 0, wxEXPAND);

    for (const char* name : kDpiUnitNames) {
        m_dpiUnitList->Append(name);
    }
    for (const char* name : kResampleFilterNames) {
        m_filterList->Append(name);
    }
    m_dpiValue = startDpiValue(m_source);
    m_dpiBox->ChangeValue(fieldText(m_dpiValue));
    m_dpiUnitList->SetSelection(static_cast<int>(m_dpiUnit));
    m_filterList->SetSelection(m_filter);
    m_currentSize->SetLabel(sizeText({m_source.width, m_source.height}));

    m_sizes = std::make_unique<SizeBoxes>(
        m_controls, m_source, false, [this] { return scale(); }, [this] { updateLabels(); });
    m_sizes->start(true);

    m_dpiBox->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        m_dpiValue = leadingNumber(m_dpiBox->GetValue().utf8_string());
        updateLabels();
    });
    m_dpiUnitList->Bind(wxEVT_CHOICE, &CDlgResize::onDpiUnit, this);
    m_filterList->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
        m_filter = std::max(0, m_filterList->GetSelection());
    });
    Bind(wxEVT_BUTTON, &CDlgResize::onOk, this, wxID_OK);

    layOutDialog(*this, column, wxSize(170, 223));
    CentreOnParent();
}

CDlgResize::~CDlgResize() = default;

double CDlgResize::scale() const {
    return resizeScale(m_source, m_dpiValue, m_dpiUnit);
}

void CDlgResize::updateLabels() {
    if (m_newSize != nullptr && m_sizes) {
        m_newSize->SetLabel(sizeText(m_sizes->pixelSize()));
    }
}

void CDlgResize::onDpiUnit(wxCommandEvent&) {
    const int index = m_dpiUnitList->GetSelection();
    if (index < 0 || index >= static_cast<int>(kDpiUnitNames.size())) {
        return;
    }
    const auto unit = static_cast<DpiUnit>(index);
    if (unit != m_dpiUnit) {
        m_dpiValue =
            convertDpiValue(leadingNumber(m_dpiBox->GetValue().utf8_string()), m_dpiUnit, unit);
        m_dpiUnit = unit;
        m_dpiBox->ChangeValue(fieldText(m_dpiValue));
    }
    updateLabels();
}

void CDlgResize::refuse(wxWindow* box, const wxString& message) {
    m_message(message, kTitle);
    focusAndSelect(box);
}

void CDlgResize::onOk(wxCommandEvent&) {
    if (wxTextCtrl* bad = m_sizes->storeStrictly()) {
        refuse(bad, kNotANumberMessage);
        return;
    }
    const auto dpi = readFieldText(m_dpiBox->GetValue().utf8_string());
    if (!dpi) {
        refuse(m_dpiBox, kNotANumberMessage);
        return;
    }
    m_dpiValue = *dpi;
    m_filter = std::max(0, m_filterList->GetSelection());
    ResizeResult result;
    const SizeCheck check = checkResize(m_source, m_sizes->fields(), m_dpiValue, m_dpiUnit, result);
    if (!check.ok()) {
        wxWindow* box = check.box == SizeBox::Dpi     ? static_cast<wxWindow*>(m_dpiBox)
                        : check.box == SizeBox::Width ? m_controls.width
                                                      : m_controls.height;
        refuse(box, check.message);
        return;
    }
    m_result = result;
    // Also read when the dialog ran without a modal loop.
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

}  // namespace tarn
