#pragma once

#include <wx/image.h>
#include <wx/window.h>

#include <cstdlib>
#include <string>

#include "fakes/temp_dir.h"
#include "ui/ui_test_support.h"

namespace tarn::test {

// The whole screen as the X server shows it, read with ImageMagick's import: the toolkit's
// screen DC hands back its first capture again on later reads. Also kept in keepAs when given.
// An invalid image when the capture failed.
inline wxImage grabScreen(const std::string& keepAs = {}) {
    const TempDir dir;
    const std::string file = keepAs.empty() ? dir.file("screen.png") : keepAs;
    const std::string command = "import -window root '" + file + "'";
    if (std::system(command.c_str()) != 0) {
        return wxImage();
    }
    return wxImage(wxString::FromUTF8(file), wxBITMAP_TYPE_PNG);
}

// The client area of a window on the screen, after it repainted.
inline wxImage grabClientArea(wxWindow* window) {
    window->Refresh();
    window->Update();
    pumpEvents(200);
    const wxImage screen = grabScreen();
    const wxRect rect(window->ClientToScreen(wxPoint(0, 0)), window->GetClientSize());
    return screen.IsOk() ? screen.GetSubImage(rect) : wxImage();
}

}  // namespace tarn::test
