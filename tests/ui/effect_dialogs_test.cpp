// The one-pane effect dialogs driven as a user drives them, reading the preview's pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "dialogs/dlg_effects.h"
#include "imaging/effects/color_effects.h"
#include "imaging/effects/convolution.h"
#include "imaging/effects/geometry.h"
#include "imaging/effects/texture_effects.h"
#include "imaging/effects/tone_operations.h"
#include "imaging/image_fixtures.h"
#include "ui/dialog_input.h"

namespace tarn {
namespace {

using test::pressOk;
using test::type;

bool samePixels(const fipImage& a, const fipImage& b) {
    if (!a.isValid() || !b.isValid() || a.getWidth() != b.getWidth() ||
        a.getHeight() != b.getHeight() || a.getBitsPerPixel() != b.getBitsPerPixel()) {
        return false;
    }
    const unsigned bytes = a.getLine();
    for (unsigned y = 0; y < a.getHeight(); ++y) {
        if (std::memcmp(a.getScanLine(y), b.getScanLine(y), bytes) != 0) {
            return false;
        }
    }
    return true;
}

// The thumbnail with an effect applied, as the preview should show it.
template <typename Apply>
fipSuperImage expected(const CEffectDialog& dialog, Apply apply) {
    fipSuperImage copy = dialog.thumbnail();
    apply(copy);
    return copy;
}

void moveSlider(wxSlider* slider, int position) {
    slider->SetValue(position);
    wxCommandEvent event(wxEVT_SLIDER, slider->GetId());
    event.SetEventObject(slider);
    event.SetInt(position);
    slider->GetEventHandler()->ProcessEvent(event);
}

void stepSpin(wxSpinButton* spin, int position) {
    spin->SetValue(position);
    wxSpinEvent event(wxEVT_SPIN, spin->GetId());
    event.SetEventObject(spin);
    event.SetPosition(position);
    spin->GetEventHandler()->ProcessEvent(event);
}

class EffectDialogs : public testing::Test {
protected:
    fipSuperImage source = test::pictureImage(600, 400);
    test::MessageLog messages;
};

TEST_F(EffectDialogs, AddNoisePreviewsWhatIsTypedAndRefusesItOnOk) {
    CDlgAddNoise dialog(&source, nullptr);
    dialog.setMessageFunction(messages.recorder());
    EXPECT_EQ(dialog.GetTitle(), "Add Noise");
    // Made once at the pane's size, in proportion, and previewed with the default.
    const wxSize pane = dialog.preview()->GetClientSize();
    ASSERT_TRUE(dialog.thumbnail().isValid());
    EXPECT_EQ(static_cast<int>(dialog.thumbnail().getWidth()), pane.x);
    EXPECT_LE(static_cast<int>(dialog.thumbnail().getHeight()), pane.y);
    EXPECT_TRUE(samePixels(dialog.preview()->image(),
                           expected(dialog, [](fipImage& i) { addNoise(i, {128}); })));

    type(dialog.box(0), "300");
    EXPECT_TRUE(samePixels(dialog.preview()->image(),
                           expected(dialog, [](fipImage& i) { addNoise(i, {300}); })));
    EXPECT_EQ(dialog.slider(0)->GetValue(), 255);

    test::showWithKeyboard(dialog);
    pressOk(dialog);
    ASSERT_EQ(messages.said.size(), 1u);
    EXPECT_EQ(messages.last(), "You must specify a valid noise level (0 - 255).");
    EXPECT_EQ(messages.said[0].title, "Add Noise");
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_TRUE(test::focusedAndSelected(dialog.box(0), dialog.box(0)));

    type(dialog.box(0), "40");
    pressOk(dialog);
    EXPECT_TRUE(test::endedWithOk(dialog));
    EXPECT_EQ(dialog.amount(), 40);
}

TEST_F(EffectDialogs, ThresholdPreviewsTheLowByteAndChecksOnOk) {
    CDlgThreshold dialog(&source, nullptr);
    dialog.setMessageFunction(messages.recorder());
    EXPECT_EQ(dialog.preview()->image().getBitsPerPixel(), 1u);
    type(dialog.box(0), "300");
    EXPECT_TRUE(samePixels(dialog.preview()->image(),
                           expected(dialog, [](fipImage& i) { threshold(i, {300 - 256}); })));
    pressOk(dialog);
    EXPECT_EQ(messages.last(), "You must specify a valid threshold level (0 - 255).");
    EXPECT_NE(dialog.GetReturnCode(), wxID_OK);
}

TEST_F(EffectDialogs, SlidersAndSpinButtonsWriteIntoTheBoxWhichDrivesThePreview) {
    CDlgSolarize solarizeDialog(&source, nullptr);
    EXPECT_EQ(solarizeDialog.box(0)->GetValue(), "255");
    moveSlider(solarizeDialog.slider(0), 100);
    EXPECT_EQ(solarizeDialog.box(0)->GetValue(), "100");
    EXPECT_TRUE(
        samePixels(solarizeDialog.preview()->image(), expected(solarizeDialog, [](fipImage& i) {
                       solarize(i, {100, 1});
                   })));

    CDlgStripe dialog(&source, nullptr);
    stepSpin(dialog.spin(1), 36);
    EXPECT_EQ(dialog.box(1)->GetValue(), "36");
    EXPECT_EQ(dialog.slider(1)->GetValue(), 36);
    // Every change previews with all current values, on a fresh copy.
    type(dialog.box(0), "9");
    EXPECT_TRUE(samePixels(dialog.preview()->image(), expected(dialog, [](fipImage& i) {
                               stripe(i, {9, 36});
                           })));
    // Silently limited, in the preview and on Ok.
    type(dialog.box(1), "150");
    EXPECT_EQ(dialog.current(1), 100);
    EXPECT_EQ(dialog.slider(1)->GetValue(), 100);
    pressOk(dialog);
    EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
    EXPECT_EQ(dialog.swing(), 9);
    EXPECT_EQ(dialog.frequency(), 100);
}

TEST_F(EffectDialogs, RotateStartsUnchangedAndTakesAnyRealAngle) {
    CDlgRotate dialog(&source, nullptr);
    EXPECT_TRUE(samePixels(dialog.preview()->image(), dialog.thumbnail()));
    type(dialog.box(0), "12.5abc");
    EXPECT_EQ(dialog.slider(0)->GetValue(), 13);
    EXPECT_TRUE(samePixels(dialog.preview()->image(),
                           expected(dialog, [](fipImage& i) { rotateImage(i, 12.5); })));
    EXPECT_GT(dialog.preview()->image().getWidth(), dialog.thumbnail().getWidth());
    type(dialog.box(0), "-400");
    EXPECT_EQ(dialog.slider(0)->GetValue(), -180);
    pressOk(dialog);
    EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
    EXPECT_DOUBLE_EQ(dialog.angle(), -400);
}

TEST_F(EffectDialogs, BadInputAndOddSourcesGiveDefinedResults) {
    CDlgSpread spreadDialog(&source, nullptr);
    type(spreadDialog.box(0), "abc");
    EXPECT_EQ(spreadDialog.current(0), 0);
    EXPECT_TRUE(samePixels(spreadDialog.preview()->image(), spreadDialog.thumbnail()));
    type(spreadDialog.box(0), std::string(1000, '9'));
    EXPECT_EQ(spreadDialog.current(0), 32);
    pressOk(spreadDialog);
    EXPECT_EQ(spreadDialog.amount(), 32);

    for (const auto& [width, height] : {std::pair{1u, 1u}, {1u, 1000u}, {1000u, 1u}}) {
        const fipSuperImage odd = test::pictureImage(width, height);
        CDlgStripe dialog(&odd, nullptr);
        ASSERT_TRUE(dialog.thumbnail().isValid()) << width << " x " << height;
        const wxSize pane = dialog.preview()->GetClientSize();
        EXPECT_LE(static_cast<int>(dialog.thumbnail().getWidth()), pane.x);
        EXPECT_LE(static_cast<int>(dialog.thumbnail().getHeight()), pane.y);
        type(dialog.box(0), "100");
        CDlgRotate turn(&odd, nullptr);
        type(turn.box(0), "33");
        EXPECT_TRUE(turn.preview()->image().isValid());
    }

    // Without a source the pane stays empty and Ok still hands the values back.
    CDlgSolarize none(nullptr, nullptr);
    type(none.box(0), "20");
    EXPECT_FALSE(none.preview()->image().isValid());
    pressOk(none);
    EXPECT_EQ(none.threshold(), 20);
}

TEST_F(EffectDialogs, SizeLimitsFollowTheThumbnailAndWindScalesToTheSource) {
    const fipSuperImage small = test::pictureImage(40, 30);
    CDlgWind tiny(&small, nullptr);
    EXPECT_EQ(tiny.thumbnail().getWidth(), 40u);  // never enlarged
    EXPECT_EQ(tiny.slider(0)->GetMax(), 39);
    type(tiny.box(0), "100");
    EXPECT_EQ(tiny.current(0), 39);
    pressOk(tiny);
    EXPECT_EQ(tiny.level(), 39);

    const fipSuperImage wide = test::pictureImage(3000, 2000);
    CDlgWind dialog(&wide, nullptr);
    const int thumbnailWidth = static_cast<int>(dialog.thumbnail().getWidth());
    EXPECT_EQ(dialog.slider(0)->GetMax(), 50);
    EXPECT_TRUE(dialog.smoothBox()->GetValue());
    type(dialog.box(0), "5");
    test::click(dialog.rightButton());
    test::click(dialog.smoothBox(), false);
    EXPECT_TRUE(samePixels(dialog.preview()->image(), expected(dialog, [](fipImage& i) {
                               wind(i, {5, 1, false});
                           })));
    pressOk(dialog);
    EXPECT_EQ(dialog.level(), static_cast<int>(std::lround(5.0 * 3000 / thumbnailWidth)));
    EXPECT_EQ(dialog.direction(), 1);
    EXPECT_FALSE(dialog.smooth());

    // The blur previews at most 20 but hands back what the source allows, unscaled.
    CDlgAverageBlur blur(&wide, nullptr);
    EXPECT_EQ(blur.box(0)->GetValue(), "10");
    type(blur.box(0), "50");
    EXPECT_EQ(blur.current(0), 20);
    EXPECT_EQ(blur.slider(0)->GetValue(), 20);
    EXPECT_TRUE(samePixels(blur.preview()->image(),
                           expected(blur, [](fipImage& i) { averageBlur(i, {20}); })));
    pressOk(blur);
    EXPECT_EQ(blur.radius(), 50);
    const fipSuperImage thin = test::pictureImage(12, 8);
    CDlgAverageBlur thinBlur(&thin, nullptr);
    EXPECT_EQ(thinBlur.slider(0)->GetMax(), 7);
    type(thinBlur.box(0), "50");
    pressOk(thinBlur);
    EXPECT_EQ(thinBlur.radius(), 7);

    CDlgEmboss emboss(&source, nullptr);
    type(emboss.box(0), "20");
    EXPECT_TRUE(samePixels(emboss.preview()->image(),
                           expected(emboss, [](fipImage& i) { tarn::emboss(i, {15}); })));
    pressOk(emboss);
    EXPECT_EQ(emboss.weight(), 15);
}

TEST_F(EffectDialogs, ColorizeTakesPresetsAndSwitchesToCustomForAChosenColour) {
    CDlgColorize dialog(&source, nullptr);
    ASSERT_EQ(dialog.colorList()->GetCount(), 19u);
    EXPECT_EQ(dialog.colorList()->GetSelection(), 0);
    EXPECT_EQ(dialog.colorList()->GetString(18), "Custom");
    EXPECT_EQ(dialog.colorButton()->colour(), makeColorRef(235, 138, 0));

    const auto previewFor = [&](ColorRef colour, double amount) {
        double hue = 0;
        double saturation = 0;
        double lightness = 0;
        fipSuperImage::RGBtoHSL({blueOf(colour), greenOf(colour), redOf(colour), 0}, hue,
                                saturation, lightness);
        return expected(dialog, [=](fipImage& i) { colorize(i, {hue, saturation, amount}); });
    };
    test::choose(dialog.colorList(), 4);  // "Red"
    EXPECT_EQ(dialog.colorButton()->colour(), makeColorRef(234, 26, 26));
    type(dialog.box(0), "80");
    EXPECT_TRUE(samePixels(dialog.preview()->image(), previewFor(makeColorRef(234, 26, 26), 0.8)));

    // A colour picked with the button, through its popup and the keyboard.
    test::showWithKeyboard(dialog);
    dialog.colorButton()->openPopup();
    ASSERT_NE(dialog.colorButton()->popup(), nullptr);
    dialog.colorButton()->popup()->handleKey(WXK_RIGHT);
    dialog.colorButton()->popup()->handleKey(WXK_RETURN);
    ASSERT_TRUE(test::waitFor([&] { return !dialog.colorButton()->isPopupActive(); }, 3000));
    const ColorRef picked = dialog.colorButton()->colour();
    EXPECT_NE(picked, makeColorRef(234, 26, 26));
    EXPECT_EQ(dialog.colorList()->GetSelection(), 18);
    EXPECT_TRUE(samePixels(dialog.preview()->image(), previewFor(picked, 0.8)));
    // Choosing "Custom" itself keeps the button's colour.
    test::choose(dialog.colorList(), 18);
    EXPECT_EQ(dialog.colorButton()->colour(), picked);

    pressOk(dialog);
    EXPECT_TRUE(test::endedWithOk(dialog));
    double hue = 0;
    double saturation = 0;
    double lightness = 0;
    fipSuperImage::RGBtoHSL({blueOf(picked), greenOf(picked), redOf(picked), 0}, hue, saturation,
                            lightness);
    EXPECT_DOUBLE_EQ(dialog.hue(), hue);
    EXPECT_DOUBLE_EQ(dialog.saturation(), saturation);
    EXPECT_EQ(dialog.amount(), 80);
}

TEST_F(EffectDialogs, TwoPaneDialogsShowTheOriginalBesideTheResult) {
    CDlgAdjustHSL hsl(&source, nullptr);
    ASSERT_NE(hsl.original(), nullptr);
    EXPECT_TRUE(samePixels(hsl.original()->image(), hsl.thumbnail()));
    EXPECT_TRUE(samePixels(hsl.preview()->image(), hsl.thumbnail()));
    type(hsl.box(0), "-30");
    type(hsl.box(2), "-500");
    EXPECT_EQ(hsl.slider(2)->GetValue(), -100);
    EXPECT_TRUE(samePixels(hsl.preview()->image(), expected(hsl, [](fipImage& i) {
                               adjustHSL(i, {-30, 0, -100});
                           })));
    EXPECT_TRUE(samePixels(hsl.original()->image(), hsl.thumbnail()));
    pressOk(hsl);
    EXPECT_EQ(hsl.hue(), -30);
    EXPECT_EQ(hsl.lightness(), -100);
    wxCommandEvent press(wxEVT_BUTTON, hsl.defaultsButton()->GetId());
    hsl.defaultsButton()->GetEventHandler()->ProcessEvent(press);
    EXPECT_EQ(hsl.box(0)->GetValue(), "0");
    EXPECT_TRUE(samePixels(hsl.preview()->image(), hsl.thumbnail()));

    const fipSuperImage small = test::pictureImage(40, 30);
    CDlgMosaic tiny(&small, nullptr);
    EXPECT_EQ(tiny.slider(0)->GetMin(), 2);
    EXPECT_EQ(tiny.slider(0)->GetMax(), 29);
    const fipSuperImage wide = test::pictureImage(3000, 2000);
    CDlgMosaic mosaicDialog(&wide, nullptr);
    EXPECT_EQ(mosaicDialog.slider(0)->GetMax(), 50);
    EXPECT_TRUE(samePixels(mosaicDialog.preview()->image(),
                           expected(mosaicDialog, [](fipImage& i) { mosaic(i, {5}); })));
    pressOk(mosaicDialog);
    const double thumbnailWidth = mosaicDialog.thumbnail().getWidth();
    EXPECT_EQ(mosaicDialog.blockSize(), static_cast<int>(std::lround(5 * 3000 / thumbnailWidth)));
}

TEST_F(EffectDialogs, EnhanceColorsTakesGammaInHundredthsAndBalanceAsFactors) {
    CDlgEnhanceColors dialog(&source, nullptr);
    EXPECT_EQ(dialog.box(2)->GetValue(), "1.00");
    EXPECT_EQ(dialog.slider(2)->GetValue(), 100);
    EXPECT_TRUE(samePixels(dialog.preview()->image(), dialog.thumbnail()));
    type(dialog.box(3), "100");
    type(dialog.box(5), "-100");
    EXPECT_TRUE(samePixels(dialog.preview()->image(), expected(dialog, [](fipImage& i) {
                               adjustColors(i, {0, 0, 1, false});
                               adjustGammaRGB(i, {6.99, 1.00, 0.01});
                           })));
    type(dialog.box(2), "9");
    EXPECT_EQ(dialog.slider(2)->GetValue(), 699);
    EXPECT_DOUBLE_EQ(dialog.current(2), 6.99);
    moveSlider(dialog.slider(2), 250);
    EXPECT_EQ(dialog.box(2)->GetValue(), "2.50");
    stepSpin(dialog.spin(2), 251);
    EXPECT_EQ(dialog.box(2)->GetValue(), "2.51");
    type(dialog.box(0), "-20");
    EXPECT_TRUE(samePixels(dialog.preview()->image(), expected(dialog, [](fipImage& i) {
                               adjustColors(i, {-20, 0, 2.51, false});
                               adjustGammaRGB(i, {6.99, 1.00, 0.01});
                           })));
    pressOk(dialog);
    EXPECT_EQ(dialog.brightness(), -20);
    EXPECT_DOUBLE_EQ(dialog.gamma(), 2.51);
    EXPECT_DOUBLE_EQ(dialog.redFactor(), 6.99);
    EXPECT_DOUBLE_EQ(dialog.greenFactor(), 1.0);
    EXPECT_DOUBLE_EQ(dialog.blueFactor(), 0.01);

    wxCommandEvent press(wxEVT_BUTTON, dialog.defaultsButton()->GetId());
    dialog.defaultsButton()->GetEventHandler()->ProcessEvent(press);
    EXPECT_EQ(dialog.box(2)->GetValue(), "1.00");
    EXPECT_EQ(dialog.box(5)->GetValue(), "0");
    EXPECT_EQ(dialog.slider(2)->GetValue(), 100);
}

}  // namespace
}  // namespace tarn
