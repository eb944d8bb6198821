#pragma once

// The pixel arithmetic of the HSL effects, shared by colorize's table and adjustHSL's rows.
#include <FreeImage.h>

namespace tarn::hsl {

// By value: std::min and std::max of temporaries leave loads the vectoriser will not touch.
template <typename Real>
inline Real lesser(Real a, Real b) {
    return b < a ? b : a;
}

template <typename Real>
inline Real greater(Real a, Real b) {
    return a < b ? b : a;
}

// A channel of the colour of a hue, from twice the hue in sextants (0 to 12, or up to 18 for the
// same hue less 6) and the channel's phase: -6 for red, 2 for green, -2 for blue. One formula
// for every sector, without branches.
template <typename Real>
inline Real channel(Real twiceHue, Real phase, Real lightness, Real chroma) {
    Real t = twiceHue + phase;
    t -= t >= 6 ? Real(12) : Real(0);
    const Real distance = t < 0 ? -t : t;
    return lightness - chroma * greater(Real(-1), lesser(Real(3) - distance, Real(1)));
}

// An HSL change in the units of the pixel loop: hue in sextants; saturation as a factor;
// lightness times 255 as (max + min) * halfScale + offset255.
struct Shift {
    float hue;
    float saturationScale;
    float halfScale;
    float offset255;

    bool isNone() const { return hue == 0 && saturationScale == 1 && halfScale == 0.5f; }
};

// From the percentages of the dialog, each limited to -100..100.
Shift shiftOf(int hue, int saturation, int lightness);

// Shifts count pixels of step bytes (3, or 4 with the fourth kept) from first on.
void shiftPixels(BYTE* first, int count, int step, const Shift& shift);

}  // namespace tarn::hsl
