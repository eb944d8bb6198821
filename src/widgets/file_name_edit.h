#pragma once

#include <wx/textctrl.h>

namespace tarn {

// True for what a name typed for a file may not hold: Tab, the double quotation mark and
// * / : < > ? \ |.
bool isRefusedNameCharacter(wxUniChar c);

// Makes a text control refuse those characters with a beep, typed or pasted; everything else
// passes. Tab is refused too, except in a dialog, where it moves to the next control.
void refuseNameCharacters(wxTextCtrl& edit);

// The name editor: a one-line text control that refuses the characters above.
class CFileNameEdit : public wxTextCtrl {
public:
    CFileNameEdit(wxWindow* parent, wxWindowID id, const wxString& value = wxString(),
                  const wxPoint& position = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                  long style = 0);
};

}  // namespace tarn
