#pragma once

#include <wx/bitmap.h>
#include <wx/cursor.h>
#include <wx/image.h>

#include <string>
#include <string_view>

namespace tarn {

// Pictures the program loads at run time: looked up beside the executable, then in the
// installed data folder. A missing picture gives an invalid bitmap.
class CResourcePictures {
public:
    explicit CResourcePictures(std::string programFolder);

    // The full path of a resource file, empty when it exists nowhere.
    std::string path(std::string_view name) const;
    wxBitmap bitmap(std::string_view name) const;
    wxImage image(std::string_view name) const;
    // A mouse pointer from a picture with its hot spot; the stock one when the picture is missing.
    wxCursor cursor(std::string_view name, int hotX, int hotY, wxStockCursor fallback) const;

private:
    std::string m_programFolder;
};

}  // namespace tarn
