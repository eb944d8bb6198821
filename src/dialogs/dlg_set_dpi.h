#pragma once

#include <wx/dialog.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>

#include "dialogs/geometry_dialog_support.h"

namespace tarn {

class fipSuperImage;

// "Set DPI": the print resolution alone, whole dots per inch in 1-9999 on each axis.
class CDlgSetDPI : public wxDialog {
public:
    static constexpr unsigned kMinDpi = 1;
    static constexpr unsigned kMaxDpi = 9999;

    CDlgSetDPI(const fipSuperImage* image, wxWindow* parent);

    // Dots per inch, valid after "Ok"; before it, the image's rounded resolution.
    unsigned dpiX() const { return m_dpiX; }
    unsigned dpiY() const { return m_dpiY; }

    void setMessageFunction(DialogMessage message) { m_message = std::move(message); }

    wxTextCtrl* xBox() const { return m_xBox; }
    wxTextCtrl* yBox() const { return m_yBox; }
    wxSpinButton* xSpin() const { return m_xSpin; }
    wxSpinButton* ySpin() const { return m_ySpin; }

private:
    void onOk(wxCommandEvent& event);
    // Whether the box holds a resolution in range; says what is wrong when not.
    bool readBox(wxTextCtrl* box, unsigned& value);

    wxTextCtrl* m_xBox = nullptr;  // windows owned by the dialog
    wxTextCtrl* m_yBox = nullptr;
    wxSpinButton* m_xSpin = nullptr;
    wxSpinButton* m_ySpin = nullptr;
    unsigned m_dpiX = 0;
    unsigned m_dpiY = 0;
    DialogMessage m_message;
};

}  // namespace tarn
