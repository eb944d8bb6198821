#include "frame/frame_layout_rules.h"

#include <gtest/gtest.h>

#include <set>

#include "commands/tool_bar_layout.h"

namespace tarn {
namespace {

TEST(FrameLayout, TitleNamesTheFolderOrImage) {
    EXPECT_EQ(frameTitle(""), "Tarn Photo Viewer");
    EXPECT_EQ(frameTitle("Pictures"), "Pictures - Tarn Photo Viewer");
}

TEST(FrameLayout, InitialInnerRowKeepsRoomForThePreview) {
    EXPECT_EQ(initialInnerTopHeight(300), 100);
    EXPECT_EQ(initialInnerTopHeight(379), 100);
    EXPECT_EQ(initialInnerTopHeight(380), 100);
    EXPECT_EQ(initialInnerTopHeight(900), 620);
}

TEST(FrameLayout, ShrinkingNarrowsTheFolderColumnButNotBelowItsLimit) {
    const int gap = 6;
    // Right column above its limit: nothing to do.
    EXPECT_FALSE(outerLeftAfterResize(185, 400, 591, gap));
    // Right column squeezed: the left one gives way.
    EXPECT_EQ(outerLeftAfterResize(185, 50, 241, gap), 135);
    // Too narrow for both: the left column keeps its minimum.
    EXPECT_EQ(outerLeftAfterResize(185, 20, 211, gap), 120);
    // Already at its minimum: left alone.
    EXPECT_FALSE(outerLeftAfterResize(120, 20, 146, gap));
}

TEST(FrameLayout, TheUpperInnerRowTakesTheLowerRowsChange) {
    EXPECT_EQ(innerTopAfterResize(400, 50), 450);
    EXPECT_EQ(innerTopAfterResize(400, -250), 150);
    EXPECT_EQ(innerTopAfterResize(150, -100), 100);
}

TEST(FrameLayout, MinimisedIsStoredAsRestored) {
    EXPECT_EQ(showCommandToStore(true, false), kShowRestore);
    EXPECT_EQ(showCommandToStore(true, true), kShowRestore);
    EXPECT_EQ(showCommandToStore(false, true), settings::kShowMaximized);
    EXPECT_EQ(showCommandToStore(false, false), settings::kShowNormal);
}

TEST(FrameLayout, OnlyPlausiblePlacementsAreApplied) {
    settings::WindowPlacement p;
    p.left = 10;
    p.top = 10;
    p.right = 610;
    p.bottom = 410;
    EXPECT_TRUE(usablePlacement(p));
    EXPECT_FALSE(usablePlacement(std::nullopt));
    auto empty = p;
    empty.right = empty.left;
    EXPECT_FALSE(usablePlacement(empty));
    auto badLength = p;
    badLength.length = 40;
    EXPECT_FALSE(usablePlacement(badLength));
}

TEST(ToolBars, ButtonsAndPictures) {
    int browserButtons = 0;
    std::set<int> images;
    for (const ToolBarSlot& s : browserToolBar()) {
        if (s.command != 0) {
            ++browserButtons;
            images.insert(s.image);
        }
    }
    int imageButtons = 0;
    for (const ToolBarSlot& s : imageToolBar()) {
        if (s.command != 0) {
            ++imageButtons;
            images.insert(s.image);
        }
    }
    EXPECT_EQ(browserButtons, 17);
    EXPECT_EQ(imageButtons, 26);
    // Every picture but 17 is used, none beyond the strip.
    EXPECT_EQ(images.size(), 34u);
    EXPECT_EQ(images.count(17), 0u);
    EXPECT_EQ(*images.rbegin(), kToolBarImageCount - 1);
    EXPECT_EQ(browserToolBar().back().drop, DropKind::Arrow);  // Help
    EXPECT_EQ(browserToolBar()[17].command, cmd::kSort);
    EXPECT_EQ(browserToolBar()[17].drop, DropKind::Whole);
}

}  // namespace
}  // namespace tarn
