#include "viewer/zoom_steps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tarn {
namespace {

TEST(ZoomSteps, StepToTheNextTableValueStrictly) {
    EXPECT_EQ(zoomInStep(0.08), 0.1);
    EXPECT_EQ(zoomOutStep(0.08), 0.07);
    EXPECT_EQ(zoomInStep(1.0), 1.5);  // an exact step moves on, it does not stay
    EXPECT_EQ(zoomOutStep(1.0), 0.7);
    EXPECT_EQ(zoomInStep(0.333), 0.5);
    EXPECT_EQ(zoomOutStep(0.333), 0.3);
}

TEST(ZoomSteps, EndsOfTheTable) {
    EXPECT_EQ(zoomInStep(16.0), 16.0);
    EXPECT_EQ(zoomOutStep(0.07), 0.07);
    EXPECT_EQ(zoomInStep(0.01), 0.07);  // a zoom read from settings below the table
    EXPECT_EQ(zoomOutStep(0.01), 0.07);
    EXPECT_EQ(zoomOutStep(20.0), 16.0);
    EXPECT_EQ(zoomInStep(20.0), 16.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(std::isnan(zoomInStep(nan)));
    EXPECT_FALSE(std::isnan(zoomOutStep(nan)));
}

TEST(ZoomSteps, EnablingComparesExactly) {
    EXPECT_FALSE(canZoomIn(16.0));
    EXPECT_TRUE(canZoomIn(15.999));
    EXPECT_FALSE(canZoomOut(0.07));
    EXPECT_TRUE(canZoomOut(0.0701));
}

TEST(ZoomSteps, FixedValuesAreTheStepsLargestFirst) {
    ASSERT_EQ(kFixedZooms.size(), kZoomSteps.size());
    for (std::size_t i = 0; i < kFixedZooms.size(); ++i) {
        const FixedZoom& f = kFixedZooms[i];
        EXPECT_EQ(f.zoom, kZoomSteps[kZoomSteps.size() - 1 - i]) << f.percent;
        EXPECT_NEAR(f.percent * 0.01, f.zoom, 1e-12) << f.percent;
    }
    EXPECT_EQ(kFixedZooms.front().percent, 1600);
    EXPECT_EQ(kFixedZooms.back().percent, 7);
}

TEST(ZoomSteps, CustomZoomRange) {
    EXPECT_EQ(clampCustomZoom(0.01), 0.07);
    EXPECT_EQ(clampCustomZoom(17.0), 16.0);
    EXPECT_EQ(clampCustomZoom(0.33), 0.33);
    EXPECT_EQ(clampCustomZoom(std::numeric_limits<double>::quiet_NaN()), 0.07);
}

}  // namespace
}  // namespace tarn
