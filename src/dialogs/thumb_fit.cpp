#include "dialogs/thumb_fit.h"

#include <algorithm>
#include <cstdint>

#include "common/rounding.h"

namespace tarn {

Rect thumbPictureRect(int iw, int ih, int cw, int ch) {
    if (iw <= 0 || ih <= 0 || cw <= 0 || ch <= 0) {
        return {};
    }
    int w = 0;
    int h = 0;
    // Taller than the area in proportion: the height decides.
    if (std::int64_t{iw} * ch < std::int64_t{ih} * cw) {
        h = std::min(ch, ih);
        w = std::max(1, roundToInt(static_cast<double>(iw) / ih * h));
    } else {
        w = std::min(cw, iw);
        h = std::max(1, roundToInt(static_cast<double>(ih) / iw * w));
    }
    const int left = (cw - w) / 2;
    const int top = (ch - h) / 2;
    return {left, top, left + w, top + h};
}

}  // namespace tarn
