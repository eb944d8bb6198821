#pragma once

#include <cmath>

namespace tarn {

// Nearest integer, halves away from zero: the one rounding rule of the viewer and dialogs.
inline long roundHalfAwayFromZero(double value) {
    return std::lround(value);
}

inline int roundToInt(double value) {
    return static_cast<int>(std::lround(value));
}

}  // namespace tarn
