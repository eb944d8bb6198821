#include "viewer/edit_conditions.h"

#include <algorithm>

#include "imaging/effects/geometry.h"

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

bool isTurnable(const fipImage& image) {
    return isBitmapOfDepth(image, {1, 8, 24, 32});
}

bool canRescale(const fipImage& image) {
    return image.isValid() && canRescaleType(image.getImageType());
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
