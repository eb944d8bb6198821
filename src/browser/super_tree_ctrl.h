#pragma once

#include <wx/treectrl.h>

namespace tarn {

// A tree control that raises exactly one context-menu request, at the cursor, for every
// right-button click, whichever way the toolkit reports right clicks on trees.
class CSuperTreeCtrl : public wxTreeCtrl {
public:
    CSuperTreeCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                   long style);

protected:
    // Sees every context-menu request before any handler can swallow it.
    bool TryBefore(wxEvent& event) override;

private:
    void onRightDown(wxMouseEvent& event);
    void onRightUp(wxMouseEvent& event);

    bool m_rightPressed = false;
    bool m_menuRaised = false;
};

}  // namespace tarn
