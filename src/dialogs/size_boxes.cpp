#include "dialogs/size_boxes.h"

#include <wx/statbox.h>

#include "dialogs/geometry_dialog_support.h"
#include "dialogs/number_text.h"

namespace tarn {

SizeBoxes::SizeBoxes(const Controls& controls, const SourceImage& source, bool canvas,
                     std::function<double()> scale, std::function<void()> changed)
    : m_controls(controls),
      m_source(source),
      m_canvas(canvas),
      m_scale(std::move(scale)),
      m_changed(std::move(changed)) {
    m_controls.preset->Bind(wxEVT_CHOICE, &SizeBoxes::onPreset, this);
    m_controls.width->Bind(wxEVT_TEXT, &SizeBoxes::onWidthText, this);
    m_controls.height->Bind(wxEVT_TEXT, &SizeBoxes::onHeightText, this);
    m_controls.widthUnit->Bind(wxEVT_CHOICE, &SizeBoxes::onWidthUnit, this);
    m_controls.heightUnit->Bind(wxEVT_CHOICE, &SizeBoxes::onHeightUnit, this);
    m_controls.keepAspect->Bind(wxEVT_CHECKBOX, &SizeBoxes::onKeepAspect, this);
}

// The dialog deletes this before its controls.
SizeBoxes::~SizeBoxes() {
    m_controls.preset->Unbind(wxEVT_CHOICE, &SizeBoxes::onPreset, this);
    m_controls.width->Unbind(wxEVT_TEXT, &SizeBoxes::onWidthText, this);
    m_controls.height->Unbind(wxEVT_TEXT, &SizeBoxes::onHeightText, this);
    m_controls.widthUnit->Unbind(wxEVT_CHOICE, &SizeBoxes::onWidthUnit, this);
    m_controls.heightUnit->Unbind(wxEVT_CHOICE, &SizeBoxes::onHeightUnit, this);
    m_controls.keepAspect->Unbind(wxEVT_CHECKBOX, &SizeBoxes::onKeepAspect, this);
}

void SizeBoxes::onWidthUnit(wxCommandEvent&) {
    onUnit(m_controls.widthUnit, m_controls.heightUnit);
}

void SizeBoxes::onHeightUnit(wxCommandEvent&) {
    onUnit(m_controls.heightUnit, m_controls.widthUnit);
}

void SizeBoxes::start(bool keepAspect) {
    for (const char* name : kSizePresetNames) {
        m_controls.preset->Append(name);
    }
    for (const char* name : kSizeUnitNames) {
        m_controls.widthUnit->Append(name);
        m_controls.heightUnit->Append(name);
    }
    m_fields.width = m_source.width;
    m_fields.height = m_source.height;
    m_fields.keepAspect = keepAspect;
    showFields();
    m_initialised = true;
}

SizeArithmetic SizeBoxes::arithmetic() const {
    return SizeArithmetic(m_source, m_scale ? m_scale() : 1.0, m_canvas);
}

// The dialog's own writes raise no text events: only typing derives the other box.
void SizeBoxes::showFields() {
    m_controls.preset->SetSelection(m_fields.preset);
    m_controls.widthUnit->SetSelection(static_cast<int>(m_fields.unit));
    m_controls.heightUnit->SetSelection(static_cast<int>(m_fields.unit));
    m_controls.width->ChangeValue(fieldText(m_fields.width));
    m_controls.height->ChangeValue(fieldText(m_fields.height));
    m_controls.keepAspect->SetValue(m_fields.keepAspect);
    m_changed();
}

void SizeBoxes::setPresetToCustom() {
    m_fields.preset = 0;
    if (m_controls.preset->GetSelection() != 0) {
        m_controls.preset->SetSelection(0);
    }
}

wxTextCtrl* SizeBoxes::storeStrictly() {
    for (wxTextCtrl* box : {m_controls.width, m_controls.height}) {
        const auto value = readFieldText(box->GetValue().utf8_string());
        if (!value) {
            return box;
        }
        (box == m_controls.width ? m_fields.width : m_fields.height) = *value;
    }
    m_fields.keepAspect = m_controls.keepAspect->GetValue();
    return nullptr;
}

void SizeBoxes::onPreset(wxCommandEvent&) {
    if (SizeArithmetic::applyPreset(m_fields, m_controls.preset->GetSelection())) {
        showFields();
    }
}

void SizeBoxes::onWidthText(wxCommandEvent&) {
    if (!m_initialised) {
        return;
    }
    m_fields.width = leadingNumber(m_controls.width->GetValue().utf8_string());
    if (const auto height = arithmetic().heightTextAfterWidthTyped(m_fields)) {
        m_controls.height->ChangeValue(*height);
        m_fields.height = leadingNumber(*height);
    }
    setPresetToCustom();
    m_changed();
}

void SizeBoxes::onHeightText(wxCommandEvent&) {
    if (!m_initialised) {
        return;
    }
    m_fields.height = leadingNumber(m_controls.height->GetValue().utf8_string());
    if (const auto width = arithmetic().widthTextAfterHeightTyped(m_fields)) {
        m_controls.width->ChangeValue(*width);
        m_fields.width = leadingNumber(*width);
    }
    setPresetToCustom();
    m_changed();
}

void SizeBoxes::onUnit(wxChoice* chosen, wxChoice* follower) {
    const int index = chosen->GetSelection();
    if (index < 0 || index >= static_cast<int>(kSizeUnitNames.size())) {
        return;
    }
    follower->SetSelection(index);
    arithmetic().changeUnit(m_fields, static_cast<SizeUnit>(index));
    showFields();
}

void SizeBoxes::onKeepAspect(wxCommandEvent&) {
    m_fields.keepAspect = m_controls.keepAspect->GetValue();
    if (const auto height = arithmetic().heightTextAfterKeepAspect(m_fields)) {
        m_controls.height->ChangeValue(*height);
        m_fields.height = leadingNumber(*height);
    }
    setPresetToCustom();
    m_changed();
}

SizeRows addSizeControls(wxDialog& dialog, wxSizer* column, SizeBoxes::Controls& controls) {
    const int gap = dialogUnitsX(dialog, 4);
    column->Add(new wxStaticText(&dialog, wxID_ANY, "&Standard size"), 0, wxBOTTOM, gap / 2);
    controls.preset = new wxChoice(&dialog, wxID_ANY);
    column->Add(controls.preset, 0, wxEXPAND | wxBOTTOM, gap);

    auto* sizeGroup = new wxStaticBoxSizer(wxVERTICAL, &dialog, "Set new size");
    const SizeRows rows{sizeGroup->GetStaticBox(), new wxFlexGridSizer(3, gap, gap)};
    rows.rows->AddGrowableCol(0);
    addUnitRow(rows, "&Width", controls.width, controls.widthUnit);
    addUnitRow(rows, "&Height", controls.height, controls.heightUnit);
    sizeGroup->Add(rows.rows, 0, wxEXPAND | wxALL, gap);
    column->Add(sizeGroup, 0, wxEXPAND | wxBOTTOM, gap);
    return rows;
}

void addUnitRow(const SizeRows& rows, const char* label, wxTextCtrl*& edit, wxChoice*& units) {
    wxWindow* box = rows.box;
    const wxSize editSize = box->ConvertDialogToPixels(wxSize(47, 14));
    const wxSize unitSize = box->ConvertDialogToPixels(wxSize(54, 14));
    rows.rows->Add(new wxStaticText(box, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
    edit = new wxTextCtrl(box, wxID_ANY, "", wxDefaultPosition, editSize);
    rows.rows->Add(edit, 0, wxALIGN_CENTER_VERTICAL);
    units = new wxChoice(box, wxID_ANY, wxDefaultPosition, unitSize);
    rows.rows->Add(units, 0, wxALIGN_CENTER_VERTICAL);
}

void addSizeLabels(wxDialog& dialog, wxSizer* column, wxStaticText*& current, wxStaticText*& next) {
    const int gap = dialogUnitsX(dialog, 4);
    auto* sizesGroup = new wxStaticBoxSizer(wxVERTICAL, &dialog, "");
    wxStaticBox* sizesBox = sizesGroup->GetStaticBox();
    auto* sizeRows = new wxFlexGridSizer(2, gap, 2 * gap);
    sizeRows->Add(new wxStaticText(sizesBox, wxID_ANY, "Current size:"));
    current = new wxStaticText(sizesBox, wxID_ANY, "");
    sizeRows->Add(current);
    sizeRows->Add(new wxStaticText(sizesBox, wxID_ANY, "New size:"));
    next = new wxStaticText(sizesBox, wxID_ANY, "");
    sizeRows->Add(next);
    sizesGroup->Add(sizeRows, 0, wxEXPAND | wxALL, gap);
    column->Add(sizesGroup, 0, wxEXPAND | wxBOTTOM, gap);
}

}  // namespace tarn
