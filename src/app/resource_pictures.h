#pragma once

#include <wx/bitmap.h>

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

private:
    std::string m_programFolder;
};

}  // namespace tarn
