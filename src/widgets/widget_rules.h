#pragma once

namespace tarn {

// Minimum pane sizes of a splitter; -1 where not set.
struct SplitterLimits {
    int minLeft = -1;
    int minRight = -1;
    int minTop = -1;
    int minBottom = -1;
};

// Whether a pointer move to (x, y) while a bar is dragged may move the bar. Column limits,
// when both are set, keep x between the left limit and (width - right limit - 1); otherwise
// row limits, when both are set, do the same for y.
bool splitterDragAllowed(const SplitterLimits& limits, int x, int y, int clientWidth,
                         int clientHeight);

// The pictures of a bitmap button, in the order it holds them.
enum class ButtonPicture { Normal, Pressed, Hover, Disabled };

struct ButtonState {
    bool enabled = true;
    bool active = false;   // marked by the owner as the current choice
    bool hover = false;    // the pointer is over the button
    bool pressed = false;  // the left button is held down on it
};

struct ButtonPictures {
    bool hasPressed = false;
    bool hasHover = false;
    bool hasDisabled = false;
};

// Which picture a bitmap button shows in a state, given which pictures it has.
ButtonPicture chooseButtonPicture(const ButtonState& state, const ButtonPictures& have);

}  // namespace tarn
