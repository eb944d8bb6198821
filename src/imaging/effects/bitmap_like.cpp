#include "imaging/effects/bitmap_like.h"

#include <cstring>

namespace tarn {

void copyAttributes(FIBITMAP* source, FIBITMAP* target, bool swapResolution) {
    // Cloning metadata also copies the resolution, so it comes first.
    FreeImage_CloneMetadata(target, source);
    const unsigned x = FreeImage_GetDotsPerMeterX(source);
    const unsigned y = FreeImage_GetDotsPerMeterY(source);
    FreeImage_SetDotsPerMeterX(target, swapResolution ? y : x);
    FreeImage_SetDotsPerMeterY(target, swapResolution ? x : y);
    if (FreeImage_GetBPP(source) == FreeImage_GetBPP(target) &&
        FreeImage_GetImageType(source) == FreeImage_GetImageType(target)) {
        const unsigned count = FreeImage_GetTransparencyCount(source);
        if (count != 0) {
            FreeImage_SetTransparencyTable(target, FreeImage_GetTransparencyTable(source),
                                           static_cast<int>(count));
        }
        if (FreeImage_GetTransparentIndex(source) >= 0) {
            FreeImage_SetTransparentIndex(target, FreeImage_GetTransparentIndex(source));
        }
    }
    FreeImage_SetTransparent(target, FreeImage_IsTransparent(source));
    RGBQUAD background{};
    if (FreeImage_GetBackgroundColor(source, &background)) {
        FreeImage_SetBackgroundColor(target, &background);
    }
    FIICCPROFILE* profile = FreeImage_GetICCProfile(source);
    if (profile != nullptr && profile->data != nullptr && profile->size > 0) {
        FreeImage_CreateICCProfile(target, profile->data, profile->size);
    }
}

FreeImageBitmap allocateLike(FIBITMAP* source, unsigned width, unsigned height,
                             bool swapResolution) {
    FreeImageBitmap target(FreeImage_AllocateT(
        FreeImage_GetImageType(source), static_cast<int>(width), static_cast<int>(height),
        static_cast<int>(FreeImage_GetBPP(source)), FreeImage_GetRedMask(source),
        FreeImage_GetGreenMask(source), FreeImage_GetBlueMask(source)));
    if (!target) {
        return target;
    }
    const RGBQUAD* from = FreeImage_GetPalette(source);
    RGBQUAD* to = FreeImage_GetPalette(target.get());
    if (from != nullptr && to != nullptr) {
        std::memcpy(to, from, FreeImage_GetColorsUsed(source) * sizeof(RGBQUAD));
    }
    copyAttributes(source, target.get(), swapResolution);
    return target;
}

bool hasGreyPalette(FIBITMAP* dib) {
    const FREE_IMAGE_COLOR_TYPE type = FreeImage_GetColorType(dib);
    return type == FIC_MINISBLACK || type == FIC_MINISWHITE;
}

}  // namespace tarn
