#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "common/program_name.h"

namespace tarn {

// Splitter sizes and limits of the main frame.
inline constexpr int kOuterLeftWidth = 185;
inline constexpr int kOuterMinLeft = 120;
inline constexpr int kOuterMinRight = 100;
inline constexpr int kInnerMinTop = 100;
inline constexpr int kInnerMinBottom = 150;
inline constexpr int kFrameMinSize = 400;

// "name - Tarn Photo Viewer", or the program name alone without a name.
std::string frameTitle(std::string_view name);

// The upper row of the inner splitter at first activation.
int initialInnerTopHeight(int frameClientHeight);

// After a resize: the new width of the outer left column when the right column has dropped
// below its limit while the left one is above its own; nothing when no change is needed.
std::optional<int> outerLeftAfterResize(int leftWidth, int rightWidth, int clientWidth, int gap);

// After a resize: the upper inner row takes the change of the lower one, so that the
// preview keeps its height; never below the upper limit.
int innerTopAfterResize(int upperHeight, int lowerChange);

// The show command stored at exit: a minimised window is stored as restored.
int showCommandToStore(bool minimized, bool maximized);

// A stored placement that can be applied; nothing when absent, of the wrong length or with an
// empty rectangle (the frame then opens maximised).
std::optional<settings::WindowPlacement> usablePlacement(
    const std::optional<settings::WindowPlacement>& stored);

inline constexpr int kShowRestore = 9;

}  // namespace tarn
