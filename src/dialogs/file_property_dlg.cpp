#include "dialogs/file_property_dlg.h"

#include <wx/sizer.h>
#include <wx/statline.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "common/file_sizes.h"
#include "common/path_rules.h"
#include "imaging/exif_text.h"
#include "imaging/fip_super_image.h"

namespace tarn {
namespace {

// Pictures by their extension: the imaging library's list, read once.
bool isImageByExtension(const std::string& path) {
    static const std::vector<std::string> extensions = fipSuperImage::getReadableExtensions();
    std::string extension = fileExtension(path);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return !extension.empty() &&
           std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

}  // namespace

CFilePropertyDlg::CFilePropertyDlg(wxWindow* parent, std::vector<std::string> paths, int index)
    : wxDialog(parent, wxID_ANY, "Properties", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_paths(std::move(paths)),
      m_tasks(*this) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    const auto grid = [] {
        auto* sizer = new wxFlexGridSizer(2, wxSize(8, 4));
        sizer->AddGrowableCol(1);
        return sizer;
    };
    // Each label comes just before its box, so a screen reader reads them as a pair.
    auto* file = grid();
    m_name = addRow(file, "Filename:", kNameValue);
    m_location = addRow(file, "Location:", kLocationValue);
    m_size = addRow(file, "Size:", kSizeValue);
    top->Add(file, 0, wxEXPAND | wxALL, 8);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    auto* dates = grid();
    m_created = addRow(dates, "Created:", kCreatedValue);
    m_modified = addRow(dates, "Modified:", kModifiedValue);
    m_accessed = addRow(dates, "Accessed:", kAccessedValue);
    top->Add(dates, 0, wxEXPAND | wxALL, 8);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    top->Add(new wxStaticText(this, wxID_ANY, "EXIF:"), 0, wxLEFT | wxRIGHT | wxTOP, 8);

    m_list = new wxDataViewListCtrl(this, wxID_ANY, wxDefaultPosition,
                                    ConvertDialogToPixels(wxSize(227, 145)),
                                    wxDV_SINGLE | wxDV_ROW_LINES);
    m_list->SetName(kExifList);
    m_list->AppendTextColumn("Property", wxDATAVIEW_CELL_INERT, FromDIP(100));
    m_list->AppendTextColumn("Value", wxDATAVIEW_CELL_INERT, FromDIP(220));
    top->Add(m_list, 1, wxEXPAND | wxALL, 8);

    auto* stepping = new wxBoxSizer(wxHORIZONTAL);
    m_prev = new wxButton(this, kPrevId, "Prev");
    m_next = new wxButton(this, kNextId, "Next");
    m_counter = new wxStaticText(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                 wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE, kCounter);
    stepping->Add(m_prev, 0);
    stepping->Add(m_counter, 1, wxALIGN_CENTRE_VERTICAL | wxLEFT | wxRIGHT, 8);
    stepping->Add(m_next, 0);
    top->Add(stepping, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    auto* ok = new wxButton(this, wxID_OK, "OK");
    top->Add(ok, 0, wxALIGN_CENTRE_HORIZONTAL | wxALL, 8);

    const bool several = m_paths.size() > 1;
    m_prev->Show(several);
    m_next->Show(several);
    m_counter->Show(several);
    m_prev->Disable();
    ok->SetDefault();
    SetEscapeId(wxID_OK);
    SetSizer(top);

    Bind(wxEVT_BUTTON, &CFilePropertyDlg::onStep, this, kPrevId);
    Bind(wxEVT_BUTTON, &CFilePropertyDlg::onStep, this, kNextId);
    if (m_paths.empty()) {
        fillExifList();
    } else {
        showPath(std::clamp(index, 0, static_cast<int>(m_paths.size()) - 1));
    }
    SetMinClientSize(wxSize(ConvertDialogToPixels(wxSize(241, 0)).x, -1));
    Fit();
    CentreOnParent();
}

CFilePropertyDlg::~CFilePropertyDlg() {
    // The walk of a big tree ends soon instead of holding up the close.
    if (m_stopCount) {
        m_stopCount->store(true);
    }
}

wxTextCtrl* CFilePropertyDlg::addRow(wxSizer* grid, const char* label, const char* name) {
    grid->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTRE_VERTICAL);
    auto* value = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                 wxSize(ConvertDialogToPixels(wxSize(183, 0)).x, -1),
                                 wxTE_READONLY | wxBORDER_NONE, wxDefaultValidator, name);
    grid->Add(value, 1, wxEXPAND);
    return value;
}

void CFilePropertyDlg::showPath(int index) {
    m_index = index;
    const std::string& path = m_paths[static_cast<std::size_t>(index)];
    m_properties = readFileProperties(path);
    m_name->ChangeValue(wxString::FromUTF8(m_properties.name));
    m_location->ChangeValue(wxString::FromUTF8(m_properties.location));
    m_location->SetToolTip(wxString::FromUTF8(m_properties.location));
    if (m_stopCount) {
        m_stopCount->store(true);
        m_stopCount.reset();
    }
    if (!m_properties.exists) {
        m_size->ChangeValue(wxEmptyString);
    } else if (m_properties.isFolder) {
        m_size->ChangeValue("Calculating...");
        countFolderSize(m_properties.path);
    } else {
        m_size->ChangeValue(sizeWithBytesText(m_properties.size));
    }
    m_created->ChangeValue(dateOrEmptyText(m_properties.created));
    m_modified->ChangeValue(dateOrEmptyText(m_properties.modified));
    m_accessed->ChangeValue(dateOrEmptyText(m_properties.accessed));
    m_counter->SetLabel(
        wxString::Format("%d of %d files", index + 1, static_cast<int>(m_paths.size())));

    m_exif.clear();
    if (!m_properties.isFolder && isImageByExtension(path)) {
        m_exif.load(path);
    }
    fillExifList();
    m_prev->Enable(index > 0);
    m_next->Enable(index + 1 < static_cast<int>(m_paths.size()));
    Layout();
}

void CFilePropertyDlg::fillExifList() {
    m_list->DeleteAllItems();
    for (const ExifRow& row : exifTableRows(m_exif)) {
        wxVector<wxVariant> values;
        values.push_back(wxVariant(wxString(row.label)));
        values.push_back(wxVariant(wxString::FromUTF8(row.value)));
        m_list->AppendItem(values);
    }
}

void CFilePropertyDlg::countFolderSize(const std::string& path) {
    auto stop = std::make_shared<std::atomic<bool>>(false);
    m_stopCount = stop;
    m_tasks.run<std::uint64_t>([path, stop] { return folderSize(path, stop.get()); },
                               [this, stop](std::uint64_t bytes) {
                                   // A count that was stopped belongs to a folder left since.
                                   if (!stop->load()) {
                                       m_size->ChangeValue(sizeWithBytesText(bytes));
                                   }
                               });
}

void CFilePropertyDlg::onStep(wxCommandEvent& event) {
    const int step = event.GetId() == kPrevId ? -1 : 1;
    const int target = m_index + step;
    if (target >= 0 && target < static_cast<int>(m_paths.size())) {
        showPath(target);
        Refresh();
    }
}

}  // namespace tarn
