#pragma once

#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/string.h>
#include <wx/textentry.h>

#include <functional>

#include "dialogs/resize_rules.h"

namespace tarn {

class fipSuperImage;

// How a dialog tells the user what is wrong with a box: message and title. The default is a
// message box with the exclamation icon; tests put their own to read what was said.
using DialogMessage = std::function<void(const wxString& message, const wxString& title)>;
DialogMessage exclamationMessageBox(wxWindow* parent);

// Size and resolution (dots per inch) of the image; all zero without one.
SourceImage sourceOfImage(const fipSuperImage* image);

// The box at fault gets the keyboard with its whole text selected.
void focusAndSelect(wxWindow* box);

// Room around and between controls, in dialog units.
int dialogUnitsX(const wxWindow& window, int units);
int dialogUnitsY(const wxWindow& window, int units);

// "Ok" and "Cancel" at the right, "Ok" the default button.
wxSizer* okCancelButtons(wxDialog& dialog);

// Lays the dialog out with the sizer; the client area is at least the size in dialog units,
// larger when the toolkit's controls need more room.
void layOutDialog(wxDialog& dialog, wxSizer* sizer, wxSize dialogUnits);

}  // namespace tarn
