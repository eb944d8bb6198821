#include "browser/thumb_layout.h"

#include <gtest/gtest.h>

#include "browser/thumbnail_queue.h"

namespace tarn {
namespace {

TEST(CellGeometry, FrameMarginAndCellFollowTheBoxWidth) {
    EXPECT_EQ(frameThickness(30), 1);
    EXPECT_EQ(frameThickness(31), 2);
    EXPECT_EQ(frameThickness(80), 2);
    EXPECT_EQ(frameThickness(81), 3);
    EXPECT_EQ(frameThickness(120), 3);
    EXPECT_EQ(frameThickness(121), 4);
    EXPECT_EQ(cellMargin(30), 2);
    EXPECT_EQ(cellMargin(80), 3);
    EXPECT_EQ(cellMargin(120), 4);
    EXPECT_EQ(cellMargin(121), 6);

    const CellGeometry g85 = cellGeometry(85, 85);
    EXPECT_EQ(g85.frame, 3);
    EXPECT_EQ(g85.margin, 4);
    EXPECT_EQ(g85.cellWidth, 85 + 2 * 7 + 6);
    EXPECT_EQ(g85.cellHeight, g85.cellWidth + 30);
    EXPECT_EQ(g85.pictureAreaHeight(), g85.cellHeight - 17);

    // Out-of-range boxes are clamped to 36..200 before anything is derived.
    const CellGeometry big = cellGeometry(500, 10);
    EXPECT_EQ(big.boxWidth, 200);
    EXPECT_EQ(big.boxHeight, 36);
    EXPECT_EQ(big.cellWidth, 200 + 2 * (4 + 6) + 6);
    EXPECT_EQ(cellGeometry(36, 36).cellWidth, 36 + 2 * (2 + 3) + 6);
}

TEST(FitPicture, ThumbnailsGrowToTheBoxOnlyAsFarAsThePhotoAllows) {
    // A thumbnail made for box 85 of a large photo, shown in box 128: drawn at the box.
    PictureSize s = fitPicture(85, 64, true, 4000, 3000, 128, 128);
    EXPECT_EQ(s.width, 128);
    EXPECT_EQ(s.height, 64 * 128 / 85);
    // A small photo is never enlarged past its own size.
    s = fitPicture(50, 40, true, 50, 40, 128, 128);
    EXPECT_EQ(s.width, 50);
    EXPECT_EQ(s.height, 40);
    // Portrait: the height leads.
    s = fitPicture(64, 85, true, 3000, 4000, 85, 85);
    EXPECT_EQ(s.width, 64);
    EXPECT_EQ(s.height, 85);
    // A shrunk box shrinks the drawing.
    s = fitPicture(128, 96, true, 4000, 3000, 85, 85);
    EXPECT_EQ(s.width, 85);
    EXPECT_EQ(s.height, 63);
    // Icons keep their size inside the box.
    s = fitPicture(32, 32, false, 0, 0, 85, 85);
    EXPECT_EQ(s.width, 32);
    EXPECT_EQ(s.height, 32);
    // A folder picture larger than the box fills it.
    s = fitPicture(256, 256, false, 0, 0, 85, 85);
    EXPECT_EQ(s.width, 85);
    EXPECT_EQ(s.height, 85);
}

TEST(FitPicture, UnknownPhotoSizesThinPicturesAndOddBoxesStayInside) {
    // Photo size unknown: bounded by the thumbnail, not drawn at zero size.
    PictureSize s = fitPicture(40, 30, true, 0, 0, 85, 85);
    EXPECT_EQ(s.width, 40);
    EXPECT_EQ(s.height, 30);
    EXPECT_EQ(fitPicture(0, 10, true, 10, 10, 85, 85).width, 0);
    // A line one pixel high still shows.
    s = fitPicture(2000, 1, true, 2000, 1, 85, 85);
    EXPECT_EQ(s.width, 85);
    EXPECT_EQ(s.height, 1);
    // A box that is not square holds the whole picture.
    s = fitPicture(67, 50, true, 4000, 3000, 85, 50);
    EXPECT_LE(s.height, 50);
    EXPECT_LE(s.width, 85);
    EXPECT_EQ(s.width, 67);
}

TEST(GridLayout, CellsFillRowsAcrossTheClientWidth) {
    const GridLayout grid(105, 135, 330, 10);
    EXPECT_EQ(grid.columns(), 3);
    EXPECT_EQ(grid.rows(), 4);
    EXPECT_EQ(grid.indexAt(0, 0), 0);
    EXPECT_EQ(grid.indexAt(210, 0), 2);
    EXPECT_EQ(grid.indexAt(320, 0), -1);  // beyond the last column
    EXPECT_EQ(grid.indexAt(10, 135), 3);
    EXPECT_EQ(grid.indexAt(110, 3 * 135 + 5), -1);  // past the last item
    EXPECT_EQ(grid.indexAt(5, 3 * 135 + 5), 9);
    EXPECT_EQ(grid.indexAt(-1, 5), -1);
    EXPECT_EQ(grid.lastIndexOfRow(3), 9);
    EXPECT_EQ(grid.lastIndexOfRow(1), 5);
    // Narrower than a cell: still one column.
    EXPECT_EQ(GridLayout(105, 135, 20, 4).columns(), 1);
    EXPECT_EQ(GridLayout(105, 135, 330, 0).rows(), 0);
}

TEST(Navigate, KeysMoveLikeAnIconView) {
    // 10 items in rows of 3: 0 1 2 / 3 4 5 / 6 7 8 / 9.
    using K = NavigationKey;
    EXPECT_EQ(navigate(4, K::Left, 10, 3, 2), 3);
    EXPECT_EQ(navigate(0, K::Left, 10, 3, 2), 0);
    EXPECT_EQ(navigate(5, K::Right, 10, 3, 2), 6);
    EXPECT_EQ(navigate(9, K::Right, 10, 3, 2), 9);
    EXPECT_EQ(navigate(4, K::Up, 10, 3, 2), 1);
    EXPECT_EQ(navigate(1, K::Up, 10, 3, 2), 1);
    EXPECT_EQ(navigate(4, K::Down, 10, 3, 2), 7);
    EXPECT_EQ(navigate(8, K::Down, 10, 3, 2), 9);  // the short last row
    EXPECT_EQ(navigate(9, K::Down, 10, 3, 2), 9);
    EXPECT_EQ(navigate(1, K::PageDown, 10, 3, 2), 7);
    EXPECT_EQ(navigate(7, K::PageDown, 10, 3, 2), 9);
    EXPECT_EQ(navigate(8, K::PageUp, 10, 3, 2), 2);
    EXPECT_EQ(navigate(4, K::PageUp, 10, 3, 2), 1);
    EXPECT_EQ(navigate(4, K::Home, 10, 3, 2), 0);
    EXPECT_EQ(navigate(4, K::End, 10, 3, 2), 9);
    // No focus yet; an empty list.
    EXPECT_EQ(navigate(-1, K::Down, 10, 3, 2), 0);
    EXPECT_EQ(navigate(-1, K::End, 10, 3, 2), 9);
    EXPECT_EQ(navigate(0, K::Down, 0, 3, 2), -1);
}

TEST(RefreshThrottle, ABurstGivesOneRefreshNowAndOneAfterThePause) {
    RefreshThrottle throttle;
    int refreshes = 0;
    for (int i = 0; i < 50; ++i) {
        refreshes += throttle.onChange() ? 1 : 0;
    }
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(throttle.pausing());
    // The changes during the pause are caught up once.
    EXPECT_TRUE(throttle.onPauseEnd());
    EXPECT_TRUE(throttle.pausing());
    EXPECT_FALSE(throttle.onPauseEnd());
    EXPECT_FALSE(throttle.pausing());
    // Quiet again: the next change refreshes at once.
    EXPECT_TRUE(throttle.onChange());
    throttle.reset();
    EXPECT_FALSE(throttle.pausing());
    EXPECT_TRUE(throttle.onChange());
}

TEST(ThumbnailQueue, NewBatchesGoFirstInTheirOrderWithoutDuplicates) {
    ThumbnailQueue queue;
    EXPECT_EQ(queue.pushBatchFront({"/a", "/b", "/c"}), 3);
    EXPECT_EQ(queue.front(), "/a");
    // /b is already waiting: it keeps its place; the others go ahead of the old batch.
    EXPECT_EQ(queue.pushBatchFront({"/x", "/b", "/y", ""}), 2);
    EXPECT_EQ(queue.paths(), (std::vector<std::string>{"/x", "/y", "/a", "/b", "/c"}));
    EXPECT_TRUE(queue.contains("/b"));
    EXPECT_TRUE(queue.remove("/a"));
    EXPECT_FALSE(queue.remove("/a"));
    EXPECT_FALSE(queue.contains("/a"));
    // A removed path may be queued again.
    EXPECT_EQ(queue.pushBatchFront({"/a"}), 1);
    EXPECT_EQ(queue.front(), "/a");
    queue.clear();
    EXPECT_TRUE(queue.empty());
    EXPECT_FALSE(queue.contains("/x"));
}

}  // namespace
}  // namespace tarn
