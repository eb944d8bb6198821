#include "slideshow/slide_layout.h"

#include <cstdint>

namespace tarn {

SlideRect fitSlide(int width, int height, int areaWidth, int areaHeight) {
    if (width <= 0 || height <= 0 || areaWidth <= 0 || areaHeight <= 0) {
        return {};
    }
    int w = width;
    int h = height;
    if (width > areaWidth || height > areaHeight) {
        // 64-bit products: a 60000-pixel image on a wide screen overflows 32 bits.
        const std::int64_t hW = std::int64_t{height} * areaWidth;
        const std::int64_t wH = std::int64_t{width} * areaHeight;
        if (hW < wH) {
            w = areaWidth;
            h = static_cast<int>(hW / width);
        } else {
            h = areaHeight;
            w = static_cast<int>(wH / height);
        }
    }
    return {(areaWidth - w) / 2, (areaHeight - h) / 2, w, h};
}

SlideRect slideStripRect(int areaWidth, int areaHeight) {
    return {(areaWidth - kSlideStripWidth) / 2, areaHeight - kSlideStripBottomOffset,
            kSlideStripWidth, kSlideStripHeight};
}

}  // namespace tarn
