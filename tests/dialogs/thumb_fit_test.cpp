#include "dialogs/thumb_fit.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(ThumbFit, PicturesShrinkWithTheirProportionsAndAreNeverEnlarged) {
    // A thin tall picture keeps a column of one pixel.
    EXPECT_EQ(thumbPictureRect(1, 1000, 100, 100), (Rect{49, 0, 50, 100}));
    // A small one stays as it is, centred.
    EXPECT_EQ(thumbPictureRect(50, 40, 200, 200), (Rect{75, 80, 125, 120}));
    // The wider side in proportion decides, not the longer side.
    EXPECT_EQ(thumbPictureRect(300, 200, 100, 50), (Rect{12, 0, 87, 50}));
    EXPECT_EQ(thumbPictureRect(1000, 1, 100, 100), (Rect{0, 49, 100, 50}));
    EXPECT_EQ(thumbPictureRect(400, 400, 100, 60), (Rect{20, 0, 80, 60}));
    // Nothing to draw, or nowhere.
    EXPECT_TRUE(thumbPictureRect(0, 10, 100, 100).empty());
    EXPECT_TRUE(thumbPictureRect(10, 10, 0, 100).empty());
}

}  // namespace
}  // namespace tarn
