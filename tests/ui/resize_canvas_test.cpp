#include <gtest/gtest.h>

#include <string>

#include "dialogs/dlg_resize_canvas.h"
#include "imaging/fip_super_image.h"
#include "ui/dialog_input.h"

namespace tarn {
namespace {

using test::choose;
using test::click;
using test::pressOk;
using test::type;

fipSuperImage blankImage(int width, int height) {
    fipSuperImage image;
    image = FreeImage_Allocate(width, height, 24);
    return image;
}

TEST(ResizeCanvasDialog, StartsCentredOnWhiteAndChecksOnlyTheSize) {
    const fipSuperImage image = blankImage(400, 300);
    CDlgResizeCanvas dialog(&image, nullptr);
    test::MessageLog messages;
    dialog.setMessageFunction(messages.recorder());
    EXPECT_EQ(dialog.GetTitle(), "Resize Canvas");
    EXPECT_EQ(dialog.widthBox()->GetValue(), "400");
    EXPECT_EQ(dialog.heightBox()->GetValue(), "300");
    EXPECT_FALSE(dialog.keepAspectBox()->GetValue());
    EXPECT_EQ(dialog.positionList()->GetStringSelection(), "Center");
    EXPECT_EQ(dialog.positionList()->GetCount(), 9u);
    EXPECT_EQ(dialog.colourButton()->colour(), 0xFFFFFFu);
    EXPECT_EQ(dialog.currentSizeLabel()->GetLabel(), "400 x 300");

    choose(dialog.presetList(), 10);  // "200%"
    EXPECT_EQ(dialog.newSizeLabel()->GetLabel(), "800 x 600");
    EXPECT_TRUE(dialog.keepAspectBox()->GetValue());
    // Inches and back keep the pixels.
    choose(dialog.widthUnitList(), 1);
    choose(dialog.heightUnitList(), 0);
    EXPECT_EQ(dialog.widthBox()->GetValue(), "800");
    EXPECT_EQ(dialog.heightBox()->GetValue(), "600");

    test::showWithKeyboard(dialog);
    type(dialog.widthBox(), "10000");
    pressOk(dialog);
    ASSERT_EQ(messages.said.size(), 1u);
    EXPECT_EQ(messages.said[0].message, "Image size is invalid!");
    EXPECT_EQ(messages.said[0].title, "Resize");
    EXPECT_TRUE(test::focusedAndSelected(dialog.widthBox(), dialog.widthBox()));
    click(dialog.keepAspectBox(), false);
    for (const char* bad : {"0", "-20", "1e400", "nan"}) {
        type(dialog.widthBox(), "500");
        type(dialog.heightBox(), bad);
        pressOk(dialog);
        EXPECT_EQ(messages.last(), "Image size is invalid!") << bad;
        EXPECT_TRUE(test::focusedAndSelected(dialog.heightBox(), dialog.heightBox())) << bad;
    }
    type(dialog.heightBox(), "abc");
    pressOk(dialog);
    EXPECT_EQ(messages.last(), "Please enter a number.");
    EXPECT_TRUE(dialog.IsShown());

    type(dialog.heightBox(), "250");
    choose(dialog.positionList(), 8);
    dialog.colourButton()->setColour(0x0000FF);
    pressOk(dialog);
    ASSERT_TRUE(test::endedWithOk(dialog));
    EXPECT_EQ(dialog.newWidth(), 500);
    EXPECT_EQ(dialog.newHeight(), 250);
    EXPECT_EQ(dialog.positionIndex(), 8);
    EXPECT_EQ(dialog.colour(), 0x0000FFu);
}

TEST(ResizeCanvasDialog, KeepsTheAspectWithoutLiftingADerivedWidthToOne) {
    // One pixel wide, 4000 high: 100 rows give a width of 0.025.
    const fipSuperImage image = blankImage(1, 4000);
    CDlgResizeCanvas dialog(&image, nullptr);
    click(dialog.keepAspectBox(), true);
    type(dialog.heightBox(), "100");
    EXPECT_EQ(dialog.widthBox()->GetValue(), "1");
    // Not proportional for the canvas: the width typed again derives the height.
    type(dialog.widthBox(), "1");
    EXPECT_EQ(dialog.heightBox()->GetValue(), "4000");
    dialog.colourButton()->setColour(kAutomaticColor);
    pressOk(dialog);
    ASSERT_TRUE(test::endedWithOk(dialog));
    EXPECT_EQ(dialog.colour(), kAutomaticColor);
    EXPECT_EQ(dialog.positionIndex(), 4);
}

}  // namespace
}  // namespace tarn
