#include <vector>

#include "common/atomic_file.h"
#include "imaging/fip_super_image.h"
#include "imaging/standard_bitmap.h"

namespace tarn {

bool formatWritesDepth(FREE_IMAGE_FORMAT fif, FREE_IMAGE_TYPE type, unsigned bpp) {
    // The JPEG-XR writer of the library as built here fails on every image it is given.
    if (fif == FIF_UNKNOWN || fif == FIF_JXR || !FreeImage_FIFSupportsWriting(fif) ||
        !FreeImage_FIFSupportsExportType(fif, type)) {
        return false;
    }
    if (type != FIT_BITMAP) {
        return true;
    }
    // The JPEG writer claims 32 bits but takes only CMYK pixels there.
    if (fif == FIF_JPEG && bpp == 32) {
        return false;
    }
    return FreeImage_FIFSupportsExportBPP(fif, static_cast<int>(bpp)) != FALSE;
}
namespace {

bool writesDirectly(FREE_IMAGE_FORMAT fif, FIBITMAP* dib) {
    return formatWritesDepth(fif, FreeImage_GetImageType(dib), FreeImage_GetBPP(dib));
}

bool writesSomeBitmap(FREE_IMAGE_FORMAT fif) {
    if (!FreeImage_FIFSupportsExportType(fif, FIT_BITMAP)) {
        return false;
    }
    for (const unsigned bpp : {1u, 4u, 8u, 24u, 32u}) {
        if (formatWritesDepth(fif, FIT_BITMAP, bpp)) {
            return true;
        }
    }
    return false;
}

FreeImageBitmap convertBitmapTo(FIBITMAP* dib, unsigned bpp) {
    switch (bpp) {
        case 1:
            return FreeImageBitmap(FreeImage_Threshold(dib, 128));
        case 4:
            return FreeImageBitmap(FreeImage_ConvertTo4Bits(dib));
        case 8: {
            if (FreeImage_GetBPP(dib) < 8 || FreeImage_GetColorType(dib) == FIC_MINISBLACK) {
                return FreeImageBitmap(FreeImage_ConvertTo8Bits(dib));
            }
            const FreeImageBitmap rgb(FreeImage_ConvertTo24Bits(dib));
            return rgb ? FreeImageBitmap(FreeImage_ColorQuantizeEx(rgb.get(), FIQ_WUQUANT, 256))
                       : nullptr;
        }
        case 24:
            return FreeImageBitmap(FreeImage_ConvertTo24Bits(dib));
        case 32:
            return FreeImageBitmap(FreeImage_ConvertTo32Bits(dib));
        default:
            return nullptr;
    }
}

// A copy of the image in a type and depth the format can write, nearest to the original.
FreeImageBitmap convertedFor(FIBITMAP* dib, FREE_IMAGE_FORMAT fif) {
    if (writesDirectly(fif, dib)) {
        return FreeImageBitmap(FreeImage_Clone(dib));
    }
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsWriting(fif)) {
        return nullptr;
    }
    if (writesSomeBitmap(fif)) {
        FreeImageBitmap standard = toStandard(dib);
        if (!standard || writesDirectly(fif, standard.get())) {
            return standard;
        }
        std::vector<unsigned> order;
        switch (FreeImage_GetBPP(standard.get())) {
            case 32:
                order = {24, 8, 4, 1};
                break;
            case 24:
                order = {32, 8, 4, 1};
                break;
            case 16:
                order = {24, 32, 8, 4, 1};
                break;
            case 8:
                order = {24, 32, 4, 1};
                break;
            case 4:
                order = {8, 24, 32, 1};
                break;
            default:
                order = {8, 4, 24, 32};
                break;
        }
        for (const unsigned bpp : order) {
            if (formatWritesDepth(fif, FIT_BITMAP, bpp)) {
                return convertBitmapTo(standard.get(), bpp);
            }
        }
        return nullptr;
    }
    if (FreeImage_FIFSupportsExportType(fif, FIT_RGBF)) {
        if (FreeImageBitmap direct{FreeImage_ConvertToRGBF(dib)}) {
            return direct;
        }
        const FreeImageBitmap standard = toStandard(dib);
        const FreeImageBitmap rgb(standard ? FreeImage_ConvertTo24Bits(standard.get()) : nullptr);
        return rgb ? FreeImageBitmap(FreeImage_ConvertToRGBF(rgb.get())) : nullptr;
    }
    return nullptr;
}

bool saveBitmap(FIBITMAP* dib, FREE_IMAGE_FORMAT fif, const char* path, int flags) {
    if (dib == nullptr || path == nullptr || !writesDirectly(fif, dib)) {
        return false;
    }
    // Encoded in memory first: the library's file writers do not notice a full disk, and a
    // file cut short must never replace the old one. The byte writer checks every write.
    FIMEMORY* memory = FreeImage_OpenMemory();
    if (memory == nullptr) {
        return false;
    }
    BYTE* data = nullptr;
    DWORD size = 0;
    const bool saved = FreeImage_SaveToMemory(fif, dib, memory, flags) != FALSE &&
                       FreeImage_AcquireMemory(memory, &data, &size) != FALSE &&
                       writeBytesAtomically(path, data, size);
    FreeImage_CloseMemory(memory);
    return saved;
}
}  // namespace

BOOL fipSuperImage::save(const char* path, int flags) const {
    return save(getFIFFromFilename(path), path, flags);
}

BOOL fipSuperImage::save(FREE_IMAGE_FORMAT fif, const char* path, int flags) const {
    return isValid() && saveBitmap(_dib, fif, path, flags);
}

BOOL fipSuperImage::saveFitBPP(const char* path, int flags) const {
    return saveFitBPP(getFIFFromFilename(path), path, flags);
}

BOOL fipSuperImage::saveFitBPP(FREE_IMAGE_FORMAT fif, const char* path, int flags) const {
    if (!isValid() || path == nullptr) {
        return FALSE;
    }
    if (writesDirectly(fif, _dib)) {
        return saveBitmap(_dib, fif, path, flags);
    }
    const FreeImageBitmap converted = convertedFor(_dib, fif);
    return converted && saveBitmap(converted.get(), fif, path, flags);
}

BOOL fipSuperImage::convertToSupportedBPP(FREE_IMAGE_FORMAT fif) {
    if (!isValid()) {
        return FALSE;
    }
    if (writesDirectly(fif, _dib)) {
        return TRUE;
    }
    return adopt(convertedFor(_dib, fif).release());
}

bool fipSuperImage::canBeSavedAs(FREE_IMAGE_FORMAT fif) const {
    if (!isValid() || fif == FIF_UNKNOWN || !FreeImage_FIFSupportsWriting(fif)) {
        return false;
    }
    return writesDirectly(fif, _dib) || writesSomeBitmap(fif) ||
           FreeImage_FIFSupportsExportType(fif, FIT_RGBF);
}
}  // namespace tarn
