#pragma once

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/radiobut.h>

#include <array>
#include <functional>

#include "dialogs/geometry_dialog_support.h"
#include "dialogs/zoom_level_rules.h"

namespace tarn {

// What "Set Zoom Level" reads and changes of the image view; the view fills these in.
struct ZoomLevelView {
    std::function<double()> zoom;         // 1.0 = 100%
    std::function<bool()> isLocked;       // zoom type "lock"
    std::function<void(double)> setZoom;  // a custom zoom factor
    std::function<void(int)> fit;         // 0 whole image, 1 width, 2 height
    std::function<void(bool)> setLock;    // lock (true) or back to the default type
};

// "Set Zoom Level": fit choices or a level in per cent, and the zoom lock. It acts on the view
// itself when "Ok" is pressed, before it closes.
class CDlgSetZoomLevel : public wxDialog {
public:
    CDlgSetZoomLevel(wxWindow* parent, ZoomLevelView view);

    void setMessageFunction(DialogMessage message) { m_message = std::move(message); }

    // 0 "Fit whole image", 1 "Fit width", 2 "Fit height", 3 "Specify:".
    wxRadioButton* choiceButton(int index) const { return m_choices.at(index); }
    wxComboBox* levelList() const { return m_level; }
    wxCheckBox* lockBox() const { return m_lock; }

private:
    void onOk(wxCommandEvent& event);

    ZoomLevelView m_view;
    // Windows owned by the dialog.
    std::array<wxRadioButton*, 4> m_choices{};
    wxComboBox* m_level = nullptr;
    wxCheckBox* m_lock = nullptr;
    DialogMessage m_message;
};

}  // namespace tarn
