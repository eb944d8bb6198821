#include "browser/super_tree_ctrl.h"

#include <wx/utils.h>

namespace tarn {

CSuperTreeCtrl::CSuperTreeCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                               const wxSize& size, long style)
    : wxTreeCtrl(parent, id, pos, size, style) {
    Bind(wxEVT_RIGHT_DOWN, &CSuperTreeCtrl::onRightDown, this);
    Bind(wxEVT_RIGHT_UP, &CSuperTreeCtrl::onRightUp, this);
}

void CSuperTreeCtrl::onRightDown(wxMouseEvent& event) {
    m_rightPressed = true;
    m_menuRaised = false;
    event.Skip();
}

void CSuperTreeCtrl::onRightUp(wxMouseEvent& event) {
    event.Skip();
    if (!m_rightPressed) {
        return;
    }
    m_rightPressed = false;
    // Some toolkits already raised one for this click; never raise a second.
    if (m_menuRaised) {
        return;
    }
    wxContextMenuEvent menu(wxEVT_CONTEXT_MENU, GetId(), wxGetMousePosition());
    menu.SetEventObject(this);
    ProcessWindowEvent(menu);
}

bool CSuperTreeCtrl::TryBefore(wxEvent& event) {
    if (event.GetEventType() == wxEVT_CONTEXT_MENU) {
        m_menuRaised = true;
    }
    return wxTreeCtrl::TryBefore(event);
}

}  // namespace tarn
