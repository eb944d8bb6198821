#pragma once

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <memory>

#include "dialogs/geometry_dialog_support.h"
#include "dialogs/resize_rules.h"
#include "dialogs/size_boxes.h"

namespace tarn {

class fipSuperImage;

// "Resize": the new pixel size, print resolution and resampling filter of the image. The
// results are read after the dialog ended with wxID_OK.
class CDlgResize : public wxDialog {
public:
    CDlgResize(const fipSuperImage* image, wxWindow* parent);
    ~CDlgResize() override;

    int newWidth() const { return m_result.width; }
    int newHeight() const { return m_result.height; }
    // Dots per inch; the ratio of the two is the source's.
    double newDpiX() const { return m_result.dpiX; }
    double newDpiY() const { return m_result.dpiY; }
    // 0 Box, 1 Bilinear, 2 B-Spline, 3 Bicubic, 4 Catmull-Rom, 5 Lanczos.
    int filterIndex() const { return m_filter; }
    const SourceImage& source() const { return m_source; }

    void setMessageFunction(DialogMessage message) { m_message = std::move(message); }

    wxChoice* presetList() const { return m_controls.preset; }
    wxTextCtrl* widthBox() const { return m_controls.width; }
    wxTextCtrl* heightBox() const { return m_controls.height; }
    wxTextCtrl* dpiBox() const { return m_dpiBox; }
    wxChoice* widthUnitList() const { return m_controls.widthUnit; }
    wxChoice* heightUnitList() const { return m_controls.heightUnit; }
    wxChoice* dpiUnitList() const { return m_dpiUnitList; }
    wxCheckBox* keepAspectBox() const { return m_controls.keepAspect; }
    wxChoice* filterList() const { return m_filterList; }
    wxStaticText* currentSizeLabel() const { return m_currentSize; }
    wxStaticText* newSizeLabel() const { return m_newSize; }

private:
    double scale() const;
    void updateLabels();
    void onDpiUnit(wxCommandEvent& event);
    void onOk(wxCommandEvent& event);
    void refuse(wxWindow* box, const wxString& message);

    SourceImage m_source;
    SizeBoxes::Controls m_controls;
    std::unique_ptr<SizeBoxes> m_sizes;
    // Windows are owned by the dialog.
    wxTextCtrl* m_dpiBox = nullptr;
    wxChoice* m_dpiUnitList = nullptr;
    wxChoice* m_filterList = nullptr;
    wxStaticText* m_currentSize = nullptr;
    wxStaticText* m_newSize = nullptr;
    DpiUnit m_dpiUnit = DpiUnit::PixelsPerInch;
    double m_dpiValue = 0;
    int m_filter = kBilinearFilter;
    ResizeResult m_result;
    DialogMessage m_message;
};

}  // namespace tarn
