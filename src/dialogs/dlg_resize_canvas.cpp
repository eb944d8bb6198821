#include "dialogs/dlg_resize_canvas.h"

#include <wx/sizer.h>
#include <wx/statbox.h>

namespace tarn {
namespace {

// The canvas shares its messages' title with Resize.
constexpr const char* kMessageTitle = "Resize";

}  // namespace

CDlgResizeCanvas::CDlgResizeCanvas(const fipSuperImage* image, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "Resize Canvas"),
      m_source(withUsableResolution(sourceOfImage(image))),
      m_message(exclamationMessageBox(this)) {
    const int gap = dialogUnitsX(*this, 4);
    auto* column = new wxBoxSizer(wxVERTICAL);
    addSizeControls(*this, column, m_controls);

    auto* optionGroup = new wxStaticBoxSizer(wxVERTICAL, this, "");
    wxStaticBox* optionBox = optionGroup->GetStaticBox();
    m_controls.keepAspect = new wxCheckBox(optionBox, wxID_ANY, "&Keep aspect ratio");
    optionGroup->Add(m_controls.keepAspect, 0, wxALL, gap);
    auto* optionRows = new wxFlexGridSizer(2, gap, gap);
    optionRows->AddGrowableCol(1);
    optionRows->Add(new wxStaticText(optionBox, wxID_ANY, "&Position:"), 0,
                    wxALIGN_CENTER_VERTICAL);
    m_positionList = new wxChoice(optionBox, wxID_ANY);
    optionRows->Add(m_positionList, 1, wxEXPAND);
    optionRows->Add(new wxStaticText(optionBox, wxID_ANY, "&Background color:"), 0,
                    wxALIGN_CENTER_VERTICAL);
    m_colourButton = new CColorButton(optionBox, wxID_ANY, kStartColour, wxDefaultPosition,
                                      ConvertDialogToPixels(wxSize(50, 14)));
    optionRows->Add(m_colourButton, 0, wxALIGN_CENTER_VERTICAL);
    optionGroup->Add(optionRows, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, gap);
    column->Add(optionGroup, 0, wxEXPAND | wxBOTTOM, gap);

    addSizeLabels(*this, column, m_currentSize, m_newSize);

    column->AddStretchSpacer();
    column->Add(okCancelButtons(*this), 0, wxEXPAND);

    for (const char* name : kCanvasPositionNames) {
        m_positionList->Append(name);
    }
    m_positionList->SetSelection(m_position);
    m_currentSize->SetLabel(sizeText({m_source.width, m_source.height}));
    m_sizes = std::make_unique<SizeBoxes>(m_controls, m_source, true, nullptr,
                                          [this] { updateLabels(); });
    m_sizes->start(false);
    m_positionList->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
        m_position = std::max(0, m_positionList->GetSelection());
    });
    Bind(wxEVT_BUTTON, &CDlgResizeCanvas::onOk, this, wxID_OK);

    layOutDialog(*this, column, wxSize(170, 217));
    CentreOnParent();
}

CDlgResizeCanvas::~CDlgResizeCanvas() = default;

void CDlgResizeCanvas::updateLabels() {
    if (m_newSize != nullptr && m_sizes) {
        m_newSize->SetLabel(sizeText(m_sizes->pixelSize()));
    }
}

void CDlgResizeCanvas::refuse(wxWindow* box, const wxString& message) {
    m_message(message, kMessageTitle);
    focusAndSelect(box);
}

void CDlgResizeCanvas::onOk(wxCommandEvent&) {
    if (wxTextCtrl* bad = m_sizes->storeStrictly()) {
        refuse(bad, kNotANumberMessage);
        return;
    }
    PixelSize size;
    const SizeCheck check = checkCanvas(m_source, m_sizes->fields(), size);
    if (!check.ok()) {
        refuse(check.box == SizeBox::Width ? m_controls.width : m_controls.height, check.message);
        return;
    }
    m_result = size;
    m_position = std::max(0, m_positionList->GetSelection());
    m_colour = m_colourButton->colour();
    // Also read when the dialog ran without a modal loop.
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

}  // namespace tarn
