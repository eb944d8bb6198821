#pragma once

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <memory>

#include "dialogs/color_button.h"
#include "dialogs/geometry_dialog_support.h"
#include "dialogs/resize_rules.h"
#include "dialogs/size_boxes.h"

namespace tarn {

class fipSuperImage;

// "Resize Canvas": the new canvas size, where the old picture sits on it and the colour of the
// new border. The results are read after the dialog ended with wxID_OK.
class CDlgResizeCanvas : public wxDialog {
public:
    static constexpr ColorRef kStartColour = 0xFFFFFF;  // white

    CDlgResizeCanvas(const fipSuperImage* image, wxWindow* parent);
    ~CDlgResizeCanvas() override;

    int newWidth() const { return m_result.width; }
    int newHeight() const { return m_result.height; }
    // 0 Top-Left ... 4 Center ... 8 Bottom-Right, as setCanvasSize takes it.
    int positionIndex() const { return m_position; }
    // 0x00BBGGRR, or kAutomaticColor (which the command paints black).
    ColorRef colour() const { return m_colour; }

    void setMessageFunction(DialogMessage message) { m_message = std::move(message); }

    wxChoice* presetList() const { return m_controls.preset; }
    wxTextCtrl* widthBox() const { return m_controls.width; }
    wxTextCtrl* heightBox() const { return m_controls.height; }
    wxChoice* widthUnitList() const { return m_controls.widthUnit; }
    wxChoice* heightUnitList() const { return m_controls.heightUnit; }
    wxCheckBox* keepAspectBox() const { return m_controls.keepAspect; }
    wxChoice* positionList() const { return m_positionList; }
    CColorButton* colourButton() const { return m_colourButton; }
    wxStaticText* currentSizeLabel() const { return m_currentSize; }
    wxStaticText* newSizeLabel() const { return m_newSize; }

private:
    void updateLabels();
    void onOk(wxCommandEvent& event);
    void refuse(wxWindow* box, const wxString& message);

    SourceImage m_source;
    SizeBoxes::Controls m_controls;
    std::unique_ptr<SizeBoxes> m_sizes;
    // Windows owned by the dialog.
    wxChoice* m_positionList = nullptr;
    CColorButton* m_colourButton = nullptr;
    wxStaticText* m_currentSize = nullptr;
    wxStaticText* m_newSize = nullptr;
    PixelSize m_result;
    int m_position = kCenterPosition;
    ColorRef m_colour = kStartColour;
    DialogMessage m_message;
};

}  // namespace tarn
