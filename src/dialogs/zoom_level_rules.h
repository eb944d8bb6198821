#pragma once

#include <array>
#include <optional>
#include <string>

namespace tarn {

// "Set Zoom Level": the list of levels and what "Ok" asks of the image view.

inline constexpr std::array<const char*, 19> kZoomLevelNames = {
    "7",   "10",  "15",  "20",  "25",  "30",  "50",  "70",   "100", "150",
    "200", "300", "400", "500", "600", "700", "800", "1200", "1600"};
inline constexpr int kMinZoomPercent = 7;
inline constexpr int kMaxZoomPercent = 1600;
inline constexpr const char* kZoomLevelMessage =
    "You must specify a valid zoom level (7% - 1600%).";

enum class ZoomChoice { FitImage = 0, FitWidth = 1, FitHeight = 2, Specify = 3 };

// The view's zoom factor (1.0 = 100%) as the list shows it.
int zoomPercent(double zoom);

// What "Ok" does to the view before the lock state is looked at.
struct ZoomStep {
    bool refused = false;        // the typed level is out of range: say so, stay open
    std::optional<double> zoom;  // a new zoom factor
    std::optional<int> fit;      // 0 whole image, 1 width, 2 height
};

// A typed level equal to the current one changes nothing (only the lock may change).
ZoomStep zoomStep(ZoomChoice choice, const std::string& levelText, double currentZoom);

}  // namespace tarn
