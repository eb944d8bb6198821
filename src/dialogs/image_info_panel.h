#pragma once

#include <wx/panel.h>

#include <string>

#include "app/settings.h"
#include "dialogs/preview_picture.h"
#include "imaging/fip_super_image.h"

class wxCheckBox;
class wxStaticBox;
class wxStaticText;

namespace tarn {

// The open dialog's added panel: the "Image Information" group, the preview box centred in its
// area, and "Show preview", whose state lives in the settings.
class CImageInfoPanel : public wxPanel {
public:
    CImageInfoPanel(wxWindow* parent, SettingsStore& settings);

    // The selection became path (empty for none): loads its preview when previews are on and
    // fills the information, or shows "Unavailable".
    void showFile(const std::string& path);
    const std::string& currentPath() const { return m_path; }

    // The area the preview is fitted into.
    wxSize previewArea() const { return {m_areaWidth, m_areaHeight}; }

    wxStaticBox* group() const { return m_group; }
    wxStaticText* formatLabel() const { return m_labels[0]; }
    wxStaticText* formatValue() const { return m_values[0]; }
    wxStaticText* sizeLabel() const { return m_labels[1]; }
    wxStaticText* sizeValue() const { return m_values[1]; }
    wxStaticText* widthLabel() const { return m_labels[2]; }
    wxStaticText* widthValue() const { return m_values[2]; }
    wxStaticText* heightLabel() const { return m_labels[3]; }
    wxStaticText* heightValue() const { return m_values[3]; }
    CPreviewPicture* previewBox() const { return m_preview; }
    wxCheckBox* showPreviewBox() const { return m_showPreview; }
    bool hasPreview() const { return m_previewImage.isValid(); }

private:
    void onShowPreviewClicked(wxCommandEvent& event);
    void setPreview(fipSuperImage& image);  // takes the bitmap over
    void showInformation(unsigned width, unsigned height);
    void showUnavailable();

    SettingsStore& m_settings;
    std::string m_path;
    wxStaticBox* m_group;
    wxStaticText* m_labels[4];
    wxStaticText* m_values[4];
    CPreviewPicture* m_preview;
    wxCheckBox* m_showPreview;
    fipSuperImage m_previewImage;
    int m_areaLeft = 0;
    int m_areaTop = 0;
    int m_areaWidth = 0;
    int m_areaHeight = 0;
};

}  // namespace tarn
