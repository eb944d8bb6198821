#include "viewer/view_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "app/settings.h"
#include "fakes/temp_dir.h"

namespace tarn {
namespace {

constexpr int kBar = 17;

// A view of the given outer size with 17-pixel scroll bars and an image open.
ViewGeometry makeView(int windowW, int windowH, int imageW, int imageH, ZoomSettings start = {}) {
    ViewGeometry v(start);
    v.setScrollBarSize(kBar, kBar);
    v.setWindowSize(windowW, windowH);
    v.openImage(imageW, imageH);
    return v;
}

PointF clientCentreInImage(const ViewGeometry& v) {
    return v.windowToImage(v.clientWidth() * 0.5, v.clientHeight() * 0.5);
}

TEST(ViewGeometryFit, SmallImageStaysActualSizeAndCentred) {
    const ViewGeometry v = makeView(800, 600, 100, 100);
    EXPECT_EQ(v.zoom(), 1.0);
    EXPECT_TRUE(v.fitActive());
    EXPECT_FALSE(v.horizontalBar().shown);
    EXPECT_FALSE(v.verticalBar().shown);
    const Placement p = v.placement();
    EXPECT_EQ(p.x, (AxisPlacement{350, 100, 0, 100}));
    EXPECT_EQ(p.y, (AxisPlacement{250, 100, 0, 100}));
    EXPECT_EQ(v.drawPath(false), DrawPath::Copy);

    // An odd spare room puts the extra pixel on the left: ceil(699 / 2).
    const ViewGeometry odd = makeView(800, 600, 101, 99);
    EXPECT_EQ(odd.placement().x.destStart, 350);
    EXPECT_EQ(odd.placement().y.destStart, 251);
}

TEST(ViewGeometryFit, LargeImageShrinksToTheWindow) {
    const ViewGeometry v = makeView(1280, 1024, 4000, 1000);
    EXPECT_DOUBLE_EQ(v.zoom(), 0.32);
    EXPECT_EQ(v.displayWidth(), 1280);
    EXPECT_EQ(v.displayHeight(), 320);
    EXPECT_FALSE(v.horizontalBar().shown);
    EXPECT_EQ(v.placement().y.destStart, 352);
}

TEST(ViewGeometryFit, FitWidthOfATallImageLeavesRoomForTheVerticalBar) {
    ViewGeometry v = makeView(800, 600, 1000, 3000);
    v.fit(ZoomType::FitWidth);
    EXPECT_EQ(v.zoomType(), ZoomType::FitWidth);
    EXPECT_DOUBLE_EQ(v.zoom(), (800.0 - kBar) / 1000.0);
    EXPECT_TRUE(v.verticalBar().shown);
    EXPECT_FALSE(v.horizontalBar().shown);  // the width fits the client exactly
    EXPECT_EQ(v.displayWidth(), v.clientWidth());

    // Narrower than the window: never enlarged, even with the bar taken off.
    v.openImage(500, 2000);
    EXPECT_EQ(v.zoom(), 1.0);
    v.openImage(790, 2000);
    EXPECT_DOUBLE_EQ(v.zoom(), 783.0 / 790.0);

    // A wide, short image needs no bar: the whole width is used.
    v.openImage(2000, 100);
    EXPECT_DOUBLE_EQ(v.zoom(), 0.4);

    // Full screen shows no bars, so nothing is taken off.
    v.setFullScreen(true);
    v.openImage(1000, 3000);
    EXPECT_DOUBLE_EQ(v.zoom(), 0.8);
    EXPECT_FALSE(v.verticalBar().shown);
}

TEST(ViewGeometryFit, FitHeightOfAWideImageLeavesRoomForTheHorizontalBar) {
    ViewGeometry v = makeView(800, 600, 3000, 1000);
    v.fit(ZoomType::FitHeight);
    EXPECT_DOUBLE_EQ(v.zoom(), (600.0 - kBar) / 1000.0);
    EXPECT_TRUE(v.horizontalBar().shown);
    EXPECT_FALSE(v.verticalBar().shown);
    v.openImage(300, 200);
    EXPECT_EQ(v.zoom(), 1.0);
}

TEST(ViewGeometryFit, ResizingRefitsOnlyWhileAFitGoverns) {
    ViewGeometry v = makeView(800, 600, 1600, 1200);
    EXPECT_DOUBLE_EQ(v.zoom(), 0.5);
    v.setWindowSize(400, 300);
    EXPECT_DOUBLE_EQ(v.zoom(), 0.25);
    v.zoomIn();
    EXPECT_DOUBLE_EQ(v.zoom(), 0.3);
    v.setWindowSize(1600, 1200);
    EXPECT_DOUBLE_EQ(v.zoom(), 0.3);  // a chosen zoom survives resizing
    EXPECT_EQ(v.scrollX(), 0);        // and the offsets are clamped to the bigger client
}

TEST(ViewGeometryZoom, OpeningTheNextImageAppliesTheZoomTypeAgain) {
    ViewGeometry v = makeView(800, 600, 4000, 3000);
    EXPECT_DOUBLE_EQ(v.zoom(), 0.2);
    v.zoomIn();
    EXPECT_DOUBLE_EQ(v.zoom(), 0.25);
    EXPECT_FALSE(v.fitActive());
    v.openImage(2000, 1000);
    EXPECT_TRUE(v.fitActive());
    EXPECT_DOUBLE_EQ(v.zoom(), 0.4);
    EXPECT_EQ(v.scrollX(), 0);
    EXPECT_EQ(v.scrollY(), 0);
}

TEST(ViewGeometryZoom, ZoomLockKeepsTheZoomForTheNextImage) {
    ViewGeometry v = makeView(800, 600, 4000, 3000);
    v.setFixedZoom(0.7);
    v.zoomLock();
    EXPECT_TRUE(v.fitActive());
    EXPECT_EQ(v.zoomType(), ZoomType::ZoomLock);
    v.openImage(100, 100);
    EXPECT_EQ(v.zoom(), 0.7);
    EXPECT_EQ(v.displayWidth(), 70);

    // The level read at start is the locked zoom, even below the step table.
    const ViewGeometry started = makeView(800, 600, 1000, 1000, {ZoomType::ZoomLock, 0.01});
    EXPECT_EQ(started.zoom(), 0.01);
    EXPECT_EQ(started.displayWidth(), 10);
}

TEST(ViewGeometryZoom, ActualSizeKeepsFitActiveAsItWas) {
    ViewGeometry v = makeView(800, 600, 4000, 3000);
    v.actualSize();
    EXPECT_EQ(v.zoom(), 1.0);
    EXPECT_EQ(v.zoomType(), ZoomType::ActualSize);
    EXPECT_TRUE(v.fitActive());
    v.zoomOut();
    v.actualSize();
    EXPECT_EQ(v.zoom(), 1.0);
    EXPECT_FALSE(v.fitActive());
    v.openImage(200, 100);  // actual size is a zoom type too
    EXPECT_EQ(v.zoom(), 1.0);
}

TEST(ViewGeometryZoom, CustomZoomIsClampedAndReportsAChange) {
    ViewGeometry v = makeView(800, 600, 4000, 3000);
    EXPECT_TRUE(v.setCustomZoom(0.01));
    EXPECT_EQ(v.zoom(), 0.07);
    EXPECT_FALSE(v.fitActive());
    EXPECT_EQ(v.zoomType(), ZoomType::FitImage);  // the type stays
    EXPECT_FALSE(v.setCustomZoom(0.05));
    EXPECT_TRUE(v.setCustomZoom(40));
    EXPECT_EQ(v.zoom(), 16.0);
}

TEST(ViewGeometryZoom, NonsenseZoomIsIgnored) {
    ViewGeometry v = makeView(800, 600, 400, 300);
    v.setZoom(0);
    v.setZoom(-2);
    v.setZoom(std::numeric_limits<double>::quiet_NaN());
    v.setZoom(std::numeric_limits<double>::infinity());
    v.setFixedZoom(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(v.zoom(), 1.0);
    EXPECT_EQ(v.displayWidth(), 400);
}

TEST(ViewGeometryZoom, TheCentrePointStaysWhenZoomingAScrolledImage) {
    ViewGeometry v = makeView(400, 300, 2000, 2000);
    v.actualSize();
    v.setScroll(500, 700);
    const PointF before = clientCentreInImage(v);
    v.zoomIn();
    EXPECT_EQ(v.zoom(), 1.5);
    PointF after = clientCentreInImage(v);
    EXPECT_NEAR(after.x, before.x, 0.01);
    EXPECT_NEAR(after.y, before.y, 0.01);
    v.zoomOut();
    v.zoomOut();
    EXPECT_EQ(v.zoom(), 0.7);
    after = clientCentreInImage(v);
    EXPECT_NEAR(after.x, before.x, 1.0);
    EXPECT_NEAR(after.y, before.y, 1.0);
}

TEST(ViewGeometryZoom, TheWidthsRatioMovesBothAxes) {
    // Rounded display sizes: 2001 -> 3002 and 1003 -> 1505 scale by different ratios.
    ViewGeometry v = makeView(400, 300, 2001, 1003);
    v.actualSize();
    v.setScroll(500, 600);
    const double cw = v.clientWidth() * 0.5;
    const double ch = v.clientHeight() * 0.5;
    v.zoomIn();
    ASSERT_EQ(v.displayWidth(), 3002);
    ASSERT_EQ(v.displayHeight(), 1505);
    const double ratio = 3002.0 / 2001.0;
    EXPECT_NEAR(v.scrollX(), (cw + 500) * ratio - cw, 1e-9);
    EXPECT_NEAR(v.scrollY(), (ch + 600) * ratio - ch, 1e-9);
}

TEST(ViewGeometryZoom, AnImageGrowingPastTheWindowOpensAtItsCentre) {
    ViewGeometry v;
    v.setWindowSize(400, 400);  // no bars, so the client does not change
    v.openImage(300, 300);
    v.zoomIn();
    EXPECT_EQ(v.displayWidth(), 450);
    EXPECT_DOUBLE_EQ(v.scrollX(), 25);
    EXPECT_DOUBLE_EQ(v.scrollY(), 25);
}

TEST(ViewGeometryZoom, RefreshAfterAnEditRefitsOrKeepsTheZoom) {
    ViewGeometry v = makeView(800, 600, 1600, 1200);
    v.refreshImage(1200, 1600);  // rotated
    EXPECT_DOUBLE_EQ(v.zoom(), 0.375);
    v.setFixedZoom(2);
    v.setScroll(100, 100);
    v.refreshImage(1200, 1600);  // same size: nothing moves
    EXPECT_DOUBLE_EQ(v.scrollX(), 100);
    v.refreshImage(1600, 1200);
    EXPECT_EQ(v.zoom(), 2.0);
    EXPECT_EQ(v.displayWidth(), 3200);
    EXPECT_EQ(v.displayHeight(), 2400);
}

TEST(ViewGeometryScroll, BarsAreDecidedWithTheOtherBarTakenOff) {
    ViewGeometry v = makeView(800, 600, 790, 590);
    v.actualSize();
    EXPECT_FALSE(v.horizontalBar().shown);
    EXPECT_FALSE(v.verticalBar().shown);
    v.openImage(790, 700);  // the vertical bar makes the width too wide as well
    EXPECT_TRUE(v.verticalBar().shown);
    EXPECT_TRUE(v.horizontalBar().shown);
    EXPECT_EQ(v.clientWidth(), 783);
    EXPECT_EQ(v.clientHeight(), 583);
    v.openImage(810, 590);
    EXPECT_TRUE(v.horizontalBar().shown);
    EXPECT_TRUE(v.verticalBar().shown);
    v.openImage(810, 580);
    EXPECT_TRUE(v.horizontalBar().shown);
    EXPECT_FALSE(v.verticalBar().shown);
    EXPECT_EQ(v.horizontalBar().range, 810);
    EXPECT_EQ(v.horizontalBar().page, 800);
    EXPECT_EQ(v.clientHeight(), 583);

    v.setFullScreen(true);
    EXPECT_FALSE(v.horizontalBar().shown);
    EXPECT_EQ(v.clientHeight(), 600);
}

TEST(ViewGeometryScroll, OffsetsStayInsideTheDisplay) {
    ViewGeometry v = makeView(400, 300, 1000, 800);
    v.actualSize();
    const double maxX = 1000 - v.clientWidth();
    const double maxY = 800 - v.clientHeight();
    v.setScroll(-50, 1e9);
    EXPECT_EQ(v.scrollX(), 0);
    EXPECT_EQ(v.scrollY(), maxY);
    v.setScroll(std::numeric_limits<double>::quiet_NaN(), 10.4);
    EXPECT_EQ(v.scrollX(), 0);
    EXPECT_EQ(v.verticalBar().position, 10);

    v.scrollHorizontal(ScrollAction::Bottom);
    EXPECT_EQ(v.scrollX(), maxX);
    v.scrollHorizontal(ScrollAction::LineDown);
    EXPECT_EQ(v.scrollX(), maxX);
    v.scrollHorizontal(ScrollAction::PageUp);
    EXPECT_EQ(v.scrollX(), maxX - v.clientWidth());
    v.scrollHorizontal(ScrollAction::LineUp);
    EXPECT_EQ(v.scrollX(), maxX - v.clientWidth() - 1);
    v.scrollHorizontal(ScrollAction::Top);
    EXPECT_EQ(v.scrollX(), 0);
    v.scrollVertical(ScrollAction::Track, 100000);
    EXPECT_EQ(v.scrollY(), maxY);
    v.scrollVertical(ScrollAction::Track, 123);
    EXPECT_EQ(v.verticalBar().position, 123);

    // The window grows: the offset is clamped again.
    v.setWindowSize(900, 300);
    EXPECT_EQ(v.scrollX(), 0);
    v.setScroll(500, 0);
    EXPECT_EQ(v.scrollX(), 1000 - v.clientWidth());

    // Nothing to scroll once it fits.
    v.openImage(100, 100);
    v.scrollHorizontal(ScrollAction::PageDown);
    EXPECT_EQ(v.scrollX(), 0);
}

TEST(ViewGeometryPlacement, ScrolledAxisStartsInsideAPixel) {
    // 2000 px at 200 % in a 400 px client, scrolled by 101 displayed pixels.
    const AxisPlacement p = placeAxis(400, 4000, 101, 2.0, 2000);
    EXPECT_EQ(p, (AxisPlacement{-1, 404, 50, 202}));
    const AxisPlacement end = placeAxis(400, 4000, 3600, 2.0, 2000);
    EXPECT_EQ(end, (AxisPlacement{0, 400, 1800, 200}));
}

TEST(ViewGeometryPlacement, TheDestinationAlwaysCoversTheClient) {
    for (const double zoom : {0.07, 0.33, 0.7, 1.0, 1.5, 3.0, 12.0, 16.0}) {
        ViewGeometry v = makeView(640, 480, 3001, 2999);
        v.setFixedZoom(zoom);
        for (double s = 0; s < 60000; s += 397.3) {
            v.setScroll(s, s * 0.7);
            const Placement p = v.placement();
            for (const auto& [a, client, image] : {std::tuple{p.x, v.clientWidth(), 3001},
                                                   std::tuple{p.y, v.clientHeight(), 2999}}) {
                ASSERT_GE(a.srcStart, 0) << zoom << " " << s;
                ASSERT_LE(a.srcStart + a.srcExtent, image) << zoom << " " << s;
                if (a.destExtent > client || a.destStart < 0) {
                    ASSERT_LE(a.destStart, 0) << zoom << " " << s;
                    ASSERT_GE(a.destStart + a.destExtent, client) << zoom << " " << s;
                }
            }
        }
    }
}

TEST(ViewGeometryConvert, WindowAndImageRoundTrip) {
    ViewGeometry centred = makeView(800, 600, 100, 50);
    centred.setFixedZoom(3);
    ViewGeometry scrolled = makeView(400, 300, 2000, 2000);
    scrolled.setFixedZoom(1.5);
    scrolled.setScroll(333.3, 777.7);
    for (const ViewGeometry* v : {&centred, &scrolled}) {
        const AxisPlacement px = v->placement().x;
        const int from = std::max(0, px.destStart);
        const int to = std::min(v->clientWidth(), px.destStart + px.destExtent);
        for (double x = from; x <= to; x += 7.3) {
            const PointF img = v->windowToImage(x, 100);
            const PointF back = v->imageToWindow(img.x, img.y);
            EXPECT_NEAR(back.x, x, 1e-9);
        }
    }
    // The centred image starts at (250, 225): that is image pixel 0.
    const PointF origin = centred.windowToImage(250, 225);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    EXPECT_DOUBLE_EQ(centred.windowToImage(253, 0).x, 1.0);
    // Outside the image the point is clamped to its edges.
    EXPECT_EQ(centred.windowToImage(10, 10).x, 0);
    EXPECT_EQ(centred.windowToImage(790, 590).x, 100);
    EXPECT_EQ(centred.windowToImage(790, 590).y, 50);
    EXPECT_EQ(centred.imageToWindow(-5, 1000).y, 225 + 150);

    // The pixel under the window's corner of a scrolled view.
    EXPECT_NEAR(scrolled.windowToImage(0, 0).x, 333.3 / 1.5, 1e-9);
}

TEST(ViewGeometryConvert, RectanglesConvertCornerByCorner) {
    ViewGeometry v = makeView(800, 600, 100, 50);
    v.setFixedZoom(3);
    const Rect sel{10, 5, 30, 25};
    const Rect win = v.imageToWindow(sel);
    EXPECT_EQ(win, (Rect{280, 240, 340, 300}));
    EXPECT_EQ(v.windowToImage(win), sel);
    EXPECT_TRUE(v.imageToWindow(Rect{10, 10, 10, 20}).empty());
    EXPECT_TRUE(v.windowToImage(Rect{5, 5, 2, 9}).empty());
}

TEST(ViewGeometryDraw, PathFollowsZoomAreaAndSlider) {
    ViewGeometry v = makeView(1920, 1080, 6000, 4000);
    v.setFixedZoom(0.5);
    EXPECT_EQ(v.drawPath(false), DrawPath::HighQuality);
    EXPECT_EQ(v.drawPath(true), DrawPath::Fast);  // slider being dragged
    v.openImage(8000, 6000);
    v.setFixedZoom(0.7);
    EXPECT_EQ(v.drawPath(false), DrawPath::Fast);  // 23,520,000 displayed pixels
    v.setFixedZoom(1);
    EXPECT_EQ(v.drawPath(true), DrawPath::Copy);
    v.setFixedZoom(2);
    EXPECT_EQ(v.drawPath(false), DrawPath::Fast);
    v.closeImage();
    EXPECT_EQ(v.drawPath(false), DrawPath::None);
    EXPECT_EQ(v.placement().x, AxisPlacement{});

    EXPECT_EQ(chooseDrawPath(0.5, 4000, 4000, false), DrawPath::HighQuality);
    EXPECT_EQ(chooseDrawPath(0.5, 4000, 4001, false), DrawPath::Fast);
}

TEST(ViewGeometryBadInput, ExtremeImageSizesStayUsable) {
    // A one-pixel column fitted into a window keeps at least one displayed pixel.
    ViewGeometry v = makeView(800, 600, 1, 30000);
    EXPECT_DOUBLE_EQ(v.zoom(), 0.02);
    EXPECT_EQ(v.displayWidth(), 1);
    EXPECT_EQ(v.displayHeight(), 600);
    const PointF p = v.windowToImage(400, 300);
    EXPECT_FALSE(std::isnan(p.x));
    EXPECT_NEAR(p.y, 15000, 1e-9);

    v.openImage(1, 1);
    v.setFixedZoom(16);
    EXPECT_EQ(v.placement().x, (AxisPlacement{392, 16, 0, 1}));

    v.openImage(20000, 15000);
    v.setFixedZoom(16);
    v.scrollVertical(ScrollAction::Bottom);
    v.scrollHorizontal(ScrollAction::Bottom);
    const Placement end = v.placement();
    EXPECT_EQ(end.x.srcStart + end.x.srcExtent, 20000);
    EXPECT_EQ(end.y.srcStart + end.y.srcExtent, 15000);
    EXPECT_EQ(v.drawPath(false), DrawPath::Fast);

    v.openImage(-3, 40);  // nonsense size: treated as no image
    EXPECT_FALSE(v.hasImage());
    EXPECT_EQ(v.windowToImage(5, 5).x, 0);
}

TEST(ViewGeometrySettings, ZoomLevelAndTypeAreLimitedBothWays) {
    test::TempDir dir;
    const std::string path = dir.file("Config.ini");
    test::writeFile(path, "[ZoomInfo]\nZoomType=7\nZoomLevel=0\n");
    SettingsStore store(path);
    ZoomSettings z = readZoomSettings(store);
    EXPECT_EQ(z.type, ZoomType::FitImage);
    EXPECT_EQ(z.level, 0.01);

    test::writeFile(path, "[ZoomInfo]\nZoomType=4\nZoomLevel=20\n");
    z = readZoomSettings(store);
    EXPECT_EQ(z.type, ZoomType::ZoomLock);
    EXPECT_EQ(z.level, 16.0);

    // A view closed at 250 % under zoom lock comes back that way.
    ViewGeometry v = makeView(800, 600, 100, 100, z);
    v.setFixedZoom(2.5);
    ASSERT_TRUE(writeZoomSettings(store, v.settings()));
    z = readZoomSettings(store);
    EXPECT_EQ(z.type, ZoomType::ZoomLock);
    EXPECT_DOUBLE_EQ(z.level, 2.5);
}

}  // namespace
}  // namespace tarn
