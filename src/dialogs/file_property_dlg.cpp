#include "dialogs/file_property_dlg.h"

#include <wx/sizer.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "common/file_sizes.h"

namespace tarn {

CFilePropertyDlg::CFilePropertyDlg(wxWindow* parent, std::vector<std::string> paths, int index)
    : wxDialog(parent, wxID_ANY, "Properties", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_paths(std::move(paths)),
      m_tasks(*this) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    m_book = new wxNotebook(this, wxID_ANY);
    auto* general = new wxPanel(m_book);
    auto* grid = new wxFlexGridSizer(2, wxSize(12, 6));
    grid->AddGrowableCol(1);
    // Each label comes just before its value, so a screen reader reads them as a pair.
    m_name = addRow(general, grid, "Name:", kNameValue);
    m_location = addRow(general, grid, "Location:", kLocationValue);
    m_size = addRow(general, grid, "Size:", kSizeValue);
    m_created = addRow(general, grid, "Created:", kCreatedValue);
    m_modified = addRow(general, grid, "Modified:", kModifiedValue);
    m_accessed = addRow(general, grid, "Accessed:", kAccessedValue);
    auto* border = new wxBoxSizer(wxVERTICAL);
    border->Add(grid, 1, wxEXPAND | wxALL, 12);
    general->SetSizer(border);
    m_book->AddPage(general, "General", true);
    top->Add(m_book, 1, wxEXPAND | wxALL, 8);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    m_prev = new wxButton(this, kPrevId, "< &Prev");
    m_next = new wxButton(this, kNextId, "&Next >");
    auto* ok = new wxButton(this, wxID_OK, "OK");
    buttons->Add(m_prev, 0, wxRIGHT, 6);
    buttons->Add(m_next, 0);
    buttons->AddStretchSpacer();
    buttons->Add(ok, 0);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    const bool several = m_paths.size() > 1;
    m_prev->Show(several);
    m_next->Show(several);
    ok->SetDefault();
    SetEscapeId(wxID_OK);
    SetSizer(top);

    Bind(wxEVT_BUTTON, &CFilePropertyDlg::onStep, this, kPrevId);
    Bind(wxEVT_BUTTON, &CFilePropertyDlg::onStep, this, kNextId);
    if (!m_paths.empty()) {
        showPath(std::clamp(index, 0, static_cast<int>(m_paths.size()) - 1));
    }
    // Room for long paths without growing past a sensible width.
    SetMinClientSize(wxSize(ConvertDialogToPixels(wxSize(220, 0)).x, -1));
    Fit();
    CentreOnParent();
}

CFilePropertyDlg::~CFilePropertyDlg() {
    // The walk of a big tree ends soon instead of holding up the close.
    if (m_stopCount) {
        m_stopCount->store(true);
    }
}

wxStaticText* CFilePropertyDlg::addRow(wxPanel* page, wxSizer* grid, const char* label,
                                       const char* name) {
    grid->Add(new wxStaticText(page, wxID_ANY, label), 0, wxALIGN_TOP);
    auto* value =
        new wxStaticText(page, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0, name);
    grid->Add(value, 1, wxEXPAND);
    return value;
}

void CFilePropertyDlg::showPath(int index) {
    m_index = index;
    m_properties = readFileProperties(m_paths[static_cast<std::size_t>(index)]);
    m_name->SetLabelText(wxString::FromUTF8(m_properties.name));
    m_location->SetLabelText(wxString::FromUTF8(m_properties.location));
    m_location->SetToolTip(wxString::FromUTF8(m_properties.location));
    if (m_stopCount) {
        m_stopCount->store(true);
        m_stopCount.reset();
    }
    if (!m_properties.exists) {
        m_size->SetLabelText("Unknown");
    } else if (m_properties.isFolder) {
        m_size->SetLabelText("Calculating...");
        countFolderSize(m_properties.path);
    } else {
        m_size->SetLabelText(sizeWithBytesText(m_properties.size));
    }
    m_created->SetLabelText(dateOrUnknownText(m_properties.created));
    m_modified->SetLabelText(dateOrUnknownText(m_properties.modified));
    m_accessed->SetLabelText(dateOrUnknownText(m_properties.accessed));
    m_prev->Enable(index > 0);
    m_next->Enable(index + 1 < static_cast<int>(m_paths.size()));
    Layout();
}

void CFilePropertyDlg::countFolderSize(const std::string& path) {
    auto stop = std::make_shared<std::atomic<bool>>(false);
    m_stopCount = stop;
    m_tasks.run<std::uint64_t>([path, stop] { return folderSize(path, stop.get()); },
                               [this, stop](std::uint64_t bytes) {
                                   // A count that was stopped belongs to a folder left since.
                                   if (!stop->load()) {
                                       m_size->SetLabelText(sizeWithBytesText(bytes));
                                       Layout();
                                   }
                               });
}

void CFilePropertyDlg::onStep(wxCommandEvent& event) {
    const int step = event.GetId() == kPrevId ? -1 : 1;
    const int target = m_index + step;
    if (target >= 0 && target < static_cast<int>(m_paths.size())) {
        showPath(target);
    }
}

}  // namespace tarn
