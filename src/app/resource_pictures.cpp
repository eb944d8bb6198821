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

wxBitmap CResourcePictures::bitmap(std::string_view name) const {
    const std::string file = path(name);
    if (file.empty()) {
        return wxBitmap();
    }
    const wxLogNull quiet;  // a damaged picture is no reason for a message box
    wxImage image;
    if (!image.LoadFile(wxString::FromUTF8(file), wxBITMAP_TYPE_PNG)) {
        return wxBitmap();
    }
    return wxBitmap(image);
}

}  // namespace tarn
