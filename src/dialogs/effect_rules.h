#pragma once

#include <cstddef>
#include <string>

namespace tarn {

// The arithmetic of the effect dialogs: how a parameter's box is read, limited and handed back.
// No windows here.

// One parameter of an effect dialog: its slider, edit box and spin button.
struct EffectParam {
    const char* caption;
    int minimum;
    int maximum;
    int initial;
    int tick;
    // Digits only, or any text (signs and decimal points).
    bool digitsOnly = true;
    // How much of the box's text is read.
    std::size_t maxText = 1000;
    // Shown on "Ok" when the box is out of range; without one the value is limited silently.
    const char* message = nullptr;
    // A real number without any limit (the slider shows it rounded).
    bool real = false;
};

// The box's text as a handler reads it: at most maxText characters, the leading number (an
// integer unless the parameter is real), empty or letters giving 0.
double readParamText(const std::string& text, const EffectParam& param);

// The value the preview uses: parameters with a message are previewed as typed (they are
// checked on "Ok" only), real ones as typed, the others limited to their range.
double previewValue(double typed, const EffectParam& param);

// Whether "Ok" takes the typed value as it is.
bool inRange(double typed, const EffectParam& param);

// The slider's position for a value: rounded, halves away from zero, kept in the int range.
int sliderPosition(double value);

// The upper limit of a size-like parameter: cap, or side - 1 when the side is at most cap;
// never below minimum, so that a tiny or missing thumbnail still leaves a range.
int sizeLimit(int cap, int side, int minimum);

// A size measured on the thumbnail in source pixels: rounded(value * source / thumbnail), then
// at least minimum; 0 when either width is 0.
int scaledToSource(int value, int sourceWidth, int thumbnailWidth, int minimum);

// The blur radius handed back: the typed one, at most the source's smaller side - 1 and then
// at least 2.
int averageBlurRadius(int typed, int sourceWidth, int sourceHeight);

}  // namespace tarn
