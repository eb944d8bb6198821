#include "dialogs/color_palette.h"

#include <algorithm>

namespace tarn {

const std::array<PaletteColor, kPaletteSize>& colorPalette() {
    static const std::array<PaletteColor, kPaletteSize> palette{{
        {makeColorRef(0, 0, 0), "Black"},
        {makeColorRef(165, 42, 0), "Brown"},
        {makeColorRef(0, 64, 64), "Dark Olive Green"},
        {makeColorRef(0, 85, 0), "Dark Green"},
        {makeColorRef(0, 0, 94), "Dark Teal"},
        {makeColorRef(0, 0, 139), "Dark blue"},
        {makeColorRef(75, 0, 130), "Indigo"},
        {makeColorRef(40, 40, 40), "Dark grey"},
        {makeColorRef(139, 0, 0), "Dark red"},
        {makeColorRef(255, 104, 32), "Orange"},
        {makeColorRef(139, 139, 0), "Dark yellow"},
        {makeColorRef(0, 147, 0), "Green"},
        {makeColorRef(56, 142, 142), "Teal"},
        {makeColorRef(0, 0, 255), "Blue"},
        {makeColorRef(123, 123, 192), "Blue-grey"},
        {makeColorRef(102, 102, 102), "Grey - 40"},
        {makeColorRef(255, 0, 0), "Red"},
        {makeColorRef(255, 173, 91), "Light orange"},
        {makeColorRef(50, 205, 50), "Lime"},
        {makeColorRef(60, 179, 113), "Sea green"},
        {makeColorRef(127, 255, 212), "Aqua"},
        {makeColorRef(125, 158, 192), "Light blue"},
        {makeColorRef(128, 0, 128), "Violet"},
        {makeColorRef(127, 127, 127), "Grey - 50"},
        {makeColorRef(255, 192, 203), "Pink"},
        {makeColorRef(255, 215, 0), "Gold"},
        {makeColorRef(255, 255, 0), "Yellow"},
        {makeColorRef(0, 255, 0), "Bright green"},
        {makeColorRef(64, 224, 208), "Turquoise"},
        {makeColorRef(192, 255, 255), "Skyblue"},
        {makeColorRef(72, 0, 72), "Plum"},
        {makeColorRef(192, 192, 192), "Light grey"},
        {makeColorRef(255, 228, 225), "Rose"},
        {makeColorRef(210, 180, 140), "Tan"},
        {makeColorRef(255, 255, 224), "Light yellow"},
        {makeColorRef(152, 251, 152), "Pale green "},
        {makeColorRef(175, 238, 238), "Pale turquoise"},
        {makeColorRef(104, 131, 139), "Pale blue"},
        {makeColorRef(230, 230, 250), "Lavender"},
        {makeColorRef(255, 255, 255), "White"},
    }};
    return palette;
}

int initialChosenIndex(ColorRef colour, PopupEntries entries) {
    if (colour == kAutomaticColor) {
        return entries.automatic ? kAutomaticEntry : kNoEntry;
    }
    const auto& palette = colorPalette();
    for (int i = 0; i < kPaletteSize; ++i) {
        if (palette[i].colour == colour) {
            return i;
        }
    }
    return entries.moreColors ? kMoreColorsEntry : kNoEntry;
}

ColorRef hoveredColour(int index, ColorRef initial) {
    if (index >= 0 && index < kPaletteSize) {
        return colorPalette()[index].colour;
    }
    return index == kAutomaticEntry ? kAutomaticColor : initial;
}

PopupRect PopupLayout::cell(int index) const {
    const int row = index / kPaletteColumns;
    const int column = index % kPaletteColumns;
    return {margin + column * kPaletteCellSize, gridTop + row * kPaletteCellSize, kPaletteCellSize,
            kPaletteCellSize};
}

int PopupLayout::hitTest(int px, int py) const {
    if (moreColorsEntry.contains(px, py)) {
        return kMoreColorsEntry;
    }
    if (automaticEntry.contains(px, py)) {
        return kAutomaticEntry;
    }
    if (px < margin || py < gridTop) {
        return kNoEntry;
    }
    const int column = (px - margin) / kPaletteCellSize;
    const int row = (py - gridTop) / kPaletteCellSize;
    const int index = row * kPaletteColumns + column;
    if (column >= kPaletteColumns || row >= kPaletteRows || index >= kPaletteSize) {
        return kNoEntry;
    }
    return index;
}

PopupLayout layoutPopup(int margin, TextExtent automaticText, TextExtent moreColorsText,
                        PopupEntries entries) {
    PopupLayout layout;
    layout.margin = margin;
    const int textHeight = std::max(automaticText.height, moreColorsText.height) + 4 * margin + 2;
    const int textWidth = std::max(automaticText.width, moreColorsText.width) + 2 * margin;
    const int gridWidth = kPaletteColumns * kPaletteCellSize;
    // A long text widens the window rather than spilling over its edge.
    const int width = std::max(2 * margin + gridWidth, textWidth + 2 * margin);
    int height = 2 * margin + kPaletteRows * kPaletteCellSize;
    layout.gridTop = margin;
    if (entries.automatic) {
        layout.automaticEntry = {margin, margin, width - 2 * margin, textHeight};
        layout.gridTop += textHeight + margin;
        height += textHeight + 2 * margin;
    }
    if (entries.moreColors) {
        const int gridBottom = layout.gridTop + kPaletteRows * kPaletteCellSize;
        layout.moreColorsEntry = {margin, gridBottom + 2 * margin, width - 2 * margin, textHeight};
        height += textHeight + 2 * margin;
    }
    layout.window = {0, 0, width, height};
    return layout;
}

PopupPlacement placePopup(const PopupRect& buttonOnScreen, int popupWidth, int popupHeight,
                          const PopupRect& screen) {
    PopupPlacement at{buttonOnScreen.x, buttonOnScreen.y + buttonOnScreen.height};
    if (at.x + popupWidth > screen.x + screen.width) {
        at.x = screen.x + screen.width - popupWidth;
    }
    if (at.x < screen.x) {
        at.x = screen.x;
    }
    if (at.y + popupHeight > screen.y + screen.height) {
        at.y = buttonOnScreen.y - popupHeight;
    }
    return at;
}

namespace {

constexpr int kLastCell = kPaletteSize - 1;
constexpr int kLastRowStart = (kPaletteRows - 1) * kPaletteColumns;

int horizontal(int from, bool forward, PopupEntries entries) {
    // One ring: Automatic, the cells in reading order, More Colors...
    const int first = entries.automatic ? kAutomaticEntry : 0;
    const int last = entries.moreColors ? kMoreColorsEntry : kLastCell;
    if (forward) {
        if (from == last) {
            return first;
        }
        if (from == kAutomaticEntry) {
            return 0;
        }
        return from == kLastCell ? kMoreColorsEntry : from + 1;
    }
    if (from == first) {
        return last;
    }
    if (from == kMoreColorsEntry) {
        return kLastCell;
    }
    return from == 0 ? kAutomaticEntry : from - 1;
}

int vertical(int from, bool down, PopupEntries entries) {
    if (from == kAutomaticEntry) {
        if (down) {
            return 0;
        }
        return entries.moreColors ? kMoreColorsEntry : kLastRowStart;
    }
    if (from == kMoreColorsEntry) {
        if (!down) {
            return kLastRowStart;
        }
        return entries.automatic ? kAutomaticEntry : 0;
    }
    const int column = from % kPaletteColumns;
    if (down) {
        if (from + kPaletteColumns <= kLastCell) {
            return from + kPaletteColumns;
        }
        if (entries.moreColors) {
            return kMoreColorsEntry;
        }
        return entries.automatic ? kAutomaticEntry : column;
    }
    if (from - kPaletteColumns >= 0) {
        return from - kPaletteColumns;
    }
    if (entries.automatic) {
        return kAutomaticEntry;
    }
    if (entries.moreColors) {
        return kMoreColorsEntry;
    }
    return std::min(kLastRowStart + column, kLastCell);
}

}  // namespace

int navigateEntry(int from, ArrowKey key, PopupEntries entries) {
    const bool known = (from >= 0 && from < kPaletteSize) ||
                       (from == kAutomaticEntry && entries.automatic) ||
                       (from == kMoreColorsEntry && entries.moreColors);
    if (!known) {
        return 0;
    }
    switch (key) {
        case ArrowKey::Left:
            return horizontal(from, false, entries);
        case ArrowKey::Right:
            return horizontal(from, true, entries);
        case ArrowKey::Up:
            return vertical(from, false, entries);
        case ArrowKey::Down:
            return vertical(from, true, entries);
    }
    return from;
}

}  // namespace tarn
