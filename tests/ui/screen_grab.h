#pragma once

#include <wx/image.h>
#include <wx/window.h>

#include <cstdlib>
#include <string>

#include "fakes/temp_dir.h"
#include "ui/ui_test_support.h"

namespace tarn::test {

// The client area of a window as the X server shows it, read with ImageMagick's import: the
// toolkit's screen DC hands back its first capture again on later reads. An invalid image when
// the capture failed.
inline wxImage grabClientArea(wxWindow* window) {
    window->Refresh();
    window->Update();
    pumpEvents(200);
    const TempDir dir;
    const std::string file = dir.file("screen.png");
    const std::string command = "import -window root '" + file + "'";
    if (std::system(command.c_str()) != 0) {
        return wxImage();
    }
    const wxImage screen(wxString::FromUTF8(file), wxBITMAP_TYPE_PNG);
    const wxRect rect(window->ClientToScreen(wxPoint(0, 0)), window->GetClientSize());
    return screen.IsOk() ? screen.GetSubImage(rect) : wxImage();
}

}  // namespace tarn::test
