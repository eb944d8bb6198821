#pragma once

#include <wx/dialog.h>

#include <string>

#include "imaging/fip_super_image.h"

namespace tarn {

// "Save Changes": asks what to do with an edited image before it is left.
class CDlgQuerySave : public wxDialog {
public:
    // ShowModal's results.
    static constexpr int kSave = 1000;
    static constexpr int kSaveAs = 1001;  // a path was chosen: see chosenPath()
    static constexpr int kDiscard = 1002;
    static constexpr int kCancel = 2;  // also Escape, closing, or a cancelled save-as

    // The image is not copied; it must outlive the dialog.
    CDlgQuerySave(wxWindow* parent, const std::string& path, const fipSuperImage& image);

    // The path chosen with "Save &As..."; empty until then.
    const std::string& chosenPath() const { return m_chosenPath; }

protected:
    // Runs the save dialog for "Save &As..."; false when it was cancelled.
    virtual bool runSaveAs(std::string& chosen);

private:
    void onButton(wxCommandEvent& event);
    void onClose(wxCloseEvent& event);

    std::string m_path;
    const fipSuperImage& m_image;
    std::string m_chosenPath;
};

}  // namespace tarn
