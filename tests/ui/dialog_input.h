#pragma once

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <string>
#include <vector>

#include "ui/ui_test_support.h"

namespace tarn::test {

// What a dialog said, in order.
struct SaidMessage {
    wxString message;
    wxString title;
};

struct MessageLog {
    std::vector<SaidMessage> said;
    auto recorder() {
        return [this](const wxString& message, const wxString& title) {
            said.push_back({message, title});
        };
    }
    wxString last() const { return said.empty() ? wxString() : said.back().message; }
};

// The events a user's choice in a list gives.
inline void choose(wxChoice* list, int index) {
    list->SetSelection(index);
    wxCommandEvent event(wxEVT_CHOICE, list->GetId());
    event.SetEventObject(list);
    event.SetInt(index);
    event.SetString(list->GetString(index));
    list->GetEventHandler()->ProcessEvent(event);
}

inline void click(wxCheckBox* box, bool checked) {
    box->SetValue(checked);
    wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
    event.SetEventObject(box);
    event.SetInt(checked ? 1 : 0);
    box->GetEventHandler()->ProcessEvent(event);
}

inline void click(wxRadioButton* button) {
    button->SetValue(true);
    wxCommandEvent event(wxEVT_RADIOBUTTON, button->GetId());
    event.SetEventObject(button);
    event.SetInt(1);
    button->GetEventHandler()->ProcessEvent(event);
}

// The text a user typed: SetValue sends the text event that typing does.
inline void type(wxTextEntry* box, const std::string& text) {
    box->SetValue(wxString::FromUTF8(text));
}

inline void pressOk(wxDialog& dialog) {
    wxWindow* ok = dialog.FindWindow(wxID_OK);
    ASSERT_NE(ok, nullptr);
    wxCommandEvent event(wxEVT_BUTTON, wxID_OK);
    event.SetEventObject(ok);
    ok->GetEventHandler()->ProcessEvent(event);
}

// Shown without a modal loop and given the keyboard: without a window manager the keyboard
// follows the pointer.
inline void showWithKeyboard(wxDialog& dialog) {
    dialog.Show();
    waitFor([&] { return dialog.IsShownOnScreen(); }, 2000);
    wxUIActionSimulator sim;
    // A click into the empty margin, as a person would, in case another window kept the focus.
    sim.MouseMove(dialog.GetScreenRect().GetLeftTop() + wxPoint(3, 3));
    flushEvents();
    sim.MouseClick();
    flushEvents();
    // Raised once mapped; before that it asks for nothing.
    dialog.Raise();
    waitFor([&] { return dialog.IsActive(); }, 2000);
}

// The dialog ended with "Ok" (shown or modal).
inline bool endedWithOk(const wxDialog& dialog) {
    return dialog.GetReturnCode() == wxID_OK && !dialog.IsShown();
}

// Whether the box has the keyboard with its whole text selected.
inline bool focusedAndSelected(wxWindow* window, wxTextEntry* box) {
    if (!waitFor([&] { return wxWindow::FindFocus() == window || window->HasFocus(); }, 3000)) {
        ADD_FAILURE() << "the box did not get the focus";
        return false;
    }
    long from = -1;
    long to = -1;
    box->GetSelection(&from, &to);
    const long length = static_cast<long>(box->GetValue().length());
    EXPECT_EQ(from, 0);
    EXPECT_EQ(to, length);
    return from == 0 && to == length;
}

}  // namespace tarn::test
