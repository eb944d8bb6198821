#include "info/dlg_histogram.h"

#include <algorithm>

namespace tarn {

namespace {

struct BoxRow {
    const char* label;
    HistogramChannel channel;
    bool checked;
};

constexpr BoxRow kBoxes[] = {
    {"R", kHistRed, true},
    {"G", kHistGreen, true},
    {"B", kHistBlue, true},
    {"L", kHistGrey, false},
};

}  // namespace

CDlgHistogram::CDlgHistogram(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "Histogram", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxCLOSE_BOX | wxRESIZE_BORDER | wxFRAME_TOOL_WINDOW |
                   wxFRAME_FLOAT_ON_PARENT) {
    m_histogram = new CWndHistogram(this);
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        m_boxes[i] = new wxCheckBox(this, wxID_ANY, kBoxes[i].label);
        m_boxes[i]->SetValue(kBoxes[i].checked);
        m_histogram->setShown(kBoxes[i].channel, kBoxes[i].checked);
        m_boxes[i]->Bind(wxEVT_CHECKBOX,
                         [this, i](wxCommandEvent&) { onCheck(static_cast<int>(i)); });
    }
    SetClientSize(ConvertDialogToPixels(wxSize(160, 94)));
    SetMinSize(wxSize(kMinWidth, kMinHeight));
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        layout();
    });
    Bind(wxEVT_CLOSE_WINDOW, &CDlgHistogram::onClose, this);
    layout();
}

void CDlgHistogram::layout() {
    const wxSize client = GetClientSize();
    m_histogram->SetSize(0, 0, client.x, std::max(client.y - kBottomStrip, 0));
    // Each box at its natural size, its top 20 pixels above the bottom edge.
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        const wxSize natural = m_boxes[i]->GetBestSize();
        m_boxes[i]->SetSize(kCheckBoxLeft[i], client.y - 20, natural.x, natural.y);
    }
}

void CDlgHistogram::onCheck(int index) {
    m_histogram->setShown(kBoxes[index].channel, m_boxes[index]->GetValue());
}

void CDlgHistogram::onClose(wxCloseEvent& event) {
    if (!event.CanVeto()) {
        event.Skip();
        return;
    }
    event.Veto();
    Hide();
    if (m_onClose) {
        m_onClose();
    }
}

}  // namespace tarn
