#include "dialogs/color_palette.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tarn {
namespace {

constexpr PopupEntries kBoth{true, true};
constexpr PopupEntries kGridOnly{false, false};

TEST(ColorPalette, FortyDistinctNamedColoursRowByRow) {
    const auto& palette = colorPalette();
    std::set<ColorRef> colours;
    std::set<std::string_view> names;
    for (const PaletteColor& entry : palette) {
        colours.insert(entry.colour);
        names.insert(entry.name);
    }
    EXPECT_EQ(colours.size(), 40u);
    EXPECT_EQ(names.size(), 40u);
    EXPECT_EQ(palette[0].name, "Black");
    EXPECT_EQ(palette[0].colour, 0u);
    // 0x00BBGGRR: red in the low byte.
    EXPECT_EQ(palette[1].colour, 0x00002AA5u);
    EXPECT_EQ(palette[16].name, "Red");
    EXPECT_EQ(palette[16].colour, 0x000000FFu);
    EXPECT_EQ(palette[13].colour, 0x00FF0000u);
    EXPECT_EQ(palette[35].name, "Pale green ");
    EXPECT_EQ(palette[35].colour, makeColorRef(152, 251, 152));
    EXPECT_EQ(palette[39].name, "White");
    EXPECT_EQ(palette[39].colour, 0x00FFFFFFu);
    EXPECT_EQ(kPaletteRows, 5);
}

TEST(ColorPalette, InitialChoiceFollowsTheColourAndTheEntriesShown) {
    EXPECT_EQ(initialChosenIndex(0xFFFFFF, kBoth), 39);
    EXPECT_EQ(initialChosenIndex(makeColorRef(255, 104, 32), kBoth), 9);
    EXPECT_EQ(initialChosenIndex(kAutomaticColor, kBoth), kAutomaticEntry);
    EXPECT_EQ(initialChosenIndex(kAutomaticColor, {false, true}), kNoEntry);
    EXPECT_EQ(initialChosenIndex(makeColorRef(1, 2, 3), kBoth), kMoreColorsEntry);
    EXPECT_EQ(initialChosenIndex(makeColorRef(1, 2, 3), {true, false}), kNoEntry);
    // Black is a palette colour, not "no colour".
    EXPECT_EQ(initialChosenIndex(0, kGridOnly), 0);
}

TEST(ColorPalette, HoveredEntriesStandForTheirColours) {
    const ColorRef initial = makeColorRef(1, 2, 3);
    EXPECT_EQ(hoveredColour(26, initial), makeColorRef(255, 255, 0));
    EXPECT_EQ(hoveredColour(kAutomaticEntry, initial), kAutomaticColor);
    EXPECT_EQ(hoveredColour(kMoreColorsEntry, initial), initial);
    EXPECT_EQ(hoveredColour(kNoEntry, initial), initial);
}

TEST(ColorPopupLayout, EntriesAboveAndBelowTheGrid) {
    const int margin = 2;
    const PopupLayout layout = layoutPopup(margin, {60, 15}, {80, 13}, kBoth);
    const int textHeight = 15 + 4 * margin + 2;
    EXPECT_EQ(layout.window.width, 2 * margin + 8 * 18);
    EXPECT_EQ(layout.window.height, 2 * margin + 5 * 18 + 2 * (textHeight + 2 * margin));
    EXPECT_EQ(layout.automaticEntry, (PopupRect{margin, margin, 8 * 18, textHeight}));
    EXPECT_EQ(layout.gridTop, margin + textHeight + margin);
    EXPECT_EQ(layout.cell(0), (PopupRect{margin, layout.gridTop, 18, 18}));
    EXPECT_EQ(layout.cell(9), (PopupRect{margin + 18, layout.gridTop + 18, 18, 18}));
    const PopupRect last = layout.cell(39);
    EXPECT_EQ(layout.moreColorsEntry.height, textHeight);
    EXPECT_GT(layout.moreColorsEntry.y, last.y + last.height - 1);
    EXPECT_LE(layout.moreColorsEntry.y + layout.moreColorsEntry.height,
              layout.window.height - margin);
}

TEST(ColorPopupLayout, HiddenEntriesTakeNoRoomAndLongTextsWidenTheWindow) {
    const PopupLayout grid = layoutPopup(2, {}, {}, kGridOnly);
    EXPECT_EQ(grid.window, (PopupRect{0, 0, 4 + 144, 4 + 90}));
    EXPECT_TRUE(grid.automaticEntry.empty());
    EXPECT_TRUE(grid.moreColorsEntry.empty());
    EXPECT_EQ(grid.gridTop, 2);
    EXPECT_EQ(grid.hitTest(100, 100), kNoEntry);

    const PopupLayout wide = layoutPopup(2, {}, {200, 14}, {false, true});
    EXPECT_EQ(wide.window.width, 200 + 4 + 4);
    EXPECT_EQ(wide.gridTop, 2);
    EXPECT_EQ(wide.moreColorsEntry.width, 204);
}

TEST(ColorPopupLayout, PointsFindTheirEntry) {
    const PopupLayout layout = layoutPopup(2, {60, 15}, {80, 15}, kBoth);
    const PopupRect cell = layout.cell(21);
    EXPECT_EQ(layout.hitTest(cell.x, cell.y), 21);
    EXPECT_EQ(layout.hitTest(cell.x + 17, cell.y + 17), 21);
    EXPECT_EQ(layout.hitTest(cell.x + 18, cell.y), 22);
    EXPECT_EQ(layout.hitTest(10, 5), kAutomaticEntry);
    EXPECT_EQ(layout.hitTest(10, layout.moreColorsEntry.y + 1), kMoreColorsEntry);
    // The margins and the gaps between the parts belong to nothing.
    EXPECT_EQ(layout.hitTest(0, layout.gridTop), kNoEntry);
    EXPECT_EQ(layout.hitTest(2 + 144, layout.gridTop), kNoEntry);
    EXPECT_EQ(layout.hitTest(10, layout.gridTop + 90), kNoEntry);
    EXPECT_EQ(layout.hitTest(-5, -5), kNoEntry);
}

TEST(ColorPopupPlacement, BelowTheButtonUnlessTheScreenEdgeIsInTheWay) {
    const PopupRect screen{0, 0, 1280, 1024};
    const int width = 148;
    const int height = 160;
    // Room below: at the button's bottom-left corner.
    auto at = placePopup({100, 200, 60, 26}, width, height, screen);
    EXPECT_EQ(at.x, 100);
    EXPECT_EQ(at.y, 226);
    // Near the bottom: above the button.
    at = placePopup({100, 900, 60, 26}, width, height, screen);
    EXPECT_EQ(at.y, 900 - height);
    // Touching the bottom exactly still fits.
    at = placePopup({100, 1024 - 26 - height, 60, 26}, width, height, screen);
    EXPECT_EQ(at.y, 1024 - height);
    // Past the right edge: shifted left to end at it.
    at = placePopup({1200, 100, 60, 26}, width, height, screen);
    EXPECT_EQ(at.x, 1280 - width);
    // Past the left edge of a screen that starts further right.
    at = placePopup({1270, 100, 60, 26}, width, height, {1280, 0, 1024, 768});
    EXPECT_EQ(at.x, 1280);
    // Both at once: the bottom-right corner.
    at = placePopup({1250, 1000, 30, 24}, width, height, screen);
    EXPECT_EQ(at.x, 1280 - width);
    EXPECT_EQ(at.y, 1000 - height);
}

TEST(ColorPopupKeys, LeftAndRightRunThroughTheCellsAndTheEntries) {
    EXPECT_EQ(navigateEntry(0, ArrowKey::Right, kBoth), 1);
    EXPECT_EQ(navigateEntry(7, ArrowKey::Right, kBoth), 8);  // to the next row
    EXPECT_EQ(navigateEntry(8, ArrowKey::Left, kBoth), 7);   // back to the row above
    EXPECT_EQ(navigateEntry(39, ArrowKey::Right, kBoth), kMoreColorsEntry);
    EXPECT_EQ(navigateEntry(kMoreColorsEntry, ArrowKey::Right, kBoth), kAutomaticEntry);
    EXPECT_EQ(navigateEntry(kAutomaticEntry, ArrowKey::Right, kBoth), 0);
    EXPECT_EQ(navigateEntry(0, ArrowKey::Left, kBoth), kAutomaticEntry);
    EXPECT_EQ(navigateEntry(kAutomaticEntry, ArrowKey::Left, kBoth), kMoreColorsEntry);
    EXPECT_EQ(navigateEntry(kMoreColorsEntry, ArrowKey::Left, kBoth), 39);
    // Without the entries the grid wraps onto itself.
    EXPECT_EQ(navigateEntry(39, ArrowKey::Right, kGridOnly), 0);
    EXPECT_EQ(navigateEntry(0, ArrowKey::Left, kGridOnly), 39);
    EXPECT_EQ(navigateEntry(39, ArrowKey::Right, {true, false}), kAutomaticEntry);
}

TEST(ColorPopupKeys, UpAndDownReachTheEntriesAndGoAround) {
    EXPECT_EQ(navigateEntry(12, ArrowKey::Down, kBoth), 20);
    EXPECT_EQ(navigateEntry(12, ArrowKey::Up, kBoth), 4);
    EXPECT_EQ(navigateEntry(4, ArrowKey::Up, kBoth), kAutomaticEntry);
    EXPECT_EQ(navigateEntry(36, ArrowKey::Down, kBoth), kMoreColorsEntry);
    EXPECT_EQ(navigateEntry(kMoreColorsEntry, ArrowKey::Down, kBoth), kAutomaticEntry);
    EXPECT_EQ(navigateEntry(kAutomaticEntry, ArrowKey::Up, kBoth), kMoreColorsEntry);
    EXPECT_EQ(navigateEntry(kAutomaticEntry, ArrowKey::Down, kBoth), 0);
    EXPECT_EQ(navigateEntry(kMoreColorsEntry, ArrowKey::Up, kBoth), 32);
    // A missing entry is skipped on the way around.
    EXPECT_EQ(navigateEntry(4, ArrowKey::Up, {false, true}), kMoreColorsEntry);
    EXPECT_EQ(navigateEntry(36, ArrowKey::Down, {true, false}), kAutomaticEntry);
    EXPECT_EQ(navigateEntry(kAutomaticEntry, ArrowKey::Up, {true, false}), 32);
    EXPECT_EQ(navigateEntry(4, ArrowKey::Up, kGridOnly), 36);
    EXPECT_EQ(navigateEntry(36, ArrowKey::Down, kGridOnly), 4);
}

TEST(ColorPopupKeys, FromNothingOrAHiddenEntryTheFirstCell) {
    EXPECT_EQ(navigateEntry(kNoEntry, ArrowKey::Down, kBoth), 0);
    EXPECT_EQ(navigateEntry(kAutomaticEntry, ArrowKey::Right, kGridOnly), 0);
    EXPECT_EQ(navigateEntry(kMoreColorsEntry, ArrowKey::Up, {true, false}), 0);
}

}  // namespace
}  // namespace tarn
