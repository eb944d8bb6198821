#include "slideshow/slide_layout.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(SlideLayout, ImageThatFitsKeepsItsOwnSizeCentred) {
    EXPECT_EQ(fitSlide(100, 100, 1280, 1024), (SlideRect{590, 462, 100, 100}));
    // Exactly the area's size is still "fits".
    EXPECT_EQ(fitSlide(1280, 1024, 1280, 1024), (SlideRect{0, 0, 1280, 1024}));
    // Odd leftovers round the offset down.
    EXPECT_EQ(fitSlide(3, 3, 10, 10), (SlideRect{3, 3, 3, 3}));
}

TEST(SlideLayout, LargerImageIsFittedKeepingItsProportions) {
    // Wide: full width.
    EXPECT_EQ(fitSlide(4000, 1000, 1280, 1024), (SlideRect{0, 352, 1280, 320}));
    // Tall: full height.
    EXPECT_EQ(fitSlide(1000, 4000, 1280, 1024), (SlideRect{512, 0, 256, 1024}));
    // Only one side too large still scales both.
    EXPECT_EQ(fitSlide(1300, 100, 1280, 1024), (SlideRect{0, 463, 1280, 98}));
    // Same proportions as the area: the height rule, filling it exactly.
    EXPECT_EQ(fitSlide(2560, 2048, 1280, 1024), (SlideRect{0, 0, 1280, 1024}));
}

TEST(SlideLayout, IntegerRuleTruncatesAndHugeSidesDoNotOverflow) {
    // 1281 * 1280 / 2000 = 819.84 and 1281 * 1024 / 2000 = 655.87: both cut down.
    EXPECT_EQ(fitSlide(2000, 1281, 1280, 1024).height, 819);
    EXPECT_EQ(fitSlide(1281, 2000, 1280, 1024).width, 655);
    const SlideRect huge = fitSlide(60000, 50000, 60000, 40000);
    EXPECT_EQ(huge.height, 40000);
    EXPECT_EQ(huge.width, 48000);
}

TEST(SlideLayout, EmptyImageOrAreaGivesNothing) {
    EXPECT_EQ(fitSlide(0, 10, 100, 100), SlideRect{});
    EXPECT_EQ(fitSlide(10, 10, 0, 100), SlideRect{});
    EXPECT_EQ(fitSlide(10, -1, 100, 100), SlideRect{});
}

TEST(SlideLayout, StripSitsCentredAboveTheBottomEdge) {
    EXPECT_EQ(slideStripRect(1280, 1024), (SlideRect{553, 943, 173, 31}));
    EXPECT_EQ(slideStripRect(800, 600), (SlideRect{313, 519, 173, 31}));
}

}  // namespace
}  // namespace tarn
