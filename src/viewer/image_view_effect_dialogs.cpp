// The effect commands that ask for their parameters first: the dialog previews the picture the
// effect will change (the selected part's copy when there is a selection and the command is
// selection-aware), and "Ok" applies the same effect with the dialog's values. Cancel changes
// nothing and pushes no step.
#include <algorithm>

#include "commands/command_ids.h"
#include "dialogs/dlg_effects.h"
#include "imaging/effects/color_effects.h"
#include "imaging/effects/convolution.h"
#include "imaging/effects/geometry.h"
#include "imaging/effects/texture_effects.h"
#include "imaging/effects/tone_operations.h"
#include "viewer/edit_conditions.h"
#include "viewer/image_view.h"

namespace tarn {
namespace {

// Where the edit goes once the dialog said "Ok".
enum class Reach { Whole, Selection, WholeThenDrop };

// The selected part of the image, as the edit will get it; invalid without a selection.
fipSuperImage selectedPart(const CImageView& view) {
    fipSuperImage part;
    const fipSuperImage* image = view.document().image();
    if (image == nullptr || !view.hasSelection()) {
        return part;
    }
    const Rect r = view.selection().rect();
    const int width = static_cast<int>(image->getWidth());
    const int height = static_cast<int>(image->getHeight());
    const int left = std::max(r.left, 0);
    const int top = std::max(r.top, 0);
    const int right = std::min(r.right, width);
    const int bottom = std::min(r.bottom, height);
    if (right > left && bottom > top) {
        image->copySubImage(part, left, top, right, bottom);
    }
    return part;
}

// Runs the dialog on the picture the command changes, then the edit that makeEdit builds from
// the dialog's values.
template <typename Dialog, typename MakeEdit>
void runEffectDialog(CImageView& view, Reach reach, MakeEdit makeEdit) {
    const fipSuperImage* image = view.document().image();
    if (image == nullptr) {
        return;
    }
    const fipSuperImage part = reach == Reach::Selection ? selectedPart(view) : fipSuperImage();
    Dialog dialog(part.isValid() ? &part : image, &view);
    if (view.prompts().runDialog(dialog) != wxID_OK) {
        return;
    }
    const ImageEdit edit = makeEdit(dialog);
    switch (reach) {
        case Reach::Selection:
            view.editSelection(edit);
            break;
        case Reach::Whole:
            view.edit(edit);
            break;
        case Reach::WholeThenDrop:
            if (view.edit(edit)) {
                view.clearSelection();
            }
            break;
    }
}

bool colorAdjustable(const fipImage& image) {
    return isBitmapOfDepth(image, {8, 24, 32});
}

bool hslAdjustable(const fipImage& image) {
    return isBitmapOfDepth(image, {4, 8, 24, 32});
}

}  // namespace

void CImageView::addEffectDialogCommands() {
    CommandHandlers& c = m_commands;
    using Test = bool (*)(const fipImage&);
    const auto when = [this](Test test) {
        return [this, test] { return hasImage() && test(*m_document.image()); };
    };
    const auto S = Reach::Selection;

    c.add(cmd::kThreshold, when(isStandardBitmap), [this] {
        runEffectDialog<CDlgThreshold>(*this, Reach::Whole, [](const CDlgThreshold& d) {
            return [level = d.level()](fipSuperImage& i) { return threshold(i, {level}); };
        });
    });
    c.add(cmd::kSolarize, when(isTrueColor), [this, S] {
        runEffectDialog<CDlgSolarize>(*this, S, [](const CDlgSolarize& d) {
            return [t = d.threshold()](fipSuperImage& i) { return solarize(i, {t, 1}); };
        });
    });
    c.add(cmd::kAddNoise, when(isTrueColor), [this, S] {
        runEffectDialog<CDlgAddNoise>(*this, S, [](const CDlgAddNoise& d) {
            return [amount = d.amount()](fipSuperImage& i) { return addNoise(i, {amount}); };
        });
    });
    c.add(cmd::kSpread, when(isTrueColor), [this, S] {
        runEffectDialog<CDlgSpread>(*this, S, [](const CDlgSpread& d) {
            return [amount = d.amount()](fipSuperImage& i) { return spread(i, {amount}); };
        });
    });
    c.add(cmd::kStripe, when(isTrueColor), [this, S] {
        runEffectDialog<CDlgStripe>(*this, S, [](const CDlgStripe& d) {
            return [s = d.swing(), f = d.frequency()](fipSuperImage& i) {
                return stripe(i, {s, f});
            };
        });
    });
    c.add(cmd::kAverageBlur, when(isAnyImage), [this, S] {
        runEffectDialog<CDlgAverageBlur>(*this, S, [](const CDlgAverageBlur& d) {
            return [r = d.radius()](fipSuperImage& i) { return averageBlur(i, {r}); };
        });
    });
    c.add(cmd::kEmboss, when(isTrueColor), [this, S] {
        runEffectDialog<CDlgEmboss>(*this, S, [](const CDlgEmboss& d) {
            return [w = d.weight()](fipSuperImage& i) { return emboss(i, {w}); };
        });
    });
    c.add(cmd::kWind, when(isTrueColor), [this, S] {
        runEffectDialog<CDlgWind>(*this, S, [](const CDlgWind& d) {
            return [params = WindParams{d.level(), d.direction(), d.smooth()}](fipSuperImage& i) {
                return wind(i, params);
            };
        });
    });
    c.add(cmd::kColorize, when(isTrueColor), [this, S] {
        runEffectDialog<CDlgColorize>(*this, S, [](const CDlgColorize& d) {
            const ColorizeParams params{d.hue(), d.saturation(), d.amount() * 0.01};
            return [params](fipSuperImage& i) { return colorize(i, params); };
        });
    });
    c.add(cmd::kMosaic, when(isTrueColor), [this, S] {
        runEffectDialog<CDlgMosaic>(*this, S, [](const CDlgMosaic& d) {
            return [size = d.blockSize()](fipSuperImage& i) { return mosaic(i, {size}); };
        });
    });
    c.add(cmd::kAdjustHsl, when(hslAdjustable), [this, S] {
        runEffectDialog<CDlgAdjustHSL>(*this, S, [](const CDlgAdjustHSL& d) {
            return [params = AdjustHslParams{d.hue(), d.saturation(), d.lightness()}](
                       fipSuperImage& i) { return adjustHSL(i, params); };
        });
    });
    c.add(cmd::kEnhanceColors, when(colorAdjustable), [this, S] {
        runEffectDialog<CDlgEnhanceColors>(*this, S, [](const CDlgEnhanceColors& d) {
            const AdjustColorsParams tone{static_cast<double>(d.brightness()),
                                          static_cast<double>(d.contrast()), d.gamma(), false};
            const GammaRgbParams balance{d.redFactor(), d.greenFactor(), d.blueFactor()};
            // The change counts whatever the two calls report.
            return [tone, balance](fipSuperImage& i) {
                adjustColors(i, tone);
                adjustGammaRGB(i, balance);
                return true;
            };
        });
    });
    c.add(cmd::kRotateCustom, when(isTurnable), [this] {
        runEffectDialog<CDlgRotate>(*this, Reach::WholeThenDrop, [](const CDlgRotate& d) {
            return [angle = d.angle()](fipSuperImage& i) { return rotateImage(i, angle); };
        });
    });
}

}  // namespace tarn
