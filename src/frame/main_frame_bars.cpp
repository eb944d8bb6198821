// The band area of the main frame: the browser tool bar, the address band and the image tool
// bar, their pictures and their visibility.
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "common/toolkit_calls.h"
#include "frame/main_frame.h"

namespace tarn {

void CMainFrame::loadToolBarPictures() {
    // "tool bar.png": the normal images on the left half, the disabled ones on the right.
    const wxBitmap strip = m_pictures.bitmap("tool bar.png");
    if (!strip.IsOk() || strip.GetHeight() < kToolBarImageSize) {
        return;  // the tool bars then have no pictures; nothing is reported
    }
    const int half = strip.GetWidth() / 2;
    const int count = half / kToolBarImageSize;
    m_normalImages = std::make_unique<wxImageList>(kToolBarImageSize, kToolBarImageSize, true);
    m_disabledImages = std::make_unique<wxImageList>(kToolBarImageSize, kToolBarImageSize, true);
    for (int i = 0; i < count; ++i) {
        const int size = kToolBarImageSize;
        m_normalImages->Add(strip.GetSubBitmap(wxRect(i * size, 0, size, size)));
        m_disabledImages->Add(strip.GetSubBitmap(wxRect(half + i * size, 0, size, size)));
    }
}

wxToolBar* CMainFrame::createToolBar(std::span<const ToolBarSlot> slots) {
    auto* bar = new wxToolBar(m_bars, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                              wxTB_FLAT | wxTB_HORIZONTAL | wxTB_NODIVIDER);
    bar->SetToolBitmapSize(wxSize(kToolBarImageSize, kToolBarImageSize));
    for (const ToolBarSlot& slot : slots) {
        if (slot.command == 0) {
            bar->AddSeparator();
            continue;
        }
        const bool havePicture = m_normalImages && slot.image < m_normalImages->GetImageCount();
        const wxBitmap normal = havePicture ? m_normalImages->GetBitmap(slot.image)
                                            : wxBitmap(kToolBarImageSize, kToolBarImageSize);
        const wxBitmap disabled = havePicture ? m_disabledImages->GetBitmap(slot.image) : normal;
        // A button of a command with a check mark shows it pressed (a drop-down cannot).
        const Command* row = findCommand(performedCommand(slot.command));
        const wxItemKind kind = slot.drop != DropKind::None        ? wxITEM_DROPDOWN
                                : row != nullptr && row->checkable ? wxITEM_CHECK
                                                                   : wxITEM_NORMAL;
        // The bar shows no labels; the overflow menu lists the hidden buttons by them.
        const wxString label = row != nullptr
                                   ? wxStripMenuCodes(wxString::FromUTF8(std::string(row->text)))
                                   : wxString();
        bar->AddTool(toolId(slot.command), label, normal, disabled, kind);
    }
    bar->Realize();
    // A bar narrower than its buttons keeps the first ones and offers the rest behind its
    // overflow arrow, so it never holds the frame wider.
    bar->SetMinSize(wxSize(kToolBarImageSize * 2, -1));
#ifdef __WXGTK__
    using SetShowArrow = void (*)(void*, int);
    static const auto setShowArrow = toolkitFunction<SetShowArrow>("gtk_toolbar_set_show_arrow");
    if (setShowArrow != nullptr) {
        setShowArrow(bar->GTKGetToolbar(), 1);
    }
#endif
    return bar;
}

void CMainFrame::createBars() {
    loadToolBarPictures();
    m_bars = new wxPanel(this, wxID_ANY);
    auto* column = new wxBoxSizer(wxVERTICAL);
    m_browserBar = createToolBar(tarn::browserToolBar());
    column->Add(m_browserBar, 0, wxEXPAND);

    m_addressBand = new wxPanel(m_bars, wxID_ANY);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(m_addressBand, wxID_ANY, "Address"), 0,
             wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 6);
    m_addressBox = new wxComboBox(m_addressBand, kAddressBoxId, wxString(), wxDefaultPosition,
                                  wxSize(200, -1), 0, nullptr, wxCB_DROPDOWN);
    row->Add(m_addressBox, 1, wxEXPAND | wxTOP | wxBOTTOM | wxRIGHT, 2);
    m_addressBand->SetSizer(row);
    column->Add(m_addressBand, 0, wxEXPAND);

    m_imageBar = createToolBar(tarn::imageToolBar());
    column->Add(m_imageBar, 0, wxEXPAND);
    m_bars->SetSizer(column);
}

void CMainFrame::updateBands() {
    const bool browser = m_mode != kImageMode;
    m_browserBar->Show(browser && m_showToolBar);
    m_addressBand->Show(browser && m_showAddressBar);
    m_imageBar->Show(!browser && m_showToolBar);
    const bool anyBand = !m_fullScreen && (m_browserBar->IsShown() || m_addressBand->IsShown() ||
                                           m_imageBar->IsShown());
    m_bars->Show(anyBand);
    if (GetStatusBar() != nullptr) {
        GetStatusBar()->Show(m_showStatusBar && !m_fullScreen);
    }
    SendSizeEvent();
    layoutClient();
}

void CMainFrame::setToolBarShown(bool show) {
    m_showToolBar = show;
    updateBands();
}

void CMainFrame::setAddressBarShown(bool show) {
    m_showAddressBar = show;
    updateBands();
}

void CMainFrame::setStatusBarShown(bool show) {
    m_showStatusBar = show;
    updateBands();
}

}  // namespace tarn
