#pragma once

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/image.h>

#include "imaging/fip_super_image.h"
#include "imaging/freeimage_ptr.h"

namespace tarn {

// Turns any image the library loads (1-, 4- and 8-bit palettised, 16-bit, 24- and 32-bit
// bitmaps, 16-bit grey, 48/64-bit colour, float and HDR types) into a wxImage, row by row.
// 32-bit images keep their alpha. An invalid image gives an invalid wxImage.
wxImage toWxImage(const fipImage& image);
wxBitmap toWxBitmap(const fipImage& image);

// The reverse: 24 bits, or 32 when the wxImage has alpha.
bool fromWxImage(const wxImage& source, fipImage& image);

// How drawEx scales: fast nearest-neighbour, or a filtered downscale.
enum class StretchMode { Fast = 3, Quality = 4 };

// Draws the image stretched into the rectangle. A transparent image is first laid on a
// background: the file's own background colour when useFileBackground and the file has one,
// else the application's colour when given, else the background image when given, else a
// checkerboard.
bool drawEx(wxDC& dc, const wxRect& rect, const fipImage& image, bool useFileBackground,
            const RGBQUAD* appBackground, const fipImage* backgroundImage, StretchMode mode);

struct RgbPicture;
// Draws a picture of RGB rows with its top-left corner at (x, y); nothing for an empty one.
void drawRgbPicture(wxDC& dc, const RgbPicture& picture, int x, int y);

}  // namespace tarn
