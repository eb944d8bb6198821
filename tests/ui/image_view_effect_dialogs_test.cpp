// The effect commands with a parameter dialog, run through the frame with the real dialog
// filled in as a user would, and the edit that follows.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "commands/command_ids.h"
#include "dialogs/dlg_effects.h"
#include "ui/dialog_input.h"
#include "ui/image_view_fixture.h"

namespace tarn {
namespace {

class ImageViewEffectDialogs : public ImageViewTest {
protected:
    bool canUndo() const { return frame->commandState(cmd::kUndo).enabled; }
};

TEST_F(ImageViewEffectDialogs, OkOnASelectionChangesOnlyTheSelectionAndCancelNothing) {
    openGradient();
    select(20, 30, 120, 110);
    answerNextDialog<CDlgSolarize>([](CDlgSolarize& d) {
        // The dialog previews the selected part, not the whole image.
        EXPECT_EQ(d.thumbnail().getWidth(), 100u);
        EXPECT_EQ(d.thumbnail().getHeight(), 80u);
        return false;
    });
    ASSERT_TRUE(frame->runCommand(cmd::kSolarize));
    EXPECT_FALSE(canUndo());
    EXPECT_FALSE(view->isModified());

    answerNextDialog<CDlgSolarize>([](CDlgSolarize& d) {
        test::type(d.box(0), "60");
        return true;
    });
    ASSERT_TRUE(frame->runCommand(cmd::kSolarize));
    EXPECT_TRUE(canUndo());
    // Inside: every channel above 60 turned over (red 100, green 100, blue 77).
    EXPECT_EQ(rgb(pixel(image(), 100, 100)), "155,155,178");
    // Just outside, on each side, as it was.
    for (const auto& [x, y] : {std::pair{19, 50}, {120, 50}, {50, 29}, {50, 110}}) {
        EXPECT_EQ(rgb(pixel(image(), x, y)), std::to_string(x) + "," + std::to_string(y) + ",77");
    }
    EXPECT_FALSE(view->selection().empty());
}

TEST_F(ImageViewEffectDialogs, EachCommandAppliesWhatItsDialogSays) {
    openGradient();
    answerNextDialog<CDlgAddNoise>([](CDlgAddNoise& d) {
        test::type(d.box(0), "0");
        return true;
    });
    ASSERT_TRUE(frame->runCommand(cmd::kAddNoise));
    EXPECT_EQ(rgb(pixel(image(), 10, 20)), "10,20,77");  // no noise at all

    answerNextDialog<CDlgThreshold>([](CDlgThreshold& d) {
        test::type(d.box(0), "100");
        return true;
    });
    select(10, 10, 60, 60);  // Threshold takes the whole image all the same
    ASSERT_TRUE(frame->runCommand(cmd::kThreshold));
    EXPECT_EQ(image().getBitsPerPixel(), 1u);
    EXPECT_EQ(image().getWidth(), 400u);
    // Colour effects need a true-colour image.
    EXPECT_FALSE(frame->commandState(cmd::kSpread).enabled);
    EXPECT_FALSE(frame->commandState(cmd::kStripe).enabled);
    EXPECT_FALSE(frame->commandState(cmd::kWind).enabled);
    EXPECT_FALSE(frame->commandState(cmd::kEmboss).enabled);
    EXPECT_FALSE(frame->commandState(cmd::kColorize).enabled);
    EXPECT_FALSE(frame->commandState(cmd::kEnhanceColors).enabled);
    EXPECT_FALSE(frame->commandState(cmd::kAdjustHsl).enabled);
    EXPECT_TRUE(frame->commandState(cmd::kAverageBlur).enabled);
    EXPECT_TRUE(frame->commandState(cmd::kRotateCustom).enabled);

    ASSERT_TRUE(frame->runCommand(cmd::kUndo));
    ASSERT_TRUE(frame->runCommand(cmd::kUndo));
    EXPECT_FALSE(canUndo());
    select(10, 10, 60, 60);
    answerNextDialog<CDlgRotate>([](CDlgRotate& d) {
        test::type(d.box(0), "90");
        return true;
    });
    ASSERT_TRUE(frame->runCommand(cmd::kRotateCustom));
    EXPECT_EQ(image().getWidth(), 300u);
    EXPECT_EQ(image().getHeight(), 400u);
    EXPECT_TRUE(view->selection().empty());
}

}  // namespace
}  // namespace tarn
