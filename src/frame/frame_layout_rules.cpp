#include "frame/frame_layout_rules.h"

#include <algorithm>

namespace tarn {

std::string frameTitle(std::string_view name) {
    if (name.empty()) {
        return std::string(kProgramTitle);
    }
    return std::string(name) + " - " + std::string(kProgramTitle);
}

int initialInnerTopHeight(int frameClientHeight) {
    return frameClientHeight >= 380 ? frameClientHeight - 280 : 100;
}

std::optional<int> outerLeftAfterResize(int leftWidth, int rightWidth, int clientWidth, int gap) {
    if (leftWidth > kOuterMinLeft && rightWidth < kOuterMinRight) {
        return clientWidth - gap < 220 ? kOuterMinLeft : clientWidth - gap - kOuterMinRight;
    }
    return std::nullopt;
}

int innerTopAfterResize(int upperHeight, int lowerChange) {
    return std::max(kInnerMinTop, upperHeight + lowerChange);
}

int showCommandToStore(bool minimized, bool maximized) {
    if (minimized) {
        return kShowRestore;
    }
    return maximized ? settings::kShowMaximized : settings::kShowNormal;
}

std::optional<settings::WindowPlacement> usablePlacement(
    const std::optional<settings::WindowPlacement>& stored) {
    if (!stored || stored->length != 44 || stored->right <= stored->left ||
        stored->bottom <= stored->top) {
        return std::nullopt;
    }
    return stored;
}

}  // namespace tarn
