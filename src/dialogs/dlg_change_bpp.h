#pragma once

#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/radiobut.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>

#include <array>

#include "dialogs/color_depth_rules.h"
#include "dialogs/geometry_dialog_support.h"

namespace tarn {

class fipSuperImage;

// "Change Color Depth": bits per pixel, an optional limit on the number of colours and grey
// scale. The command hands the results to adjustBPP.
class CDlgChangeBPP : public wxDialog {
public:
    CDlgChangeBPP(const fipSuperImage* image, wxWindow* parent);

    // 1, 4, 8, 24 or 32.
    unsigned bitsPerPixel() const { return m_result.bitsPerPixel; }
    // 0: no limit.
    unsigned maxColors() const { return m_result.maxColors; }
    bool grayscale() const { return m_result.grayscale; }

    void setMessageFunction(DialogMessage message) { m_message = std::move(message); }

    // 0-4: 1, 4, 8, 24, 32 bits.
    wxRadioButton* depthButton(int index) const { return m_depthButtons.at(index); }
    wxCheckBox* limitBox() const { return m_limit; }
    wxTextCtrl* countBox() const { return m_count; }
    wxSpinButton* countSpin() const { return m_spin; }
    wxCheckBox* grayscaleBox() const { return m_grayscale; }

private:
    int selectedDepth() const;
    void onDepth(int index);
    void enableCount();
    void onOk(wxCommandEvent& event);

    // Windows owned by the dialog.
    std::array<wxRadioButton*, 5> m_depthButtons{};
    wxCheckBox* m_limit = nullptr;
    wxTextCtrl* m_count = nullptr;
    wxSpinButton* m_spin = nullptr;
    wxCheckBox* m_grayscale = nullptr;
    DepthResult m_result;
    DialogMessage m_message;
};

}  // namespace tarn
