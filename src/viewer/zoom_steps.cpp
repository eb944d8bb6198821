#include "viewer/zoom_steps.h"

#include <algorithm>
#include <cmath>

namespace tarn {

double zoomInStep(double zoom) {
    const auto it = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), zoom);
    return it == kZoomSteps.end() ? kMaxZoom : *it;
}

double zoomOutStep(double zoom) {
    const auto it = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), zoom);
    return it == kZoomSteps.begin() ? kMinStepZoom : *(it - 1);
}

double clampCustomZoom(double zoom) {
    if (std::isnan(zoom)) {
        return kMinStepZoom;
    }
    return std::clamp(zoom, kMinStepZoom, kMaxZoom);
}

}  // namespace tarn
