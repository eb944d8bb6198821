#include "frame/status_bar_texts.h"

#include <gtest/gtest.h>

#include <numeric>

#include "common/text_format.h"

namespace tarn {
namespace {

// Eight pixels per character stands in for the bar's font.
int measure(std::string_view text) {
    return static_cast<int>(text.size()) * 8;
}

const PaneText* paneOf(const std::vector<PaneText>& panes, int id) {
    for (const PaneText& p : panes) {
        if (p.id == id) {
            return &p;
        }
    }
    return nullptr;
}

TEST(StatusTexts, CountsUseSingularForZeroAndOne) {
    EXPECT_EQ(countPaneText(true, 1, 1536), "Selected 1 object (1.50 KB)");
    EXPECT_EQ(countPaneText(false, 3, 0), "Total 3 objects (0 byte)");
    EXPECT_EQ(countPaneText(false, 0, 0), "Total 0 object (0 byte)");
    EXPECT_EQ(countPaneText(false, 1, 1), "Total 1 object (1 byte)");
    EXPECT_EQ(countPaneText(true, 2, 1023), "Selected 2 objects (1023 bytes)");
    EXPECT_EQ(countPaneText(false, 2, 1024), "Total 2 objects (1.00 KB)");
    EXPECT_EQ(countPaneText(false, 7, 5ull * 1073741824), "Total 7 objects (5.00 GB)");
}

TEST(StatusTexts, BrowserPanesDescribeSelectionOrTotals) {
    BrowserStatus s;
    s.itemCount = 3;
    s.folderName = "Pictures";
    s.folderModified = 0;
    auto panes = browserPanes(s);
    ASSERT_EQ(panes.size(), 6u);
    std::vector<int> ids;
    for (const PaneText& p : panes) {
        ids.push_back(p.id);
    }
    const auto set = paneSet(StatusSituation::Browser);
    EXPECT_EQ(ids, std::vector<int>(set.begin(), set.end()));
    EXPECT_EQ(panes[0].text, "Total 3 objects (0 byte)");
    // No focused item: the folder's own name; its zero time disables the date pane.
    EXPECT_EQ(paneOf(panes, pane::kName)->text, "Pictures");
    EXPECT_FALSE(paneOf(panes, pane::kModified)->enabled);
    EXPECT_FALSE(paneOf(panes, pane::kSize)->enabled);
    EXPECT_FALSE(paneOf(panes, pane::kDimensions)->enabled);

    s.selectedCount = 1;
    s.selectedFileBytes = 1536;
    s.totalFileBytes = 999999;
    s.hasFocusedItem = true;
    s.focusedName = "a.jpg";
    s.focusedModified = 1000000000;
    s.focusedSize = 1536;
    s.focusedWidth = 640;
    s.focusedHeight = 480;
    panes = browserPanes(s);
    EXPECT_EQ(panes[0].text, "Selected 1 object (1.50 KB)");
    EXPECT_EQ(paneOf(panes, pane::kName)->text, "a.jpg");
    EXPECT_EQ(paneOf(panes, pane::kModified)->text, "Modified Date: " + dateTimeText(1000000000));
    EXPECT_EQ(paneOf(panes, pane::kSize)->text, "1.50 KB");
    EXPECT_EQ(paneOf(panes, pane::kDimensions)->text, "640x480");

    // A pixel size known in one direction only is not shown.
    s.focusedHeight = 0;
    EXPECT_FALSE(paneOf(browserPanes(s), pane::kDimensions)->enabled);
}

TEST(StatusTexts, ImagePanes) {
    ImageStatus s;
    s.imagesBefore = 11;
    s.imageCount = 1230;
    s.fileName = "Test.jpg";
    s.fileSize = 1023;
    s.width = 640;
    s.height = 480;
    s.bitsPerPixel = 24;
    s.mouseX = 10;
    s.mouseY = 20;
    s.zoom = 1.0;
    auto panes = imagePanes(s);
    ASSERT_EQ(panes.size(), 7u);
    EXPECT_EQ(panes[0].text, "12/1230");
    EXPECT_EQ(panes[1].text, "Test.jpg");
    EXPECT_EQ(panes[2].text, "1023 bytes");
    EXPECT_EQ(panes[3].text, "640x480x24b");
    EXPECT_EQ(panes[4].text, "X:10, Y:20");
    EXPECT_EQ(panes[5].text, "100%");
    EXPECT_EQ(panes[6].id, pane::kSlider);

    // The pointer is clamped to the image; a selection adds its size.
    s.mouseX = -5;
    s.mouseY = 9999;
    s.hasSelection = true;
    s.selectionWidth = 30;
    s.selectionHeight = 40;
    EXPECT_EQ(mousePaneText(s), "X:0, Y:479 - 30x40");

    EXPECT_EQ(zoomPaneText(0.07), "7%");
    EXPECT_EQ(zoomPaneText(16), "1600%");
    EXPECT_EQ(zoomPaneText(0.125), "13%");
    EXPECT_EQ(zoomPaneText(0.1249), "12%");

    const auto none = noImagePanes();
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].id, pane::kTotals);
    EXPECT_EQ(none[0].text, "No images");
    EXPECT_TRUE(none[0].stretch);
    EXPECT_EQ(paneSet(StatusSituation::NoImage).size(), 1u);
}

TEST(StatusLayout, LaterPanesShrinkToZeroFirst) {
    const std::vector<PaneText> panes{
        {pane::kTotals, std::string(10, 'a')},   // 80
        {pane::kName, std::string(5, 'b')},      // 40
        {pane::kModified, std::string(5, 'c')},  // 40
        {pane::kSize, std::string(5, 'd')},      // 40
        {pane::kDimensions, "640x480"},         {pane::kSlider, {}, false},
    };
    // Browser room: 313 - 203 + 8 = 118.
    auto out = layoutPanes(panes, 313, true, measure);
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(out[0].width, 80);
    EXPECT_EQ(out[1].width, 38);
    EXPECT_EQ(out[2].width, 0);
    EXPECT_EQ(out[3].width, 0);
    // No room left: the pixel size is disabled.
    EXPECT_FALSE(out[4].enabled);
    EXPECT_EQ(out[4].width, 0);
    EXPECT_EQ(out[5].width, kSliderPaneWidth);
    EXPECT_FALSE(out[5].border);
    EXPECT_FALSE(out[5].enabled);

    // A window narrower than the reserved room gives every text pane 0.
    out = layoutPanes(panes, 50, true, measure);
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        EXPECT_EQ(out[i].width, 0) << i;
    }
    EXPECT_EQ(out.back().width, kSliderPaneWidth);

    // Wide enough: every pane its text width; the image mode has 8 pixels less.
    out = layoutPanes(panes, 2000, false, measure);
    EXPECT_EQ(out[0].width, 80);
    EXPECT_EQ(out[4].width, 56);
    EXPECT_TRUE(out[4].enabled);
    out = layoutPanes(panes, 203 + 80, false, measure);
    EXPECT_EQ(out[0].width, 80);
    EXPECT_EQ(out[1].width, 0);
}

TEST(StatusLayout, DisabledPanesTakeNoRoom) {
    const std::vector<PaneText> panes{
        {pane::kTotals, "Total"},
        {pane::kModified, "Modified", false},
        {pane::kSize, "1 KB"},
    };
    const auto out = layoutPanes(panes, 1000, true, measure);
    EXPECT_EQ(out[1].width, 0);
    EXPECT_FALSE(out[1].enabled);
    EXPECT_EQ(out[2].width, 32);
    const auto none = noImagePanes();
    const auto stretched = layoutPanes(none, 700, false, measure);
    EXPECT_TRUE(stretched[0].stretch);
    EXPECT_FALSE(stretched[0].border);
    EXPECT_EQ(stretched[0].text, "No images");
}

TEST(StatusSlider, ThumbnailSizeMapsBothWays) {
    EXPECT_EQ(thumbnailSizeToSlider(85), 30);
    EXPECT_EQ(thumbnailSizeToSlider(36), 0);
    EXPECT_EQ(thumbnailSizeToSlider(200), 100);
    EXPECT_EQ(thumbnailSizeToSlider(10), 0);
    EXPECT_EQ(thumbnailSizeToSlider(500), 100);
    EXPECT_EQ(sliderToThumbnailSize(100), 200);
    EXPECT_EQ(sliderToThumbnailSize(0), 36);
    EXPECT_EQ(sliderToThumbnailSize(30), 85);
    for (int size : {36, 48, 64, 85, 100, 128, 150, 200}) {
        // Round trips land within one slider step.
        EXPECT_NEAR(sliderToThumbnailSize(thumbnailSizeToSlider(size)), size, 1);
    }
}

TEST(StatusSlider, ZoomMapsBothWays) {
    EXPECT_EQ(zoomToSlider(1.0), 50);
    EXPECT_EQ(zoomToSlider(16), 100);
    EXPECT_EQ(zoomToSlider(0.07), 0);
    EXPECT_EQ(zoomToSlider(100), 100);
    EXPECT_EQ(zoomToSlider(0.01), 0);
    EXPECT_EQ(zoomToSlider(4), 60);
    EXPECT_DOUBLE_EQ(sliderToZoom(0), 0.07);
    EXPECT_NEAR(sliderToZoom(50), 1.0, 1e-12);
    EXPECT_NEAR(sliderToZoom(100), 16.0, 1e-12);
    EXPECT_NEAR(sliderToZoom(60), 4.0, 1e-12);
    for (int pos = 0; pos <= 100; ++pos) {
        EXPECT_EQ(zoomToSlider(sliderToZoom(pos)), pos) << pos;
    }
}

}  // namespace
}  // namespace tarn
