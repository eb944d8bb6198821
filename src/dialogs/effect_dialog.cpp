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
    const wxSize paneSize = m_twoPanes ? wxSize(127, 97) : wxSize(158, 122);
    const auto addPane = [&](const char* title, CThumbWnd*& pane) {
        auto* group = new wxStaticBoxSizer(wxVERTICAL, this, title);
        pane = new CThumbWnd(group->GetStaticBox(), wxID_ANY, wxDefaultPosition,
                             ConvertDialogToPixels(paneSize));
        pane->SetMinSize(pane->GetSize());
        group->Add(pane, 0, wxALIGN_CENTER | wxALL, dialogUnitsX(*this, 2));
        return group;
    };
    // The thumbnail is made at the size of the first pane.
    wxStaticBoxSizer* original = m_twoPanes ? addPane("Original image", m_original) : nullptr;
    wxStaticBoxSizer* preview = addPane(m_twoPanes ? "New image" : "Preview", m_preview);
    if (start == Start::ThumbnailFirst) {
        makeThumbnail();
    }

    m_effect = std::move(effect);
    m_params = params(m_thumbnail);
    m_rows.assign(m_params.size(), Row{});
    m_current.assign(m_params.size(), 0.0);
    m_results.assign(m_params.size(), 0.0);

    wxSizer* column = m_twoPanes ? twoPaneLayout(original, preview, extras)
                                 : onePaneLayout(preview, extras, extrasAbove);
    Bind(wxEVT_BUTTON, &CEffectDialog::onOk, this, wxID_OK);
    layOutDialog(*this, column, m_dialogUnits);

    if (start != Start::ThumbnailFirst) {
        makeThumbnail();
    }
    if (m_thumbnail.isValid()) {
        const wxBusyCursor busy;
        if (m_original != nullptr) {
            m_original->setImage(m_thumbnail);
        }
        if (start == Start::Unchanged) {
            m_preview->setImage(m_thumbnail);
        } else {
            updatePreview();
        }
    }
    m_initialised = true;
    CentreOnParent();
}

namespace {

wxSizer* okAndCancel(wxDialog& dialog, int orientation) {
    auto* buttons = new wxBoxSizer(orientation);
    const wxSize size = dialog.ConvertDialogToPixels(wxSize(50, 14));
    auto* ok = new wxButton(&dialog, wxID_OK, "Ok", wxDefaultPosition, size);
    const bool column = orientation == wxVERTICAL;
    const int gap = column ? dialogUnitsY(dialog, 4) : dialogUnitsX(dialog, 4);
    buttons->Add(ok, 0, column ? wxBOTTOM : wxRIGHT, gap);
    buttons->Add(new wxButton(&dialog, wxID_CANCEL, "Cancel", wxDefaultPosition, size));
    ok->SetDefault();
    return buttons;
}

}  // namespace

wxSizer* CEffectDialog::onePaneLayout(wxStaticBoxSizer* preview, wxSizer* extras,
                                      bool extrasAbove) {
    const int gap = dialogUnitsX(*this, 4);
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(preview, 0);
    top->AddStretchSpacer();
    top->Add(okAndCancel(*this, wxVERTICAL), 0, wxLEFT, gap);

    auto* rows = new wxFlexGridSizer(4, gap, gap);
    rows->AddGrowableCol(1);
    for (std::size_t i = 0; i < m_params.size(); ++i) {
        addRow(this, rows, i, true, 130);
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
    return column;
}

wxSizer* CEffectDialog::twoPaneLayout(wxStaticBoxSizer* original, wxStaticBoxSizer* preview,
                                      wxSizer* extras) {
    const int gap = dialogUnitsX(*this, 4);
    auto* panes = new wxBoxSizer(wxHORIZONTAL);
    panes->Add(original, 1, wxEXPAND | wxRIGHT, gap);
    panes->Add(preview, 1, wxEXPAND);

    auto* groups = new wxFlexGridSizer(2, gap, gap);
    groups->AddGrowableCol(0, 1);
    groups->AddGrowableCol(1, 1);
    wxFlexGridSizer* shared = nullptr;  // the rows of the group box that the last one opened
    wxWindow* sharedBox = nullptr;
    for (std::size_t i = 0; i < m_params.size(); ++i) {
        const char* title = m_params[i].group;
        if (title != nullptr && shared != nullptr && sharedBox->GetLabel() == title) {
            addRow(this, shared, i, true, 95);
            continue;
        }
        auto* group =
            new wxStaticBoxSizer(wxVERTICAL, this, title != nullptr ? title : m_params[i].caption);
        auto* row = new wxFlexGridSizer(title != nullptr ? 4 : 3, gap, gap);
        row->AddGrowableCol(title != nullptr ? 1 : 0);
        addRow(this, row, i, title != nullptr, 95);
        group->Add(row, 0, wxEXPAND | wxALL, dialogUnitsX(*this, 2));
        groups->Add(group, 0, wxEXPAND);
        shared = title != nullptr ? row : nullptr;
        sharedBox = group->GetStaticBox();
    }
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(panes, 0, wxEXPAND);
    column->Add(groups, 0, wxEXPAND | wxTOP, gap);
    if (extras != nullptr) {
        column->Add(extras, 0, wxEXPAND | wxTOP, gap);
    }
    column->AddStretchSpacer();
    column->Add(okAndCancel(*this, wxHORIZONTAL), 0, wxALIGN_CENTER | wxTOP, gap);
    return column;
}

void CEffectDialog::addRow(wxWindow* parent, wxSizer* rows, std::size_t index, bool withCaption,
                           int sliderUnits) {
    const EffectParam& param = m_params[index];
    Row& row = m_rows[index];
    m_current[index] = static_cast<double>(param.initial) / param.scale;
    if (withCaption) {
        rows->Add(new wxStaticText(parent, wxID_ANY, param.caption), 0, wxALIGN_CENTER_VERTICAL);
    }
    row.slider = new wxSlider(parent, wxID_ANY, param.initial, param.minimum, param.maximum,
                              wxDefaultPosition, ConvertDialogToPixels(wxSize(sliderUnits, 14)),
                              wxSL_HORIZONTAL | wxSL_AUTOTICKS);
    row.slider->SetTickFreq(std::max(param.tick, 1));
    rows->Add(row.slider, 1, wxEXPAND | wxALIGN_CENTER_VERTICAL);
    const wxTextValidator digits(wxFILTER_DIGITS);
    row.box = new wxTextCtrl(
        this, wxID_ANY, "", wxDefaultPosition, ConvertDialogToPixels(wxSize(34, 14)), 0,
        param.digitsOnly ? static_cast<const wxValidator&>(digits) : wxDefaultValidator);
    row.box->ChangeValue(positionText(param.initial, param));
    rows->Add(row.box, 0, wxALIGN_CENTER_VERTICAL);
    row.spin = new wxSpinButton(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                wxSP_VERTICAL | wxSP_ARROW_KEYS);
    row.spin->SetRange(param.minimum, param.maximum);
    row.spin->SetValue(param.initial);
    rows->Add(row.spin, 0, wxEXPAND);

    wxTextCtrl* box = row.box;
    row.slider->Bind(wxEVT_SLIDER, [box, param](wxCommandEvent& event) {
        box->SetValue(positionText(event.GetInt(), param));
        box->Update();
    });
    // The spin button writes its position into its buddy, as its arrows do.
    row.spin->Bind(wxEVT_SPIN, [box, param](wxSpinEvent& event) {
        const int position = std::clamp(event.GetPosition(), param.minimum, param.maximum);
        box->SetValue(positionText(position, param));
    });
    box->Bind(wxEVT_TEXT, [this, index](wxCommandEvent&) { onText(index); });
}

void CEffectDialog::makeThumbnail() {
    if (m_source == nullptr || !m_source->isValid()) {
        return;
    }
    const wxBusyCursor busy;
    const wxSize pane = (m_original != nullptr ? m_original : m_preview)->GetClientSize();
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
    const int position = sliderPosition(m_current[index], param);
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
        results[i] = previewValue(typed, param);
    }
    m_results = std::move(results);
    accepted();
    // Also read when the dialog ran without a modal loop.
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

}  // namespace tarn
