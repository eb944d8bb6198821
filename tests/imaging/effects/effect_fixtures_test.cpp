#include "effect_fixtures.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(EffectFixtures, EveryLayoutIsMadeAtEveryOddSizeAndComparesEqualOnlyToItself) {
    for (const test::EffectLayout& layout : test::everyLayout()) {
        for (const test::ImageSize size : test::effectSizes()) {
            const fipImage image = test::makeEffectImage(layout, size.width, size.height, 3);
            ASSERT_TRUE(image.isValid()) << test::describe(layout);
            EXPECT_EQ(image.getBitsPerPixel(), layout.bpp) << test::describe(layout);
            EXPECT_TRUE(test::samePixels(image, fipImage(image))) << test::describe(layout);
            const fipImage other = test::makeEffectImage(layout, size.width, size.height, 4);
            if (size.width * size.height > 4) {
                EXPECT_FALSE(test::samePixels(image, other)) << test::describe(layout);
            }
        }
    }
}

}  // namespace
}  // namespace tarn
