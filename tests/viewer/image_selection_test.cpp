#include "viewer/image_selection.h"

#include <gtest/gtest.h>

#include "viewer/view_geometry.h"
#include "viewer/view_tools.h"

namespace tarn {
namespace {

// A window without scroll bars showing an image at 100 %, from the window's top-left corner
// when the image is at least as large as the window.
ViewGeometry viewAtActualSize(int windowW, int windowH, int imageW, int imageH) {
    ViewGeometry v(ZoomSettings{ZoomType::ActualSize, 1.0});
    v.setScrollBarSize(0, 0);
    v.setWindowSize(windowW, windowH);
    v.openImage(imageW, imageH);
    return v;
}

Rect dragged(ImageSelection& s, const ViewGeometry& v, WindowPoint from, WindowPoint to) {
    s.press(from, v);
    s.drag(to, v);
    s.release(to);
    return s.rect();
}

TEST(ImageSelection, ARatioSelectionShrinksTheSideAwayFromThePressPoint) {
    const ViewGeometry v = viewAtActualSize(400, 300, 400, 300);
    ImageSelection s;
    s.setRatio(fixedRatio(3, 4, SelOrientation::Portrait), RatioType::Fixed, v);
    EXPECT_EQ(dragged(s, v, {10, 10}, {110, 110}), (Rect{10, 10, 85, 110}));
    // Up and to the left: the press point is the bottom-right corner.
    EXPECT_EQ(dragged(s, v, {110, 110}, {10, 10}), (Rect{35, 10, 110, 110}));
    // Landscape 4:3: the height gives way.
    s.setOrientation(SelOrientation::Landscape, v);
    EXPECT_TRUE(s.isFixedRatio(3, 4));
    EXPECT_EQ(dragged(s, v, {10, 10}, {110, 110}), (Rect{10, 10, 110, 85}));
    // A rectangle dragged past the image is cut at its border before the ratio applies.
    EXPECT_EQ(dragged(s, v, {300, 200}, {500, 400}), (Rect{300, 200, 400, 275}));
}

TEST(ImageSelection, AClickWithoutMovementClearsOnlyOutsideTheHandles) {
    const ViewGeometry v = viewAtActualSize(400, 300, 400, 300);
    ImageSelection s;
    dragged(s, v, {100, 100}, {200, 200});
    ASSERT_EQ(s.rect(), (Rect{100, 100, 200, 200}));

    s.press({195, 195}, v);  // the bottom-right handle
    EXPECT_EQ(s.grabbed(), FramePart::BottomRight);
    EXPECT_FALSE(s.release({195, 195}));
    s.press({150, 150}, v);  // inside
    EXPECT_EQ(s.grabbed(), FramePart::Interior);
    EXPECT_FALSE(s.release({150, 150}));
    EXPECT_FALSE(s.empty());

    s.press({300, 50}, v);
    EXPECT_TRUE(s.release({300, 50}));
    EXPECT_TRUE(s.empty());
    // A press that moved and came back is no click.
    dragged(s, v, {100, 100}, {200, 200});
    s.press({300, 50}, v);
    s.drag({320, 80}, v);
    EXPECT_FALSE(s.release({330, 90}));
}

TEST(ImageSelection, CornersAndEdgesResizeFromTheOppositeSide) {
    const ViewGeometry v = viewAtActualSize(400, 300, 400, 300);
    ImageSelection s;
    dragged(s, v, {100, 100}, {200, 200});
    // The top-left handle pulled out: the bottom-right corner stays.
    EXPECT_EQ(dragged(s, v, {101, 101}, {50, 60}), (Rect{50, 60, 200, 200}));
    // The right edge's handle pulled across the left edge flips the rectangle.
    const Rect frame = v.imageToWindow(s.rect());
    const Rect right = handleRect(frame, FramePart::Right);
    EXPECT_EQ(dragged(s, v, {right.left + 1, right.top + 1}, {20, 0}), (Rect{20, 60, 50, 200}));

    // With 1:1 the bottom edge sets the width from the new height.
    s.setRatio(1.0, RatioType::Fixed, v);
    dragged(s, v, {100, 100}, {200, 200});
    const Rect bottom = handleRect(v.imageToWindow(s.rect()), FramePart::Bottom);
    EXPECT_EQ(dragged(s, v, {bottom.left + 1, bottom.top + 1}, {150, 250}),
              (Rect{100, 100, 250, 250}));
}

TEST(ImageSelection, MovingAgainstTheBorderStopsAndFollowsBackAtOnce) {
    const ViewGeometry v = viewAtActualSize(400, 300, 400, 300);
    ImageSelection s;
    dragged(s, v, {20, 20}, {70, 70});
    s.press({40, 40}, v);
    ASSERT_EQ(s.grabbed(), FramePart::Interior);
    s.drag({0, 40}, v);
    EXPECT_EQ(s.rect(), (Rect{0, 20, 50, 70}));  // stopped at the left border
    s.drag({-30, 40}, v);
    EXPECT_EQ(s.rect(), (Rect{0, 20, 50, 70}));
    // The first pixel back to the right moves it.
    s.drag({-29, 40}, v);
    EXPECT_EQ(s.rect(), (Rect{1, 20, 51, 70}));
    s.drag({400, 400}, v);
    EXPECT_EQ(s.rect(), (Rect{350, 250, 400, 300}));
    s.release({400, 400});
}

TEST(ImageSelection, RatioCommandsFitTheSelectionAndSelectAllFreesTheRatio) {
    const ViewGeometry v = viewAtActualSize(400, 300, 400, 300);
    ImageSelection s;
    dragged(s, v, {0, 0}, {200, 100});
    s.setRatio(1.0, RatioType::Fixed, v);
    EXPECT_EQ(s.rect(), (Rect{0, 0, 100, 100}));
    EXPECT_TRUE(s.isFixedRatio(1, 1));
    s.selectAll(v);
    EXPECT_EQ(s.ratioType(), RatioType::Free);
    EXPECT_EQ(s.effectiveRatio(v), 0);
    EXPECT_EQ(s.rect(), (Rect{0, 0, 400, 300}));

    s.setSameAsImage(v);
    EXPECT_DOUBLE_EQ(s.effectiveRatio(v), 4.0 / 3.0);
    s.clear();
    dragged(s, v, {0, 0}, {100, 100});
    EXPECT_EQ(s.rect(), (Rect{0, 0, 100, 75}));
    // Without an image the same-as-image choice drops the selection.
    s.setSameAsImage(ViewGeometry{});
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(s.ratioType(), RatioType::SameAsImage);
}

TEST(ImageSelection, TurningAFixedRatioSelectionSwapsItsSidesInsideTheImage) {
    const ViewGeometry v = viewAtActualSize(400, 300, 400, 300);
    ImageSelection s;
    s.setRatio(fixedRatio(3, 4, SelOrientation::Portrait), RatioType::Fixed, v);
    dragged(s, v, {310, 10}, {385, 110});
    ASSERT_EQ(s.rect(), (Rect{310, 10, 385, 110}));
    // Turned about its top-left corner it would pass the right edge: the right edge stays.
    s.setOrientation(SelOrientation::Landscape, v);
    EXPECT_EQ(s.rect(), (Rect{285, 10, 385, 85}));
    EXPECT_DOUBLE_EQ(s.storedRatio(), 4.0 / 3.0);
    EXPECT_TRUE(s.isFixedRatio(3, 4));
    s.setOrientation(SelOrientation::Landscape, v);  // no change, nothing turns
    EXPECT_DOUBLE_EQ(s.storedRatio(), 4.0 / 3.0);
    s.setOrientation(SelOrientation::Portrait, v);
    EXPECT_EQ(s.rect(), (Rect{285, 10, 360, 110}));
    EXPECT_DOUBLE_EQ(s.storedRatio(), 0.75);
    // A free selection only records the orientation.
    s.setRatio(0, RatioType::Free, v);
    s.setOrientation(SelOrientation::Landscape, v);
    EXPECT_EQ(s.rect(), (Rect{285, 10, 360, 110}));
}

TEST(ImageSelection, ATinyImageStillSelectsAndZoomedSelectionsAreInImagePixels) {
    // One pixel at 1600 %: every point of it is a handle or inside.
    ViewGeometry one(ZoomSettings{ZoomType::ZoomLock, 16.0});
    one.setScrollBarSize(0, 0);
    one.setWindowSize(100, 100);
    one.openImage(1, 1);
    ImageSelection s;
    s.selectAll(one);
    EXPECT_EQ(s.rect(), (Rect{0, 0, 1, 1}));
    const Rect frame = one.imageToWindow(s.rect());
    EXPECT_EQ(frame.width(), 16);
    s.press({frame.left + 8, frame.top + 8}, one);
    EXPECT_NE(s.grabbed(), FramePart::None);
    s.drag({0, 0}, one);
    s.release({0, 0});
    EXPECT_FALSE(s.empty());

    ViewGeometry half(ZoomSettings{ZoomType::ZoomLock, 0.5});
    half.setScrollBarSize(0, 0);
    half.setWindowSize(400, 300);
    half.openImage(800, 600);
    EXPECT_EQ(dragged(s, half, {10, 10}, {60, 40}), (Rect{20, 20, 120, 80}));
}

TEST(ViewTools, ZoomToolCentresTheClickedPointAndPanFollowsTheMouse) {
    ViewGeometry v = viewAtActualSize(400, 300, 1000, 800);
    ASSERT_TRUE(zoomAtPoint(v, {300, 200}, true));
    EXPECT_GT(v.zoom(), 1.0);
    const PointF centre = v.windowToImage(v.clientWidth() / 2, v.clientHeight() / 2);
    EXPECT_NEAR(centre.x, 300, 1);
    EXPECT_NEAR(centre.y, 200, 1);

    ViewGeometry small = viewAtActualSize(400, 300, 100, 100);
    EXPECT_FALSE(zoomAtPoint(small, {10, 10}, true));  // beside the picture
    EXPECT_EQ(small.zoom(), 1.0);
    EXPECT_FALSE(panBy(small, 5, 5));  // nothing to pan

    const double x = v.scrollX();
    const double y = v.scrollY();
    EXPECT_TRUE(panBy(v, 10, -20));
    EXPECT_EQ(v.scrollX(), x - 10);
    EXPECT_EQ(v.scrollY(), y + 20);
}

}  // namespace
}  // namespace tarn
