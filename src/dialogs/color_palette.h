#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The colour popup's model: its 40 named colours, which entry starts chosen, where its parts
// lie and where it goes on the screen, and how the arrow keys move through it.
namespace tarn {

using ColorRef = std::uint32_t;  // 0x00BBGGRR
// The "Automatic" choice: the button shows its default colour instead.
inline constexpr ColorRef kAutomaticColor = 0xFF000000;

constexpr ColorRef makeColorRef(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<ColorRef>(red) | (static_cast<ColorRef>(green) << 8) |
           (static_cast<ColorRef>(blue) << 16);
}
constexpr std::uint8_t redOf(ColorRef colour) {
    return colour & 0xFF;
}
constexpr std::uint8_t greenOf(ColorRef colour) {
    return (colour >> 8) & 0xFF;
}
constexpr std::uint8_t blueOf(ColorRef colour) {
    return (colour >> 16) & 0xFF;
}

struct PaletteColor {
    ColorRef colour;
    std::string_view name;
};

inline constexpr int kPaletteSize = 40;
inline constexpr int kPaletteColumns = 8;
inline constexpr int kPaletteRows = (kPaletteSize + kPaletteColumns - 1) / kPaletteColumns;
inline constexpr int kPaletteCellSize = 18;

// Row by row, eight to a row.
const std::array<PaletteColor, kPaletteSize>& colorPalette();

// Entry indices besides the cells 0..39.
inline constexpr int kNoEntry = -1;
inline constexpr int kMoreColorsEntry = -2;
inline constexpr int kAutomaticEntry = -3;

// Which of the two text entries the popup shows (an empty text hides its entry).
struct PopupEntries {
    bool automatic = true;
    bool moreColors = true;
};

// The entry marked chosen when the popup opens on this colour.
int initialChosenIndex(ColorRef colour, PopupEntries entries);

// The colour an entry stands for while hovered: "More Colors..." keeps the initial colour,
// and no entry too.
ColorRef hoveredColour(int index, ColorRef initial);

struct PopupRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool contains(int px, int py) const {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const PopupRect&) const = default;
};

struct TextExtent {
    int width = 0;
    int height = 0;
};

// Where everything of the popup lies, in its own coordinates.
struct PopupLayout {
    int margin = 0;
    int gridTop = 0;
    PopupRect window;
    PopupRect automaticEntry;   // empty when hidden
    PopupRect moreColorsEntry;  // empty when hidden

    PopupRect cell(int index) const;
    // The entry under a point, kNoEntry when none.
    int hitTest(int px, int py) const;
};

// margin: the system's edge width; the extents are those of the two texts in the popup's font,
// zero for a hidden entry.
PopupLayout layoutPopup(int margin, TextExtent automaticText, TextExtent moreColorsText,
                        PopupEntries entries);

// The popup's top-left corner on the screen: below the button's left edge, moved to stay on
// the screen, above the button when there is no room below.
struct PopupPlacement {
    int x = 0;
    int y = 0;
};
PopupPlacement placePopup(const PopupRect& buttonOnScreen, int popupWidth, int popupHeight,
                          const PopupRect& screen);

enum class ArrowKey { Left, Right, Up, Down };

// The entry an arrow key moves to from this one. Left and right run through the cells row by
// row with the text entries at the two ends; up and down move a row, the text entries above
// the top row and below the bottom row, and wrap around. From no entry, the first cell.
int navigateEntry(int from, ArrowKey key, PopupEntries entries);

}  // namespace tarn
