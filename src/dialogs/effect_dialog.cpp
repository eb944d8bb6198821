#include "dialogs/effect_dialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/utils.h>
#include <wx/valtext.h>

#include <algorithm>
#include <string>

namespace tarn {
namespace {

std::string integerText(int value) {
    return std::to_string(value);
}

}  // namespace

CEffectDialog::CEffectDialog(const fipSuperImage* source, wxWindow* parent, const char* title,
                             wxSize dialogUnits)
    : wxDialog(parent, wxID_ANY, title),
      m_source(source),
      m_title(title),
      m_dialogUnits(dialogUnits),
      m_message(exclamationMessageBox(this)) {}

void CEffectDialog::initialise(std::vector<EffectParam> params, Effect effect, Start start) {
    initialise([&params](const fipImage&) { return std::move(params); }, std::move(effect), start);
}

void CEffectDialog::initialise(const ParamsFor& params, Effect effect, Start start, wxSizer* extras,
                               bool extrasAbove) {
    const int gap = dialogUnitsX(*this, 4);
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "Preview");
    m_preview = new CThumbWnd(group->GetStaticBox(), wxID_ANY, wxDefaultPosition,
                              ConvertDialogToPixels(wxSize(158, 122)));
    m_preview->SetMinSize(m_preview->GetSize());
    group->Add(m_preview, 0, wxALIGN_CENTER | wxALL, dialogUnitsX(*this, 2));
    if (start == Start::ThumbnailFirst) {
        makeThumbnail();
    }

    m_effect = std::move(effect);
    m_params = params(m_thumbnail);
    m_rows.assign(m_params.size(), Row{});
    m_current.assign(m_params.size(), 0.0);
    m_results.assign(m_params.size(), 0.0);

    auto* buttons = new wxBoxSizer(wxVERTICAL);
    const wxSize buttonSize = ConvertDialogToPixels(wxSize(50, 14));
    auto* ok = new wxButton(this, wxID_OK, "Ok", wxDefaultPosition, buttonSize);
    buttons->Add(ok, 0, wxBOTTOM, dialogUnitsY(*this, 4));
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel", wxDefaultPosition, buttonSize));
    ok->SetDefault();

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(group, 0);
    top->AddStretchSpacer();
    top->Add(buttons, 0, wxLEFT, gap);

    auto* rows = new wxFlexGridSizer(4, gap, gap);
    rows->AddGrowableCol(1);
    for (std::size_t i = 0; i < m_params.size(); ++i) {
        addRow(rows, i);
    }

    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(top, 0, wxEXPAND);
    if (extras != nullptr && extrasAbove) {
        column->Add(extras, 0, wxEXPAND | wxTOP, gap);
    }
    column->Add(rows, 0, wxEXPAND | wxTOP, gap);
    if (extras != nullptr && !extrasAbove) {
        column->Add(extras, 0, wxEXPAND | wxTOP, gap);
    }
    Bind(wxEVT_BUTTON, &CEffectDialog::onOk, this, wxID_OK);
    layOutDialog(*this, column, m_dialogUnits);

    if (start != Start::ThumbnailFirst) {
        makeThumbnail();
    }
    if (m_thumbnail.isValid()) {
        const wxBusyCursor busy;
        if (start == Start::Unchanged) {
            m_preview->setImage(m_thumbnail);
        } else {
            updatePreview();
        }
    }
    m_initialised = true;
    CentreOnParent();
}

void CEffectDialog::addRow(wxSizer* rows, std::size_t index) {
    const EffectParam& param = m_params[index];
    Row& row = m_rows[index];
    m_current[index] = param.initial;
    rows->Add(new wxStaticText(this, wxID_ANY, param.caption), 0, wxALIGN_CENTER_VERTICAL);
    row.slider =
        new wxSlider(this, wxID_ANY, param.initial, param.minimum, param.maximum, wxDefaultPosition,
                     ConvertDialogToPixels(wxSize(130, 14)), wxSL_HORIZONTAL | wxSL_AUTOTICKS);
    row.slider->SetTickFreq(std::max(param.tick, 1));
    rows->Add(row.slider, 1, wxEXPAND | wxALIGN_CENTER_VERTICAL);
    const wxTextValidator digits(wxFILTER_DIGITS);
    row.box = new wxTextCtrl(
        this, wxID_ANY, "", wxDefaultPosition, ConvertDialogToPixels(wxSize(34, 14)), 0,
        param.digitsOnly ? static_cast<const wxValidator&>(digits) : wxDefaultValidator);
    row.box->ChangeValue(integerText(param.initial));
    rows->Add(row.box, 0, wxALIGN_CENTER_VERTICAL);
    row.spin = new wxSpinButton(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                wxSP_VERTICAL | wxSP_ARROW_KEYS);
    row.spin->SetRange(param.minimum, param.maximum);
    row.spin->SetValue(param.initial);
    rows->Add(row.spin, 0, wxEXPAND);

    wxTextCtrl* box = row.box;
    row.slider->Bind(wxEVT_SLIDER, [box](wxCommandEvent& event) {
        box->SetValue(integerText(event.GetInt()));
        box->Update();
    });
    // The spin button writes its position into its buddy, as its arrows do.
    row.spin->Bind(wxEVT_SPIN,
                   [box](wxSpinEvent& event) { box->SetValue(integerText(event.GetPosition())); });
    box->Bind(wxEVT_TEXT, [this, index](wxCommandEvent&) { onText(index); });
}

void CEffectDialog::makeThumbnail() {
    if (m_source == nullptr || !m_source->isValid()) {
        return;
    }
    const wxBusyCursor busy;
    const wxSize pane = m_preview->GetClientSize();
    if (pane.x <= 0 || pane.y <= 0 ||
        !m_thumbnail.makeThumbnail(*m_source, static_cast<unsigned>(pane.x),
                                   static_cast<unsigned>(pane.y), TRUE)) {
        m_thumbnail.clear();
    }
}

void CEffectDialog::refreshPreview() {
    if (m_initialised) {
        updatePreview();
    }
}

void CEffectDialog::onText(std::size_t index) {
    if (!m_initialised) {
        return;
    }
    const EffectParam& param = m_params[index];
    const Row& row = m_rows[index];
    m_current[index] = previewValue(readParamText(row.box->GetValue().utf8_string(), param), param);
    updatePreview();
    const int position = sliderPosition(m_current[index]);
    if (row.slider->GetValue() != position) {
        row.slider->SetValue(position);
    }
    row.spin->SetValue(std::clamp(position, param.minimum, param.maximum));
}

void CEffectDialog::updatePreview() {
    fipSuperImage& shown = m_preview->image();
    shown = m_thumbnail;
    if (shown.isValid()) {
        m_effect(shown, m_current);
    }
    m_preview->Refresh(false);
    m_preview->Update();
}

void CEffectDialog::onOk(wxCommandEvent&) {
    std::vector<double> results(m_params.size());
    for (std::size_t i = 0; i < m_params.size(); ++i) {
        const EffectParam& param = m_params[i];
        wxTextCtrl* box = m_rows[i].box;
        const double typed = readParamText(box->GetValue().utf8_string(), param);
        if (param.message != nullptr && !inRange(typed, param)) {
            m_message(param.message, m_title);
            box->ShowPosition(box->GetLastPosition());
            focusAndSelect(box);
            return;
        }
        results[i] = param.real ? typed
                                : std::clamp(typed, static_cast<double>(param.minimum),
                                             static_cast<double>(param.maximum));
    }
    m_results = std::move(results);
    accepted();
    // Also read when the dialog ran without a modal loop.
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

}  // namespace tarn
