#pragma once

#include <wx/button.h>
#include <wx/dataview.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "app/background_task.h"
#include "dialogs/file_properties.h"
#include "imaging/exif_properties.h"

namespace tarn {

// "Properties" of files and folders: name, location, size and dates, and the picture's EXIF
// list, with Prev and Next stepping through the paths it was given. A folder's size is counted
// on a worker and appears when ready.
class CFilePropertyDlg : public wxDialog {
public:
    // Starts at paths[index] (clamped); Prev, Next and the counter are hidden for a single path.
    CFilePropertyDlg(wxWindow* parent, std::vector<std::string> paths, int index = 0);
    ~CFilePropertyDlg() override;

    int index() const { return m_index; }
    const FileProperties& properties() const { return m_properties; }
    // The EXIF items of the file shown (empty for folders and files that are not pictures).
    const ExifProperties& exif() const { return m_exif; }
    // Waits until every folder count started so far has ended; what they hand back is still
    // to be handled by the event loop.
    void waitForCounts() { m_tasks.waitAll(); }

    // Window names of the value boxes, for finding them (and for tests).
    static constexpr const char* kNameValue = "name";
    static constexpr const char* kLocationValue = "location";
    static constexpr const char* kSizeValue = "size";
    static constexpr const char* kCreatedValue = "created";
    static constexpr const char* kModifiedValue = "modified";
    static constexpr const char* kAccessedValue = "accessed";
    static constexpr const char* kExifList = "exif";
    static constexpr const char* kCounter = "counter";
    static constexpr int kPrevId = 1000;
    static constexpr int kNextId = 1001;

private:
    wxTextCtrl* addRow(wxSizer* grid, const char* label, const char* name);
    void showPath(int index);
    void fillExifList();
    void countFolderSize(const std::string& path);
    void onStep(wxCommandEvent& event);

    std::vector<std::string> m_paths;
    int m_index = 0;
    FileProperties m_properties;
    ExifProperties m_exif;
    wxTextCtrl* m_name = nullptr;
    wxTextCtrl* m_location = nullptr;
    wxTextCtrl* m_size = nullptr;
    wxTextCtrl* m_created = nullptr;
    wxTextCtrl* m_modified = nullptr;
    wxTextCtrl* m_accessed = nullptr;
    wxDataViewListCtrl* m_list = nullptr;
    wxButton* m_prev = nullptr;
    wxButton* m_next = nullptr;
    wxStaticText* m_counter = nullptr;
    // Tells the walk of the folder shown before to stop; a fresh flag per folder.
    std::shared_ptr<std::atomic<bool>> m_stopCount;
    // Last: its destructor joins the workers while everything above still exists.
    BackgroundTasks m_tasks;
};

}  // namespace tarn
