#include "dialogs/effect_rules.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

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

namespace {

double lowest(const EffectParam& param) {
    return static_cast<double>(param.minimum) / param.scale;
}

double highest(const EffectParam& param) {
    return static_cast<double>(param.maximum) / param.scale;
}

}  // namespace

double previewValue(double typed, const EffectParam& param) {
    if (param.unlimited || param.message != nullptr) {
        return typed;
    }
    return std::clamp(typed, lowest(param), highest(param));
}

bool inRange(double typed, const EffectParam& param) {
    return param.unlimited || (typed >= lowest(param) && typed <= highest(param));
}

int sliderPosition(double value, const EffectParam& param) {
    const double scaled = value * param.scale;
    if (!std::isfinite(scaled)) {
        return 0;
    }
    const double rounded = std::round(scaled);  // halves away from zero
    return static_cast<int>(std::clamp(rounded, double{INT_MIN}, double{INT_MAX}));
}

std::string positionText(int position, const EffectParam& param) {
    if (param.scale == 1) {
        return std::to_string(position);
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(position) / param.scale);
    return text;
}

double balanceFactor(int value) {
    const double factor = value >= 0 ? std::round((1 + value * 0.0599) * 100) * 0.01
                                     : std::round((1 - -value * 0.0099) * 100) * 0.01;
    return std::clamp(factor, 0.01, 6.99);
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
