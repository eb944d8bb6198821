#include "dialogs/color_depth_rules.h"

#include "dialogs/number_text.h"

namespace tarn {

int depthIndexForBpp(unsigned bpp) {
    switch (bpp) {
        case 4:
            return 1;
        case 8:
            return 2;
        case 24:
            return 3;
        case 32:
            return 4;
        default:
            return kOneBitDepth;
    }
}

ColorCountRange colorCountRange(int depthIndex) {
    return depthIndex == kFourBitDepth ? ColorCountRange{2, 16} : ColorCountRange{2, 256};
}

std::optional<std::string> countTextForDepth(int depthIndex, const std::string& countText) {
    const ColorCountRange range = colorCountRange(depthIndex);
    const int count = leadingInteger(countText);
    if (count < range.low) {
        return std::to_string(range.low);
    }
    if (count > range.high) {
        return std::to_string(range.high);
    }
    return std::nullopt;
}

std::string colorCountMessage(int depthIndex) {
    const ColorCountRange range = colorCountRange(depthIndex);
    return "You must specify a valid maximum number of colors (" + std::to_string(range.low) +
           " - " + std::to_string(range.high) + ").";
}

std::optional<DepthResult> checkDepth(const DepthChoice& choice) {
    const int index = choice.depthIndex >= 0 && choice.depthIndex < 5 ? choice.depthIndex : 0;
    const bool limited = index != kOneBitDepth && choice.limitColors;
    DepthResult result{kDepthBits[index], 0, choice.grayscale};
    if (limited) {
        const ColorCountRange range = colorCountRange(index);
        const int count = leadingInteger(choice.countText);
        if (count < range.low || count > range.high) {
            return std::nullopt;
        }
        result.maxColors = static_cast<unsigned>(count);
    }
    return result;
}

}  // namespace tarn
