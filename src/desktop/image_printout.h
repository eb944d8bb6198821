#pragma once

#include <wx/image.h>
#include <wx/prntbase.h>
#include <wx/window.h>

#include <string>

#include "imaging/fip_super_image.h"

namespace tarn {

// One page holding one image, as large as the printable area allows, centred, its aspect kept.
// Small images are enlarged: a thumbnail-sized picture should not print as a stamp.
class ImagePrintout : public wxPrintout {
public:
    ImagePrintout(const fipImage& image, const wxString& title);

    // Whether there is a picture to print.
    bool IsOk() const { return m_picture.IsOk(); }

    bool OnPrintPage(int page) override;
    bool HasPage(int page) override { return page == 1; }
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;

private:
    wxImage m_picture;
};

// Loads the file and prints it through the print dialog. False when it cannot be loaded, the
// user cancels or printing fails.
bool printImageFile(wxWindow* parent, const std::string& path);

// What the Print command does: prints the file itself, or the bitmap copy made in the
// temporary folder for a format the printer path does not take (see fileToPrint). Nothing
// is printed when the copy cannot be made.
bool printImageFile(wxWindow* parent, const std::string& path, const std::string& tempFolder);

}  // namespace tarn
