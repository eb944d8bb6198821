#include "viewer/edit_conditions.h"

#include <algorithm>

namespace tarn {

bool isStandardBitmap(const fipImage& image) {
    return image.isValid() && image.getImageType() == FIT_BITMAP;
}

bool isBitmapOfDepth(const fipImage& image, std::initializer_list<unsigned> depths) {
    return isStandardBitmap(image) &&
           std::find(depths.begin(), depths.end(), image.getBitsPerPixel()) != depths.end();
}

bool isTrueColor(const fipImage& image) {
    return isBitmapOfDepth(image, {24, 32});
}

bool canRescale(const fipImage& image) {
    if (!image.isValid()) {
        return false;
    }
    switch (image.getImageType()) {
        case FIT_BITMAP:
        case FIT_UINT16:
        case FIT_FLOAT:
        case FIT_RGB16:
        case FIT_RGBA16:
        case FIT_RGBF:
        case FIT_RGBAF:
            return true;
        default:
            return false;
    }
}

bool canCountColors(const fipImage& image) {
    return isStandardBitmap(image) && image.getBitsPerPixel() != 16;
}

bool isAnyImage(const fipImage& image) {
    return image.isValid();
}

bool isJpegByName(const std::string& path) {
    return !path.empty() && FreeImage_GetFIFFromFilename(path.c_str()) == FIF_JPEG;
}

}  // namespace tarn
