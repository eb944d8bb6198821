#include "dialogs/effect_rules.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "dialogs/number_text.h"

namespace tarn {

double readParamText(const std::string& text, const EffectParam& param) {
    const std::string read = text.substr(0, param.maxText);
    if (param.real) {
        const double value = leadingNumber(read);
        return std::isfinite(value) ? value : 0.0;
    }
    return leadingInteger(read);
}

double previewValue(double typed, const EffectParam& param) {
    if (param.real || param.message != nullptr) {
        return typed;
    }
    return std::clamp(typed, static_cast<double>(param.minimum),
                      static_cast<double>(param.maximum));
}

bool inRange(double typed, const EffectParam& param) {
    return param.real || (typed >= param.minimum && typed <= param.maximum);
}

int sliderPosition(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    const double rounded = std::round(value);  // halves away from zero
    return static_cast<int>(std::clamp(rounded, double{INT_MIN}, double{INT_MAX}));
}

int sizeLimit(int cap, int side, int minimum) {
    return std::max(side <= cap ? side - 1 : cap, minimum);
}

int scaledToSource(int value, int sourceWidth, int thumbnailWidth, int minimum) {
    if (sourceWidth <= 0 || thumbnailWidth <= 0) {
        return 0;
    }
    const double scaled = std::round(static_cast<double>(value) * sourceWidth / thumbnailWidth);
    return std::max(static_cast<int>(std::min(scaled, double{INT_MAX})), minimum);
}

int averageBlurRadius(int typed, int sourceWidth, int sourceHeight) {
    const int most = std::min(sourceWidth, sourceHeight) - 1;
    return std::max(std::min(typed, most), 2);
}

}  // namespace tarn
