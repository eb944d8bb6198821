#include "desktop/image_printout.h"

#include <wx/dc.h>
#include <wx/print.h>

#include <algorithm>

#include "common/path_rules.h"
#include "desktop/print_rules.h"
#include "imaging/image_draw.h"

namespace tarn {

namespace {

// Paper is white: transparent parts print as nothing, not as a checkerboard or black.
void layOverWhite(wxImage& picture) {
    if (!picture.HasAlpha()) {
        return;
    }
    unsigned char* rgb = picture.GetData();
    const unsigned char* alpha = picture.GetAlpha();
    const long count = static_cast<long>(picture.GetWidth()) * picture.GetHeight();
    for (long i = 0; i < count; ++i) {
        for (int c = 0; c < 3; ++c) {
            unsigned char& value = rgb[i * 3 + c];
            value = static_cast<unsigned char>((value * alpha[i] + 255 * (255 - alpha[i])) / 255);
        }
    }
    picture.ClearAlpha();
}

}  // namespace

ImagePrintout::ImagePrintout(const fipImage& image, const wxString& title)
    : wxPrintout(title), m_picture(toWxImage(image)) {
    if (m_picture.IsOk()) {
        layOverWhite(m_picture);
    }
}

void ImagePrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
    *minPage = *maxPage = *pageFrom = *pageTo = 1;
}

bool ImagePrintout::OnPrintPage(int page) {
    wxDC* dc = GetDC();
    if (dc == nullptr || page != 1 || !m_picture.IsOk()) {
        return false;
    }
    // The DC's size is the printable area in device pixels.
    int pageWidth = 0;
    int pageHeight = 0;
    dc->GetSize(&pageWidth, &pageHeight);
    const int width = m_picture.GetWidth();
    const int height = m_picture.GetHeight();
    if (pageWidth <= 0 || pageHeight <= 0 || width <= 0 || height <= 0) {
        return false;
    }
    const double scale =
        std::min(static_cast<double>(pageWidth) / width, static_cast<double>(pageHeight) / height);
    // The origin in device pixels, so that rounding never moves a scaled picture off centre.
    dc->SetDeviceOrigin(static_cast<wxCoord>((pageWidth - width * scale) / 2),
                        static_cast<wxCoord>((pageHeight - height * scale) / 2));
    dc->SetUserScale(scale, scale);
    dc->DrawBitmap(wxBitmap(m_picture), 0, 0, false);
    dc->SetUserScale(1, 1);
    dc->SetDeviceOrigin(0, 0);
    return true;
}

bool printImageFile(wxWindow* parent, const std::string& path) {
    fipSuperImage image;
    if (!image.load(path.c_str())) {
        return false;
    }
    ImagePrintout printout(image, wxString::FromUTF8(fileName(path)));
    if (!printout.IsOk()) {
        return false;
    }
    wxPrintDialogData data;
    data.SetAllPages(true);
    data.SetMinPage(1);
    data.SetMaxPage(1);
    wxPrinter printer(&data);
    return printer.Print(parent, &printout, true);
}

bool printImageFile(wxWindow* parent, const std::string& path, const std::string& tempFolder) {
    const std::string file = fileToPrint(path, tempFolder);
    return !file.empty() && printImageFile(parent, file);
}

}  // namespace tarn
