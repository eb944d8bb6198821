#include <gtest/gtest.h>

#include <string>

#include "dialogs/dlg_resize.h"
#include "dialogs/dlg_set_dpi.h"
#include "imaging/fip_super_image.h"
#include "ui/dialog_input.h"

namespace tarn {
namespace {

using test::choose;
using test::click;
using test::flushEvents;
using test::pressOk;
using test::type;
using test::waitFor;

// A blank picture of the size at the resolution (dots per inch, as the library keeps it:
// whole dots per metre).
fipSuperImage blankImage(int width, int height, double dpi, int bpp = 24) {
    fipSuperImage image;
    image = FreeImage_Allocate(width, height, bpp);
    FreeImage_SetDotsPerMeterX(image, static_cast<unsigned>(dpi / 0.0254 + 0.5));
    FreeImage_SetDotsPerMeterY(image, static_cast<unsigned>(dpi / 0.0254 + 0.5));
    return image;
}

class ResizeDialog : public testing::Test {
protected:
    ResizeDialog() : image(blankImage(4000, 3000, 72)), dialog(&image, nullptr) {
        dialog.setMessageFunction(messages.recorder());
    }
    fipSuperImage image;
    CDlgResize dialog;
    test::MessageLog messages;
};

TEST_F(ResizeDialog, StartsFromTheImageAndPresetsSetBothBoxes) {
    EXPECT_EQ(dialog.GetTitle(), "Resize");
    EXPECT_EQ(dialog.currentSizeLabel()->GetLabel(), "4000 x 3000");
    EXPECT_EQ(dialog.newSizeLabel()->GetLabel(), "4000 x 3000");
    EXPECT_EQ(dialog.widthBox()->GetValue(), "4000");
    EXPECT_EQ(dialog.heightBox()->GetValue(), "3000");
    EXPECT_EQ(dialog.dpiBox()->GetValue(), "72");
    EXPECT_EQ(dialog.dpiUnitList()->GetStringSelection(), "pixels/inch");
    EXPECT_EQ(dialog.filterList()->GetStringSelection(), "Bilinear");
    EXPECT_TRUE(dialog.keepAspectBox()->GetValue());
    EXPECT_EQ(dialog.presetList()->GetCount(), 11u);
    EXPECT_EQ(dialog.filterList()->GetString(5), "Lanczos");

    choose(dialog.presetList(), 7);  // "50%"
    EXPECT_EQ(dialog.widthBox()->GetValue(), "50");
    EXPECT_EQ(dialog.heightBox()->GetValue(), "50");
    EXPECT_EQ(dialog.widthUnitList()->GetStringSelection(), "%");
    EXPECT_EQ(dialog.heightUnitList()->GetStringSelection(), "%");
    EXPECT_TRUE(dialog.keepAspectBox()->GetValue());
    EXPECT_EQ(dialog.newSizeLabel()->GetLabel(), "2000 x 1500");
    EXPECT_EQ(dialog.presetList()->GetStringSelection(), "50%");

    choose(dialog.presetList(), 2);  // "800 x 600"
    EXPECT_EQ(dialog.widthBox()->GetValue(), "800");
    EXPECT_EQ(dialog.widthUnitList()->GetStringSelection(), "pixels");
    EXPECT_FALSE(dialog.keepAspectBox()->GetValue());
    EXPECT_EQ(dialog.newSizeLabel()->GetLabel(), "800 x 600");

    // Typing afterwards is a custom size.
    type(dialog.widthBox(), "801");
    EXPECT_EQ(dialog.presetList()->GetStringSelection(), "Custom");
    EXPECT_EQ(dialog.heightBox()->GetValue(), "600");  // the aspect is not kept
    EXPECT_EQ(dialog.newSizeLabel()->GetLabel(), "801 x 600");
}

TEST_F(ResizeDialog, KeepAspectWritesTheOtherBox) {
    type(dialog.heightBox(), "1500");
    EXPECT_EQ(dialog.widthBox()->GetValue(), "2000");
    EXPECT_EQ(dialog.newSizeLabel()->GetLabel(), "2000 x 1500");

    choose(dialog.widthUnitList(), 3);  // "%": the height's unit follows
    EXPECT_EQ(dialog.heightUnitList()->GetStringSelection(), "%");
    EXPECT_EQ(dialog.widthBox()->GetValue(), "50");
    type(dialog.heightBox(), "25");
    EXPECT_EQ(dialog.widthBox()->GetValue(), "25.000");
    type(dialog.heightBox(), "50");
    EXPECT_EQ(dialog.widthBox()->GetValue(), "50.000");
    type(dialog.widthBox(), "10");
    EXPECT_EQ(dialog.heightBox()->GetValue(), "10.000");
    EXPECT_EQ(dialog.newSizeLabel()->GetLabel(), "400 x 300");

    // Without the flag the boxes are independent; setting it again derives the height.
    click(dialog.keepAspectBox(), false);
    type(dialog.heightBox(), "30");
    EXPECT_EQ(dialog.widthBox()->GetValue(), "10");
    click(dialog.keepAspectBox(), true);
    EXPECT_EQ(dialog.heightBox()->GetValue(), "10.000");

    // Inches at the 72 dpi the box says: 400 pixels are 5.556 inches.
    choose(dialog.heightUnitList(), 1);
    EXPECT_EQ(dialog.widthUnitList()->GetStringSelection(), "inches");
    EXPECT_EQ(dialog.widthBox()->GetValue(), "5.556");
    EXPECT_EQ(dialog.newSizeLabel()->GetLabel(), "400 x 300");
    // Twice the resolution, twice the pixels for the same inches.
    type(dialog.dpiBox(), "144");
    EXPECT_EQ(dialog.newSizeLabel()->GetLabel(), "800 x 600");
}

TEST_F(ResizeDialog, DpiUnitConvertsToThreeDecimalsEachWay) {
    type(dialog.dpiBox(), "300");
    choose(dialog.dpiUnitList(), 1);
    EXPECT_EQ(dialog.dpiBox()->GetValue(), "118.11");
    choose(dialog.dpiUnitList(), 1);  // the same unit again converts nothing
    EXPECT_EQ(dialog.dpiBox()->GetValue(), "118.11");
    choose(dialog.dpiUnitList(), 0);
    EXPECT_EQ(dialog.dpiBox()->GetValue(), "299.999");
}

TEST_F(ResizeDialog, OkChecksTheResolutionFirstThenEachSide) {
    test::showWithKeyboard(dialog);
    type(dialog.dpiBox(), "6000");
    type(dialog.widthBox(), "10000");
    pressOk(dialog);
    ASSERT_EQ(messages.said.size(), 1u);
    EXPECT_EQ(messages.said[0].message, "DPI is invalid!");
    EXPECT_EQ(messages.said[0].title, "Resize");
    EXPECT_TRUE(test::focusedAndSelected(dialog.dpiBox(), dialog.dpiBox()));
    EXPECT_TRUE(dialog.IsShown());

    type(dialog.dpiBox(), "300");
    pressOk(dialog);
    ASSERT_EQ(messages.said.size(), 2u);
    EXPECT_EQ(messages.said[1].message, "Image size is invalid!");
    EXPECT_TRUE(test::focusedAndSelected(dialog.widthBox(), dialog.widthBox()));

    click(dialog.keepAspectBox(), false);
    type(dialog.widthBox(), "9999");
    type(dialog.heightBox(), "0");
    pressOk(dialog);
    EXPECT_EQ(messages.last(), "Image size is invalid!");
    EXPECT_TRUE(test::focusedAndSelected(dialog.heightBox(), dialog.heightBox()));
    EXPECT_TRUE(dialog.IsShown());

    type(dialog.heightBox(), "1");
    choose(dialog.filterList(), 5);
    pressOk(dialog);
    EXPECT_EQ(messages.said.size(), 3u);
    ASSERT_TRUE(test::endedWithOk(dialog));
    EXPECT_EQ(dialog.newWidth(), 9999);
    EXPECT_EQ(dialog.newHeight(), 1);
    EXPECT_EQ(dialog.filterIndex(), 5);
    // The library keeps whole dots per metre: 72 dpi is stored as 2835, 72.009 dpi.
    EXPECT_NEAR(dialog.newDpiX(), 300.0, 1e-9);
    EXPECT_DOUBLE_EQ(dialog.newDpiX(), dialog.newDpiY());
}

TEST_F(ResizeDialog, BadInputInEveryBoxIsRefusedWithAMessage) {
    test::showWithKeyboard(dialog);
    click(dialog.keepAspectBox(), false);
    struct Case {
        wxTextCtrl* box;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {dialog.widthBox(), "abc", "Please enter a number."},
        {dialog.widthBox(), "", "Please enter a number."},
        {dialog.heightBox(), "-", "Please enter a number."},
        {dialog.dpiBox(), "dpi", "Please enter a number."},
        {dialog.widthBox(), "-5", "Image size is invalid!"},
        {dialog.heightBox(), "-0.4", "Image size is invalid!"},
        {dialog.widthBox(), "1e400", "Image size is invalid!"},
        {dialog.heightBox(), "99999999999999999999999", "Image size is invalid!"},
        {dialog.heightBox(), "nan", "Image size is invalid!"},
        {dialog.dpiBox(), "-300", "DPI is invalid!"},
        {dialog.dpiBox(), "1e308", "DPI is invalid!"},
        {dialog.dpiBox(), "inf", "DPI is invalid!"},
    };
    for (const Case& bad : cases) {
        type(dialog.widthBox(), "100");
        type(dialog.heightBox(), "100");
        type(dialog.dpiBox(), "72");
        type(bad.box, bad.text);
        const std::size_t before = messages.said.size();
        pressOk(dialog);
        ASSERT_EQ(messages.said.size(), before + 1) << bad.text;
        EXPECT_EQ(messages.last(), bad.message) << bad.text;
        EXPECT_TRUE(dialog.IsShown()) << bad.text;
        EXPECT_TRUE(test::focusedAndSelected(bad.box, bad.box)) << bad.text;
    }
    // Absurd values in every unit only ever give messages.
    for (int unit = 1; unit < 4; ++unit) {
        choose(dialog.widthUnitList(), unit);
        type(dialog.widthBox(), "1e300");
        type(dialog.heightBox(), "-1e300");
        EXPECT_FALSE(dialog.newSizeLabel()->GetLabel().empty());
        choose(dialog.heightUnitList(), (unit + 1) % 4);
        const std::size_t before = messages.said.size();
        pressOk(dialog);
        EXPECT_EQ(messages.said.size(), before + 1);
        EXPECT_TRUE(dialog.IsShown());
    }
}

// The commands open these only with an image; without one they still refuse, never crash.
TEST(GeometryDialogsWithoutImage, RefuseOk) {
    test::MessageLog messages;
    CDlgResize resize(nullptr, nullptr);
    resize.setMessageFunction(messages.recorder());
    EXPECT_EQ(resize.currentSizeLabel()->GetLabel(), "0 x 0");
    pressOk(resize);
    EXPECT_EQ(messages.last(), "Image size is invalid!");
    CDlgSetDPI setDpi(nullptr, nullptr);
    setDpi.setMessageFunction(messages.recorder());
    EXPECT_EQ(setDpi.xBox()->GetValue(), "0");
    pressOk(setDpi);
    EXPECT_EQ(messages.last(), "Please enter an integer between 1 and 9999.");
    EXPECT_EQ(messages.said.size(), 2u);
}

class SetDpiDialog : public testing::Test {
protected:
    SetDpiDialog() : image(blankImage(64, 48, 300)), dialog(&image, nullptr) {
        dialog.setMessageFunction(messages.recorder());
    }
    fipSuperImage image;
    CDlgSetDPI dialog;
    test::MessageLog messages;
};

TEST_F(SetDpiDialog, RefusesWhatIsNotAResolutionInRange) {
    EXPECT_EQ(dialog.GetTitle(), "Set DPI");
    EXPECT_EQ(dialog.xBox()->GetValue(), "300");
    EXPECT_EQ(dialog.yBox()->GetValue(), "300");
    EXPECT_EQ(dialog.xSpin()->GetMin(), 1);
    EXPECT_EQ(dialog.xSpin()->GetMax(), 9999);
    EXPECT_EQ(dialog.xSpin()->GetValue(), 300);
    test::showWithKeyboard(dialog);
    struct Case {
        wxTextCtrl* box;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {dialog.xBox(), "abc", "Please enter a positive integer."},
        {dialog.xBox(), "", "Please enter a positive integer."},
        {dialog.xBox(), "-3", "Please enter a positive integer."},
        {dialog.yBox(), "7.5", "Please enter a positive integer."},
        {dialog.xBox(), "0", "Please enter an integer between 1 and 9999."},
        {dialog.yBox(), "10000", "Please enter an integer between 1 and 9999."},
        {dialog.yBox(), "99999999999999999999999", "Please enter an integer between 1 and 9999."},
    };
    for (const Case& bad : cases) {
        type(dialog.xBox(), "300");
        type(dialog.yBox(), "300");
        type(bad.box, bad.text);
        pressOk(dialog);
        EXPECT_EQ(messages.last(), bad.message) << bad.text;
        EXPECT_EQ(messages.said.back().title, "Set DPI");
        EXPECT_TRUE(dialog.IsShown()) << bad.text;
        EXPECT_TRUE(test::focusedAndSelected(bad.box, bad.box)) << bad.text;
    }
    EXPECT_EQ(messages.said.size(), std::size(cases));

    type(dialog.xBox(), " 9999 ");
    type(dialog.yBox(), "1");
    EXPECT_EQ(dialog.xSpin()->GetValue(), 9999);
    pressOk(dialog);
    ASSERT_TRUE(test::endedWithOk(dialog));
    EXPECT_EQ(dialog.dpiX(), 9999u);
    EXPECT_EQ(dialog.dpiY(), 1u);
}

TEST_F(SetDpiDialog, TheSpinButtonStepsTheBox) {
    test::showWithKeyboard(dialog);
    // A click on the upper arrow, as a person does it.
    const wxRect arrows = dialog.ySpin()->GetScreenRect();
    wxUIActionSimulator sim;
    sim.MouseMove(arrows.GetLeft() + arrows.GetWidth() / 2, arrows.GetTop() + 3);
    flushEvents();
    sim.MouseClick();
    ASSERT_TRUE(waitFor([&] { return dialog.yBox()->GetValue() != "300"; }, 3000));
    EXPECT_EQ(dialog.yBox()->GetValue(), "301");
    EXPECT_EQ(dialog.xBox()->GetValue(), "300");
}

}  // namespace
}  // namespace tarn
