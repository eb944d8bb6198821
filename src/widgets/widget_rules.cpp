#include "widgets/widget_rules.h"

namespace tarn {

bool splitterDragAllowed(const SplitterLimits& limits, int x, int y, int clientWidth,
                         int clientHeight) {
    if (limits.minLeft != -1 && limits.minRight != -1) {
        return !(x < limits.minLeft || x > clientWidth - limits.minRight - 1);
    }
    if (limits.minTop != -1 && limits.minBottom != -1) {
        return !(y < limits.minTop || y > clientHeight - limits.minBottom - 1);
    }
    return true;
}

ButtonPicture chooseButtonPicture(const ButtonState& state, const ButtonPictures& have) {
    if (!state.enabled && have.hasDisabled) {
        return ButtonPicture::Disabled;
    }
    if (state.active && have.hasPressed) {
        return ButtonPicture::Pressed;
    }
    if (!state.hover) {
        return ButtonPicture::Normal;
    }
    if (state.pressed && have.hasPressed) {
        return ButtonPicture::Pressed;
    }
    if (have.hasHover) {
        return ButtonPicture::Hover;
    }
    return ButtonPicture::Normal;
}

}  // namespace tarn
