#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/dlg_change_bpp.h"
#include "dialogs/dlg_set_zoom_level.h"
#include "imaging/fip_super_image.h"
#include "ui/dialog_input.h"

namespace tarn {
namespace {

using test::click;
using test::pressOk;
using test::type;

fipSuperImage imageOfDepth(int bpp) {
    fipSuperImage image;
    image = FreeImage_Allocate(16, 16, bpp);
    return image;
}

class ChangeDepthDialog : public testing::Test {
protected:
    ChangeDepthDialog() : image(imageOfDepth(24)), dialog(&image, nullptr) {
        dialog.setMessageFunction(messages.recorder());
    }
    fipSuperImage image;
    CDlgChangeBPP dialog;
    test::MessageLog messages;
};

TEST_F(ChangeDepthDialog, StartsAtTheImageDepthWithTheLimitOff) {
    EXPECT_EQ(dialog.GetTitle(), "Change Color Depth");
    EXPECT_TRUE(dialog.depthButton(3)->GetValue());
    EXPECT_EQ(dialog.depthButton(0)->GetLabel(), "1-bit (Black && White)");
    EXPECT_FALSE(dialog.limitBox()->GetValue());
    EXPECT_TRUE(dialog.limitBox()->IsEnabled());
    EXPECT_FALSE(dialog.grayscaleBox()->GetValue());
    EXPECT_TRUE(dialog.grayscaleBox()->IsEnabled());
    EXPECT_FALSE(dialog.countBox()->IsEnabled());
    EXPECT_FALSE(dialog.countSpin()->IsEnabled());
    EXPECT_EQ(dialog.countBox()->GetValue(), "256");
    EXPECT_EQ(dialog.countSpin()->GetMax(), 256);

    click(dialog.limitBox(), true);
    EXPECT_TRUE(dialog.countBox()->IsEnabled());
    EXPECT_TRUE(dialog.countSpin()->IsEnabled());
    pressOk(dialog);
    ASSERT_TRUE(test::endedWithOk(dialog));
    EXPECT_EQ(dialog.bitsPerPixel(), 24u);
    EXPECT_EQ(dialog.maxColors(), 256u);
    EXPECT_FALSE(dialog.grayscale());
}

TEST_F(ChangeDepthDialog, ACountOutOfRangeIsRefusedOrReplacedWhenTheDepthChanges) {
    test::showWithKeyboard(dialog);
    click(dialog.limitBox(), true);
    type(dialog.countBox(), "300");
    pressOk(dialog);
    ASSERT_EQ(messages.said.size(), 1u);
    EXPECT_EQ(messages.said[0].message,
              "You must specify a valid maximum number of colors (2 - 256).");
    EXPECT_EQ(messages.said[0].title, "Change Color Depth");
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_TRUE(test::focusedAndSelected(dialog.countBox(), dialog.countBox()));

    click(dialog.depthButton(1));  // 4-bit
    EXPECT_EQ(dialog.countBox()->GetValue(), "16");
    EXPECT_EQ(dialog.countSpin()->GetMax(), 16);
    type(dialog.countBox(), "17");
    pressOk(dialog);
    EXPECT_EQ(messages.last(), "You must specify a valid maximum number of colors (2 - 16).");
    type(dialog.countBox(), "1");
    click(dialog.depthButton(2));  // 8-bit: below the range becomes 2
    EXPECT_EQ(dialog.countBox()->GetValue(), "2");
    for (const char* bad : {"", "abc", "-4", "99999999999999999999"}) {
        type(dialog.countBox(), bad);
        pressOk(dialog);
        EXPECT_EQ(messages.last(), "You must specify a valid maximum number of colors (2 - 256).")
            << bad;
        EXPECT_TRUE(dialog.IsShown()) << bad;
    }
    EXPECT_EQ(messages.said.size(), 6u);

    // An unchecked limit ignores the box.
    click(dialog.limitBox(), false);
    EXPECT_FALSE(dialog.countBox()->IsEnabled());
    click(dialog.grayscaleBox(), true);
    click(dialog.depthButton(4));
    pressOk(dialog);
    ASSERT_TRUE(test::endedWithOk(dialog));
    EXPECT_EQ(dialog.bitsPerPixel(), 32u);
    EXPECT_EQ(dialog.maxColors(), 0u);
    EXPECT_TRUE(dialog.grayscale());
}

TEST_F(ChangeDepthDialog, OneBitDisablesAndSetsTheCheckBoxes) {
    click(dialog.limitBox(), true);
    click(dialog.depthButton(0));
    EXPECT_FALSE(dialog.limitBox()->GetValue());
    EXPECT_FALSE(dialog.limitBox()->IsEnabled());
    EXPECT_TRUE(dialog.grayscaleBox()->GetValue());
    EXPECT_FALSE(dialog.grayscaleBox()->IsEnabled());
    EXPECT_FALSE(dialog.countBox()->IsEnabled());
    EXPECT_FALSE(dialog.countSpin()->IsEnabled());
    // Back to 8 bits: the boxes come back, the limit still off.
    click(dialog.depthButton(2));
    EXPECT_TRUE(dialog.limitBox()->IsEnabled());
    EXPECT_TRUE(dialog.grayscaleBox()->IsEnabled());
    EXPECT_FALSE(dialog.countBox()->IsEnabled());
    click(dialog.depthButton(0));
    pressOk(dialog);
    ASSERT_TRUE(test::endedWithOk(dialog));
    EXPECT_EQ(dialog.bitsPerPixel(), 1u);
    EXPECT_EQ(dialog.maxColors(), 0u);
    EXPECT_TRUE(dialog.grayscale());
}

TEST(ChangeDepthStart, FollowsEveryDepth) {
    struct Case {
        int bpp;
        int button;
        int top;
    };
    for (const Case c :
         {Case{1, 0, 256}, Case{4, 1, 16}, Case{8, 2, 256}, Case{16, 0, 256}, Case{32, 4, 256}}) {
        const fipSuperImage image = imageOfDepth(c.bpp);
        CDlgChangeBPP dialog(&image, nullptr);
        EXPECT_TRUE(dialog.depthButton(c.button)->GetValue()) << c.bpp;
        EXPECT_EQ(dialog.countBox()->GetValue(), std::to_string(c.top)) << c.bpp;
        EXPECT_EQ(dialog.countSpin()->GetMax(), c.top) << c.bpp;
        const bool oneBit = c.button == 0;
        EXPECT_EQ(dialog.grayscaleBox()->GetValue(), oneBit) << c.bpp;
        EXPECT_EQ(dialog.limitBox()->IsEnabled(), !oneBit) << c.bpp;
    }
    // Without an image: 1-bit.
    CDlgChangeBPP none(nullptr, nullptr);
    EXPECT_TRUE(none.depthButton(0)->GetValue());
}

// The image view as the zoom dialog sees it, with what was asked of it.
struct RecordedView {
    double zoom = 1.0;
    bool locked = false;
    std::vector<std::string> calls;

    ZoomLevelView view() {
        return {[this] { return zoom; }, [this] { return locked; },
                [this](double z) {
                    zoom = z;
                    calls.push_back("zoom " + std::to_string(z).substr(0, 4));
                },
                [this](int fit) {
                    locked = false;  // a fit is a zoom type of its own
                    calls.push_back("fit " + std::to_string(fit));
                },
                [this](bool lock) {
                    locked = lock;
                    calls.push_back(lock ? "lock" : "unlock");
                }};
    }
};

TEST(SetZoomLevelDialog, StartsAtTheViewsZoomWithTheTextSelected) {
    RecordedView view;
    view.zoom = 1.505;
    view.locked = true;
    CDlgSetZoomLevel dialog(nullptr, view.view());
    EXPECT_EQ(dialog.GetTitle(), "Set Zoom Level");
    EXPECT_TRUE(dialog.choiceButton(3)->GetValue());
    EXPECT_EQ(dialog.levelList()->GetValue(), "151");
    EXPECT_EQ(dialog.levelList()->GetCount(), 19u);
    EXPECT_EQ(dialog.levelList()->GetString(18), "1600");
    EXPECT_TRUE(dialog.lockBox()->GetValue());
    test::showWithKeyboard(dialog);
    EXPECT_TRUE(test::focusedAndSelected(dialog.levelList(), dialog.levelList()));
}

TEST(SetZoomLevelDialog, RefusesLevelsOutOfRangeAndAppliesOnlyWhatChanged) {
    RecordedView view;
    view.zoom = 0.5;
    {
        CDlgSetZoomLevel dialog(nullptr, view.view());
        test::MessageLog messages;
        dialog.setMessageFunction(messages.recorder());
        test::showWithKeyboard(dialog);
        for (const char* bad : {"5", "1601", "", "zoom", "-100", "99999999999999999999"}) {
            type(dialog.levelList(), bad);
            pressOk(dialog);
            EXPECT_EQ(messages.last(), "You must specify a valid zoom level (7% - 1600%).") << bad;
            EXPECT_EQ(messages.said.back().title, "Set Zoom Level");
            EXPECT_TRUE(dialog.IsShown()) << bad;
            EXPECT_TRUE(test::focusedAndSelected(dialog.levelList(), dialog.levelList()));
        }
        EXPECT_TRUE(view.calls.empty());
        // The current level typed again: only the lock is applied.
        type(dialog.levelList(), "50");
        click(dialog.lockBox(), true);
        pressOk(dialog);
        ASSERT_TRUE(test::endedWithOk(dialog));
        EXPECT_EQ(view.calls, std::vector<std::string>{"lock"});
    }
    view.calls.clear();
    {
        CDlgSetZoomLevel dialog(nullptr, view.view());
        EXPECT_TRUE(dialog.lockBox()->GetValue());
        type(dialog.levelList(), "1600");
        pressOk(dialog);
        ASSERT_TRUE(test::endedWithOk(dialog));
        EXPECT_EQ(view.calls, std::vector<std::string>{"zoom 16.0"});
    }
    view.calls.clear();
    {
        // A fit leaves the lock; the box still checked puts it back.
        CDlgSetZoomLevel dialog(nullptr, view.view());
        click(dialog.choiceButton(1));
        type(dialog.levelList(), "junk");
        pressOk(dialog);
        ASSERT_TRUE(test::endedWithOk(dialog));
        EXPECT_EQ(view.calls, (std::vector<std::string>{"fit 1", "lock"}));
    }
    view.calls.clear();
    {
        CDlgSetZoomLevel dialog(nullptr, view.view());
        click(dialog.choiceButton(0));
        click(dialog.lockBox(), false);
        pressOk(dialog);
        ASSERT_TRUE(test::endedWithOk(dialog));
        EXPECT_EQ(view.calls, std::vector<std::string>{"fit 0"});
        EXPECT_FALSE(view.locked);
    }
}

}  // namespace
}  // namespace tarn
