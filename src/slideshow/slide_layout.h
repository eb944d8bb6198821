#pragma once

namespace tarn {

struct SlideRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const SlideRect&) const = default;
};

// Where a slide of width x height goes in an area: at its own size when it fits, else scaled
// down to fill the width or the height with its proportions kept (integer arithmetic); centred
// either way. An empty image or area gives an empty rectangle.
SlideRect fitSlide(int width, int height, int areaWidth, int areaHeight);

// The button strip's size and its place: centred, a fixed distance above the bottom edge.
inline constexpr int kSlideStripWidth = 173;
inline constexpr int kSlideStripHeight = 31;
inline constexpr int kSlideStripBottomOffset = 81;
SlideRect slideStripRect(int areaWidth, int areaHeight);

}  // namespace tarn
