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
    // Read as a real number (else as an integer).
    bool real = false;
    // Taken as typed, without any limit (the slider shows it rounded).
    bool unlimited = false;
    // The slider and the spin button count in 1 / scale: the value's range is minimum / scale
    // to maximum / scale, and they write it with two decimals.
    int scale = 1;
    // With two panes: the group box shared with the parameters of the same group; without
    // one the parameter has a group box of its own, titled with its caption.
    const char* group = nullptr;
};

// The box's text as a handler reads it: at most maxText characters, the leading number (an
// integer unless the parameter is real), empty or letters giving 0.
double readParamText(const std::string& text, const EffectParam& param);

// The value the preview uses: parameters with a message are previewed as typed (they are
// checked on "Ok" only), real ones as typed, the others limited to their range.
double previewValue(double typed, const EffectParam& param);

// Whether "Ok" takes the typed value as it is.
bool inRange(double typed, const EffectParam& param);

// The slider's position for a value: rounded value * scale, halves away from zero, kept in
// the int range.
int sliderPosition(double value, const EffectParam& param);

// The text a slider or spin button position writes into the box: the integer, or "%.2f" of
// position / scale.
std::string positionText(int position, const EffectParam& param);

// A colour balance value (-100..100) as a gamma factor: 0 gives 1.00, 100 gives 6.99 and -100
// 0.01, in hundredths.
double balanceFactor(int value);

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
