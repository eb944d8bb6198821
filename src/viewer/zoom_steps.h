#pragma once

#include <array>

namespace tarn {

// The zoom steps of zoom in and zoom out, smallest first. The fixed zoom values of the zoom
// menus are the same nineteen factors, listed largest first.
inline constexpr std::array<double, 19> kZoomSteps{
    0.07, 0.1, 0.15, 0.2, 0.25, 0.3, 0.5, 0.7, 1, 1.5, 2, 3, 4, 5, 6, 7, 8, 12, 16};
inline constexpr double kMinStepZoom = 0.07;
inline constexpr double kMaxZoom = 16.0;

struct FixedZoom {
    int percent;  // menu text is percent followed by "%"
    double zoom;  // the exact factor a check mark compares with
};

// Menu order of the drop-downs of the zoom tool-bar buttons.
inline constexpr std::array<FixedZoom, 19> kFixedZooms{{
    {1600, 16}, {1200, 12}, {800, 8},   {700, 7},  {600, 6},  {500, 5},  {400, 4},
    {300, 3},   {200, 2},   {150, 1.5}, {100, 1},  {70, 0.7}, {50, 0.5}, {30, 0.3},
    {25, 0.25}, {20, 0.2},  {15, 0.15}, {10, 0.1}, {7, 0.07},
}};

// First step strictly above zoom, or 16 when there is none.
double zoomInStep(double zoom);
// Last step strictly below zoom, or 0.07 when there is none.
double zoomOutStep(double zoom);

inline bool canZoomIn(double zoom) {
    return zoom != kMaxZoom;
}
inline bool canZoomOut(double zoom) {
    return zoom != kMinStepZoom;
}

// The range the zoom slider and the zoom-level dialog may ask for: 0.07 .. 16.
double clampCustomZoom(double zoom);

}  // namespace tarn
