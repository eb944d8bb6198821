#include "dialogs/zoom_level_rules.h"

#include "dialogs/number_text.h"
#include "dialogs/resize_rules.h"

namespace tarn {

int zoomPercent(double zoom) {
    return roundedPixels(zoom * 100.0);
}

ZoomStep zoomStep(ZoomChoice choice, const std::string& levelText, double currentZoom) {
    ZoomStep step;
    if (choice != ZoomChoice::Specify) {
        step.fit = static_cast<int>(choice);
        return step;
    }
    const int percent = leadingInteger(levelText);
    if (percent < kMinZoomPercent || percent > kMaxZoomPercent) {
        step.refused = true;
    } else if (percent != zoomPercent(currentZoom)) {
        step.zoom = percent * 0.01;
    }
    return step;
}

}  // namespace tarn
