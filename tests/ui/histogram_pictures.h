#pragma once

// Comparing what a histogram window put on the screen with the picture it says it drew.
#include <wx/image.h>

#include <algorithm>

#include "imaging/histogram.h"

namespace tarn::test {

inline HistogramColour pixel(const wxImage& image, int x, int y) {
    return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

inline bool samePicture(const wxImage& image, const RgbPicture& picture) {
    return image.IsOk() && image.GetWidth() == picture.width &&
           image.GetHeight() == picture.height &&
           std::equal(picture.pixels.begin(), picture.pixels.end(), image.GetData());
}

}  // namespace tarn::test
