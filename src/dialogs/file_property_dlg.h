#pragma once

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/stattext.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "app/background_task.h"
#include "dialogs/file_properties.h"

namespace tarn {

// "Properties" of files and folders: name, location, size and dates on a "General" page, with
// Prev and Next stepping through the paths it was given. Further pages (such as the picture's
// EXIF data) are added to book() by a derived dialog, which refreshes them in showPath. A
// folder's size is counted on a worker and appears when ready.
class CFilePropertyDlg : public wxDialog {
public:
    // Starts at paths[index] (clamped); Prev and Next are hidden for a single path.
    CFilePropertyDlg(wxWindow* parent, std::vector<std::string> paths, int index);
    ~CFilePropertyDlg() override;

    int index() const { return m_index; }
    const FileProperties& properties() const { return m_properties; }
    // Waits until every folder count started so far has ended; what they hand back is still
    // to be handled by the event loop.
    void waitForCounts() { m_tasks.waitAll(); }

    // Window names of the value texts, for finding them (and for tests).
    static constexpr const char* kNameValue = "name";
    static constexpr const char* kLocationValue = "location";
    static constexpr const char* kSizeValue = "size";
    static constexpr const char* kCreatedValue = "created";
    static constexpr const char* kModifiedValue = "modified";
    static constexpr const char* kAccessedValue = "accessed";
    static constexpr int kPrevId = 1000;
    static constexpr int kNextId = 1001;

protected:
    wxNotebook* book() const { return m_book; }
    // Shows paths[index]; overrides call this first, then fill their own pages. The constructor
    // shows the first path through this class's version, so a derived dialog calls
    // showPath(index()) once its pages exist.
    virtual void showPath(int index);

private:
    wxStaticText* addRow(wxPanel* page, wxSizer* grid, const char* label, const char* name);
    void countFolderSize(const std::string& path);
    void onStep(wxCommandEvent& event);

    std::vector<std::string> m_paths;
    int m_index = 0;
    FileProperties m_properties;
    wxNotebook* m_book = nullptr;
    wxStaticText* m_name = nullptr;
    wxStaticText* m_location = nullptr;
    wxStaticText* m_size = nullptr;
    wxStaticText* m_created = nullptr;
    wxStaticText* m_modified = nullptr;
    wxStaticText* m_accessed = nullptr;
    wxButton* m_prev = nullptr;
    wxButton* m_next = nullptr;
    // Tells the walk of the folder shown before to stop; a fresh flag per folder.
    std::shared_ptr<std::atomic<bool>> m_stopCount;
    // Last: its destructor joins the workers while everything above still exists.
    BackgroundTasks m_tasks;
};

}  // namespace tarn
