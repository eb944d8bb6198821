#include "widgets/file_name_edit.h"

#include <wx/dialog.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

namespace tarn {

namespace {

// In a dialog Tab moves to the next control, as everywhere in dialogs.
bool tabMovesOn(wxTextCtrl& edit) {
    return dynamic_cast<wxDialog*>(wxGetTopLevelParent(&edit)) != nullptr;
}

void onKeyDown(wxTextCtrl& edit, wxKeyEvent& event) {
    const bool plainTab =
        event.GetKeyCode() == WXK_TAB && (event.GetModifiers() & (wxMOD_CONTROL | wxMOD_ALT)) == 0;
    // Caught before the control or the toolkit can move the focus with it.
    if (plainTab && !tabMovesOn(edit)) {
        wxBell();
        return;
    }
    event.Skip();
}

void onChar(wxTextCtrl& edit, wxKeyEvent& event) {
    const wxChar typed = event.GetUnicodeKey();
    if (typed == WXK_NONE || !isRefusedNameCharacter(typed) ||
        (typed == '\t' && tabMovesOn(edit))) {
        event.Skip();
        return;
    }
    wxBell();
}

// Pasted or dropped text arrives whole: the refused characters are dropped from it.
void onText(wxTextCtrl& edit, wxCommandEvent& event) {
    event.Skip();
    const wxString value = edit.GetValue();
    const long caret = edit.GetInsertionPoint();
    wxString kept;
    long position = 0;
    long droppedBeforeCaret = 0;
    for (const wxUniChar c : value) {
        if (!isRefusedNameCharacter(c)) {
            kept += c;
        } else if (position < caret) {
            ++droppedBeforeCaret;
        }
        ++position;
    }
    if (kept.length() == value.length()) {
        return;
    }
    wxBell();
    edit.ChangeValue(kept);
    edit.SetInsertionPoint(caret - droppedBeforeCaret);
}

}  // namespace

bool isRefusedNameCharacter(wxUniChar c) {
    switch (c.GetValue()) {
        case '\t':
        case '"':
        case '*':
        case '/':
        case ':':
        case '<':
        case '>':
        case '?':
        case '\\':
        case '|':
            return true;
        default:
            return false;
    }
}

void refuseNameCharacters(wxTextCtrl& edit) {
    edit.Bind(wxEVT_KEY_DOWN, [&edit](wxKeyEvent& event) { onKeyDown(edit, event); });
    edit.Bind(wxEVT_CHAR, [&edit](wxKeyEvent& event) { onChar(edit, event); });
    edit.Bind(wxEVT_TEXT, [&edit](wxCommandEvent& event) { onText(edit, event); });
}

CFileNameEdit::CFileNameEdit(wxWindow* parent, wxWindowID id, const wxString& value,
                             const wxPoint& position, const wxSize& size, long style)
    : wxTextCtrl(parent, id, value, position, size, style) {
    refuseNameCharacters(*this);
}

}  // namespace tarn
