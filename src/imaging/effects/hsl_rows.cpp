// The adjustHSL pixel loop. Built with -fno-trapping-math -ffinite-math-only -fno-signed-zeros
// (sources.cmake) so that its selects become vector blends and minimum/maximum instructions;
// every value in it is finite, and it has no NaN tests to lose.
#include "imaging/effects/hsl_rows.h"

#include <algorithm>

#include "imaging/effects/multiversion.h"

namespace tarn::hsl {

namespace {

constexpr int kChunk = 256;

// Shifts n pixels held as separate channel arrays (0-255); leaves value + 0.5 for truncation.
[[gnu::always_inline]] inline void shiftChunk(float* __restrict red, float* __restrict green,
                                              float* __restrict blue, int n, const Shift& shift) {
    const float lightnessOffset = shift.offset255 + 0.5f;
    for (int i = 0; i < n; ++i) {
        const float r = red[i];
        const float g = green[i];
        const float b = blue[i];
        const float high = greater(r, greater(g, b));
        const float low = lesser(r, lesser(g, b));
        const float sum = high + low;
        const float delta = high - low;
        // Grey has delta 0, so saturation 0 and a hue that does not matter. One division gives
        // both 1 / delta and delta / spread.
        const float spread = lesser(sum, 510.0f - sum);
        const float safeDelta = greater(delta, 1.0f);
        const float safeSpread = greater(spread, 1.0f);
        const float quotient = 1.0f / (safeDelta * safeSpread);
        const float numerator = high == r ? g - b : (high == g ? b - r : r - g);
        const float base = high == r ? (g < b ? 6.0f : 0.0f) : (high == g ? 2.0f : 4.0f);
        float hue = numerator * (safeSpread * quotient) + (base + shift.hue);
        // Now in [0, 9): channel() wraps once, and past 6 only ramps that are flat anyway.
        hue += hue < 0.0f ? 6.0f : 0.0f;
        const float saturation =
            lesser(delta * (safeDelta * quotient) * shift.saturationScale, 1.0f);
        const float rounded = sum * shift.halfScale + lightnessOffset;
        const float chroma = saturation * lesser(rounded - 0.5f, 255.5f - rounded);
        const float twiceHue = hue + hue;
        red[i] = channel(twiceHue, -6.0f, rounded, chroma);
        green[i] = channel(twiceHue, 2.0f, rounded, chroma);
        blue[i] = channel(twiceHue, -2.0f, rounded, chroma);
    }
}

// Pixels of step bytes (3 or 4; the fourth byte stays), as in a row or a palette.
template <int Step>
[[gnu::always_inline]] inline void shiftPixelsOf(BYTE* pixels, int count, const Shift& shift) {
    float red[kChunk];
    float green[kChunk];
    float blue[kChunk];
    for (int start = 0; start < count; start += kChunk) {
        const int n = std::min(kChunk, count - start);
        BYTE* first = pixels + start * Step;
        for (int i = 0; i < n; ++i) {
            red[i] = first[i * Step + FI_RGBA_RED];
            green[i] = first[i * Step + FI_RGBA_GREEN];
            blue[i] = first[i * Step + FI_RGBA_BLUE];
        }
        shiftChunk(red, green, blue, n, shift);
        for (int i = 0; i < n; ++i) {
            first[i * Step + FI_RGBA_RED] = static_cast<BYTE>(lesser(red[i], 255.0f));
            first[i * Step + FI_RGBA_GREEN] = static_cast<BYTE>(lesser(green[i], 255.0f));
            first[i * Step + FI_RGBA_BLUE] = static_cast<BYTE>(lesser(blue[i], 255.0f));
        }
    }
}

}  // namespace

Shift shiftOf(int hue, int saturation, int lightness) {
    const auto percent = [](int value) { return static_cast<float>(std::clamp(value, -100, 100)); };
    // Toward 0: l * (1 + p); toward 1: l + (1 - l) * p = l * (1 - p) + p.
    const float toward = percent(lightness) / 100.0f;
    const float scale = toward < 0 ? 1.0f + toward : 1.0f - toward;
    const float offset = toward < 0 ? 0.0f : toward * 255.0f;
    return Shift{percent(hue) * 0.03f, 1.0f + percent(saturation) / 100.0f, scale * 0.5f, offset};
}

// The wider units also bring more vector registers, so that the loop need not spill.
TARN_CLONES("avx512f", "avx2", "default")
void shiftPixels(BYTE* first, int count, int step, const Shift& shift) {
    if (step == 3) {
        shiftPixelsOf<3>(first, count, shift);
    } else {
        shiftPixelsOf<4>(first, count, shift);
    }
}

}  // namespace tarn::hsl
