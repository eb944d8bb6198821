#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {

// Status-bar panes by number.
namespace pane {
inline constexpr int kTotals = 152;
inline constexpr int kName = 148;
inline constexpr int kModified = 157;
inline constexpr int kSize = 142;
inline constexpr int kDimensions = 146;
inline constexpr int kPosition = 147;
inline constexpr int kMouse = 150;
inline constexpr int kZoom = 149;
inline constexpr int kSlider = 151;
}  // namespace pane

// The text that sizes a pane before its first refresh.
std::string_view paneSampleText(int paneId);

enum class StatusSituation { Browser, ImageLoaded, NoImage };
// Panes installed for a situation, in order.
std::span<const int> paneSet(StatusSituation situation);

// The slider and its magnifier icon at the right end of the bar.
inline constexpr int kSliderPaneWidth = 136;
inline constexpr int kSliderWidth = 120;
inline constexpr int kSliderRightGap = 19;  // slider x = bar width - 139
inline constexpr int kIconWidth = 16;       // icon just left of the slider
inline constexpr int kStatusBarMinHeight = 24;
inline int sliderX(int barWidth) {
    return barWidth - kSliderWidth - kSliderRightGap;
}
inline int sliderIconX(int barWidth) {
    return sliderX(barWidth) - kIconWidth;
}

// One pane's content; a pane with nothing to show is disabled and gets width 0.
struct PaneText {
    int id;
    std::string text;
    bool enabled = true;
    bool stretch = false;  // fills the bar without border ("No images")
};

// "Selected 2 objects (1.50 KB)" when items are selected, else "Total 3 objects (0 byte)".
// Sizes sum file items only; folders count but add nothing.
std::string countPaneText(bool selection, std::size_t count, std::uint64_t fileBytes);

// "Modified Date: 2000-01-01 12:00:00"; nothing for a zero time.
std::optional<std::string> modifiedPaneText(std::time_t modified);

// What the browser panes describe.
struct BrowserStatus {
    std::size_t itemCount = 0;
    std::uint64_t totalFileBytes = 0;  // all file items
    std::size_t selectedCount = 0;
    std::uint64_t selectedFileBytes = 0;  // selected file items
    std::string folderName;               // display name of the listed folder
    std::time_t folderModified = 0;
    bool hasFocusedItem = false;
    std::string focusedName;
    std::time_t focusedModified = 0;
    std::uint64_t focusedSize = 0;
    int focusedWidth = 0;  // 0 when the pixel size is not known
    int focusedHeight = 0;
};
// Panes 152, 148, 157, 142, 146, 151 in order.
std::vector<PaneText> browserPanes(const BrowserStatus& status);

// What the image-mode panes describe.
struct ImageStatus {
    int imagesBefore = 0;  // image files of the folder before the current item
    int imageCount = 0;    // image files of the folder
    std::string fileName;  // without folder
    std::uint64_t fileSize = 0;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int mouseX = 0;  // image pixel under the pointer, clamped to the image here
    int mouseY = 0;
    bool hasSelection = false;
    int selectionWidth = 0;
    int selectionHeight = 0;
    double zoom = 1.0;
};
// Panes 147, 148, 142, 146, 150, 149, 151 in order.
std::vector<PaneText> imagePanes(const ImageStatus& status);
// Image mode without an image: pane 152 alone reading "No images".
std::vector<PaneText> noImagePanes();

// "X:10, Y:20", then " - 30x40" with a selection.
std::string mousePaneText(const ImageStatus& status);
// Zoom factor in percent, rounded half up: "100%", "7%".
std::string zoomPaneText(double zoom);

// A pane placed on the bar.
struct PaneLayout {
    int id;
    std::string text;
    int width;
    bool enabled;
    bool border;   // false for the slider pane and the stretched "No images" pane
    bool stretch;  // takes the whole bar ("No images")
};

// Widths by the bar's rule: the room for text panes is clientWidth - 203 (+ 8 in the
// browser); panes take the width of their text in order while room is left, so later panes
// shrink to 0 first; a disabled pane gets 0; the slider pane always 136. measure gives a
// text's width in the bar's font.
std::vector<PaneLayout> layoutPanes(std::span<const PaneText> panes, int clientWidth, bool browser,
                                    const std::function<int(std::string_view)>& measure);

// Slider positions (0..100) for the thumbnail size and the zoom factor, and back.
int thumbnailSizeToSlider(int size);
int sliderToThumbnailSize(int position);
int zoomToSlider(double zoom);
double sliderToZoom(int position);

}  // namespace tarn
