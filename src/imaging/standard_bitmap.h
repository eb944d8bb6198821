#pragma once

#include "imaging/freeimage_ptr.h"

namespace tarn {

// A standard 8-bit-per-channel bitmap from any image type (a copy of a standard one); null when
// the library cannot convert it.
inline FreeImageBitmap toStandard(FIBITMAP* dib) {
    switch (FreeImage_GetImageType(dib)) {
        case FIT_BITMAP:
            return FreeImageBitmap(FreeImage_Clone(dib));
        case FIT_RGB16:
            return FreeImageBitmap(FreeImage_ConvertTo24Bits(dib));
        case FIT_RGBA16:
            return FreeImageBitmap(FreeImage_ConvertTo32Bits(dib));
        case FIT_RGBF:
        case FIT_RGBAF:
            return FreeImageBitmap(FreeImage_ToneMapping(dib, FITMO_DRAGO03));
        default:
            return FreeImageBitmap(FreeImage_ConvertToStandardType(dib, TRUE));
    }
}

}  // namespace tarn
