#include "app/resource_pictures.h"

#include <wx/image.h>
#include <wx/log.h>

#include <filesystem>

#include "common/path_rules.h"

#ifndef TARN_DATA_DIR
#define TARN_DATA_DIR "/usr/local/share/tarnview"
#endif

namespace tarn {

CResourcePictures::CResourcePictures(std::string programFolder)
    : m_programFolder(std::move(programFolder)) {}

std::string CResourcePictures::path(std::string_view name) const {
    for (const std::string& folder : {m_programFolder, std::string(TARN_DATA_DIR)}) {
        if (folder.empty()) {
            continue;
        }
        std::string candidate = joinPath(folder, name);
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec)) {
            return candidate;
        }
    }
    return {};
}

wxImage CResourcePictures::image(std::string_view name) const {
    const std::string file = path(name);
    wxImage image;
    if (file.empty()) {
        return image;
    }
    const wxLogNull quiet;  // a damaged picture is no reason for a message box
    if (!image.LoadFile(wxString::FromUTF8(file), wxBITMAP_TYPE_PNG)) {
        return wxImage();
    }
    return image;
}

wxBitmap CResourcePictures::bitmap(std::string_view name) const {
    const wxImage picture = image(name);
    return picture.IsOk() ? wxBitmap(picture) : wxBitmap();
}

wxCursor CResourcePictures::cursor(std::string_view name, int hotX, int hotY,
                                   wxStockCursor fallback) const {
    wxImage picture = image(name);
    if (!picture.IsOk()) {
        return wxCursor(fallback);
    }
    picture.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, hotX);
    picture.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, hotY);
    return wxCursor(picture);
}

}  // namespace tarn
