#include "frame/status_bar_texts.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/rounding.h"
#include "common/text_format.h"

namespace tarn {

namespace {

constexpr std::array kBrowserSet{pane::kTotals, pane::kName,       pane::kModified,
                                 pane::kSize,   pane::kDimensions, pane::kSlider};
constexpr std::array kImageSet{pane::kPosition, pane::kName, pane::kSize,  pane::kDimensions,
                               pane::kMouse,    pane::kZoom, pane::kSlider};
constexpr std::array kNoImageSet{pane::kTotals};

// Room for the slider, its icon and the bar's grip.
constexpr int kReservedWidth = 203;
constexpr int kBrowserExtraWidth = 8;

}  // namespace

std::string_view paneSampleText(int paneId) {
    switch (paneId) {
        case pane::kTotals:
            return "Total 2 files";
        case pane::kName:
            return "Test.jpg";
        case pane::kModified:
            return "Modified Date: 2000-01-01 12:00:00";
        case pane::kSize:
            return "1000KB";
        case pane::kDimensions:
            return "1024x1024";
        case pane::kPosition:
            return "12/1230";
        case pane::kMouse:
            return "1024X3000";
        case pane::kZoom:
            return "1600%";
        case pane::kSlider:
            return "ID_INDICATOR_ZOOM_SLIDER";
        default:
            return {};
    }
}

std::span<const int> paneSet(StatusSituation situation) {
    switch (situation) {
        case StatusSituation::Browser:
            return kBrowserSet;
        case StatusSituation::ImageLoaded:
            return kImageSet;
        case StatusSituation::NoImage:
            return kNoImageSet;
    }
    return {};
}

std::string countPaneText(bool selection, std::size_t count, std::uint64_t fileBytes) {
    std::string text = selection ? "Selected " : "Total ";
    text += std::to_string(count);
    text += count > 1 ? " objects (" : " object (";
    text += sizeText(fileBytes);
    text += ')';
    return text;
}

std::optional<std::string> modifiedPaneText(std::time_t modified) {
    if (modified == 0) {
        return std::nullopt;
    }
    return "Modified Date: " + dateTimeText(modified);
}

std::vector<PaneText> browserPanes(const BrowserStatus& s) {
    std::vector<PaneText> panes;
    const bool selection = s.selectedCount > 0;
    panes.push_back(
        {pane::kTotals, countPaneText(selection, selection ? s.selectedCount : s.itemCount,
                                      selection ? s.selectedFileBytes : s.totalFileBytes)});

    const std::string& name = s.hasFocusedItem ? s.focusedName : s.folderName;
    panes.push_back({pane::kName, name, !name.empty()});

    const auto modified = modifiedPaneText(s.hasFocusedItem ? s.focusedModified : s.folderModified);
    panes.push_back({pane::kModified, modified.value_or(std::string{}), modified.has_value()});

    if (s.hasFocusedItem) {
        panes.push_back({pane::kSize, sizeText(s.focusedSize)});
    } else {
        panes.push_back({pane::kSize, {}, false});
    }

    if (s.hasFocusedItem && s.focusedWidth > 0 && s.focusedHeight > 0) {
        panes.push_back({pane::kDimensions,
                         std::to_string(s.focusedWidth) + "x" + std::to_string(s.focusedHeight)});
    } else {
        panes.push_back({pane::kDimensions, {}, false});
    }
    panes.push_back({pane::kSlider, {}, false});
    return panes;
}

std::string mousePaneText(const ImageStatus& s) {
    const int x = std::clamp(s.mouseX, 0, std::max(0, s.width - 1));
    const int y = std::clamp(s.mouseY, 0, std::max(0, s.height - 1));
    std::string text = "X:" + std::to_string(x) + ", Y:" + std::to_string(y);
    if (s.hasSelection) {
        text += " - " + std::to_string(s.selectionWidth) + "x" + std::to_string(s.selectionHeight);
    }
    return text;
}

std::string zoomPaneText(double zoom) {
    const double percent = std::floor(zoom * 100.0 + 0.5);
    return std::to_string(static_cast<long long>(percent)) + "%";
}

std::vector<PaneText> imagePanes(const ImageStatus& s) {
    std::vector<PaneText> panes;
    panes.push_back(
        {pane::kPosition, std::to_string(s.imagesBefore + 1) + "/" + std::to_string(s.imageCount)});
    panes.push_back({pane::kName, s.fileName, !s.fileName.empty()});
    panes.push_back({pane::kSize, sizeText(s.fileSize)});
    panes.push_back({pane::kDimensions, std::to_string(s.width) + "x" + std::to_string(s.height) +
                                            "x" + std::to_string(s.bitsPerPixel) + "b"});
    panes.push_back({pane::kMouse, mousePaneText(s)});
    panes.push_back({pane::kZoom, zoomPaneText(s.zoom)});
    panes.push_back({pane::kSlider, {}, false});
    return panes;
}

std::vector<PaneText> noImagePanes() {
    return {PaneText{pane::kTotals, "No images", true, true}};
}

std::vector<PaneLayout> layoutPanes(std::span<const PaneText> panes, int clientWidth, bool browser,
                                    const std::function<int(std::string_view)>& measure) {
    std::vector<PaneLayout> out;
    out.reserve(panes.size());
    int left = clientWidth - kReservedWidth + (browser ? kBrowserExtraWidth : 0);
    for (const PaneText& p : panes) {
        if (p.id == pane::kSlider) {
            out.push_back({p.id, {}, kSliderPaneWidth, false, false, false});
            continue;
        }
        if (p.stretch) {
            out.push_back({p.id, p.text, std::max(0, clientWidth), p.enabled, false, true});
            continue;
        }
        bool enabled = p.enabled;
        // The pixel size shows only while room is left.
        if (p.id == pane::kDimensions && browser && left <= 0) {
            enabled = false;
        }
        int width = 0;
        if (enabled) {
            width = std::clamp(measure(p.text), 0, std::max(0, left));
            left -= width;
        }
        out.push_back({p.id, enabled ? p.text : std::string{}, width, enabled, true, false});
    }
    return out;
}

int thumbnailSizeToSlider(int size) {
    const int clamped = std::clamp(size, 36, 200);
    return roundToInt((clamped - 36) * 0.6097560975609756);
}

int sliderToThumbnailSize(int position) {
    return std::clamp(roundToInt(position * 0.01 * 164 + 36), 36, 200);
}

int zoomToSlider(double zoom) {
    if (zoom > 16) {
        return 100;
    }
    if (zoom < 0.07) {
        return 0;
    }
    if (zoom <= 1) {
        return roundToInt((zoom - 0.07) * 53.76344086021506);
    }
    return roundToInt((zoom - 1) * 3.3333333333333335 + 50);
}

double sliderToZoom(int position) {
    const double zoom = position > 50 ? (position - 50) * 0.3 + 1 : position * 0.0186 + 0.07;
    return std::clamp(zoom, 0.07, 16.0);
}

}  // namespace tarn
