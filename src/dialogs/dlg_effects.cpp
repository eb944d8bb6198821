#include "dialogs/dlg_effects.h"

#include <wx/sizer.h>
#include <wx/statbox.h>

#include <algorithm>
#include <cstdint>

#include "dialogs/color_palette.h"
#include "imaging/effects/color_effects.h"
#include "imaging/effects/convolution.h"
#include "imaging/effects/geometry.h"
#include "imaging/effects/texture_effects.h"
#include "imaging/effects/tone_operations.h"

namespace tarn {
namespace {

int whole(double value) {
    return static_cast<int>(value);
}

// The low byte, as the level is handed to the library.
int asByte(double value) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(whole(value)));
}

struct HueAndSaturation {
    double hue;
    double saturation;
};

HueAndSaturation hueAndSaturationOf(ColorRef colour) {
    const RGBQUAD quad{blueOf(colour), greenOf(colour), redOf(colour), 0};
    double hue = 0;
    double saturation = 0;
    double lightness = 0;
    fipSuperImage::RGBtoHSL(quad, hue, saturation, lightness);
    return {hue, saturation};
}

EffectParam checked(EffectParam param, const char* message) {
    param.maxText = 100;
    param.message = message;
    return param;
}

}  // namespace

CDlgAddNoise::CDlgAddNoise(const fipSuperImage* image, wxWindow* parent)
    : CEffectDialog(image, parent, "Add Noise", wxSize(241, 183)) {
    initialise(std::vector<EffectParam>{checked({"&Amount:", 0, 255, 128, 25},
                                                "You must specify a valid noise level (0 - 255).")},
               [](fipImage& copy, const std::vector<double>& v) { addNoise(copy, {whole(v[0])}); });
}

CDlgThreshold::CDlgThreshold(const fipSuperImage* image, wxWindow* parent)
    : CEffectDialog(image, parent, "Threshold", wxSize(240, 185)) {
    initialise(
        std::vector<EffectParam>{checked({"&Threshold:", 0, 255, 128, 25},
                                         "You must specify a valid threshold level (0 - 255).")},
        [](fipImage& copy, const std::vector<double>& v) { threshold(copy, {asByte(v[0])}); });
}

CDlgSolarize::CDlgSolarize(const fipSuperImage* image, wxWindow* parent)
    : CEffectDialog(image, parent, "Solarize", wxSize(240, 185)) {
    initialise(std::vector<EffectParam>{{"&Threshold", 0, 255, 255, 51}},
               [](fipImage& copy, const std::vector<double>& v) {
                   solarize(copy, {asByte(v[0]), 1});
               });
}

CDlgSpread::CDlgSpread(const fipSuperImage* image, wxWindow* parent)
    : CEffectDialog(image, parent, "Spread", wxSize(240, 185)) {
    initialise(std::vector<EffectParam>{{"&Radius", 0, 32, 5, 6}},
               [](fipImage& copy, const std::vector<double>& v) { spread(copy, {whole(v[0])}); });
}

CDlgStripe::CDlgStripe(const fipSuperImage* image, wxWindow* parent)
    : CEffectDialog(image, parent, "Stripe", wxSize(241, 218)) {
    initialise(std::vector<EffectParam>{{"&Swing", 0, 100, 25, 20}, {"&Frequency", 0, 100, 35, 20}},
               [](fipImage& copy, const std::vector<double>& v) {
                   stripe(copy, {whole(v[0]), whole(v[1])});
               });
}

CDlgEmboss::CDlgEmboss(const fipSuperImage* image, wxWindow* parent)
    : CEffectDialog(image, parent, "Emboss", wxSize(242, 185)) {
    initialise(std::vector<EffectParam>{{"&Weight", 1, 15, 5, 3}},
               [](fipImage& copy, const std::vector<double>& v) { emboss(copy, {whole(v[0])}); });
}

CDlgAverageBlur::CDlgAverageBlur(const fipSuperImage* image, wxWindow* parent)
    : CEffectDialog(image, parent, "Average Blur", wxSize(242, 185)) {
    const auto params = [](const fipImage& thumbnail) {
        const int side = static_cast<int>(std::min(thumbnail.getWidth(), thumbnail.getHeight()));
        const int most = sizeLimit(20, side, 2);
        return std::vector<EffectParam>{{"&Radius", 2, most, std::min(10, most), most / 5}};
    };
    initialise(
        params,
        [](fipImage& copy, const std::vector<double>& v) { averageBlur(copy, {whole(v[0])}); },
        Start::ThumbnailFirst);
}

void CDlgAverageBlur::accepted() {
    const EffectParam radius{"", 2, 20, 10, 4};
    const int typed = static_cast<int>(readParamText(box(0)->GetValue().utf8_string(), radius));
    const int width = source() != nullptr ? static_cast<int>(source()->getWidth()) : 0;
    const int height = source() != nullptr ? static_cast<int>(source()->getHeight()) : 0;
    m_radius = averageBlurRadius(typed, width, height);
}

CDlgAdjustHSL::CDlgAdjustHSL(const fipSuperImage* image, wxWindow* parent)
    : CEffectDialog(image, parent, "Adjust HSL", wxSize(299, 225)) {
    useTwoPanes();
    m_defaults = new wxButton(this, wxID_ANY, "Set to &default values");
    auto* extras = new wxBoxSizer(wxHORIZONTAL);
    extras->Add(m_defaults);
    const auto signedParam = [](const char* caption) {
        return EffectParam{caption, -100, 100, 0, 40, false};
    };
    initialise(
        [&](const fipImage&) {
            return std::vector<EffectParam>{signedParam("&Hue"), signedParam("&Saturation"),
                                            signedParam("&Lightness")};
        },
        [](fipImage& copy, const std::vector<double>& v) {
            adjustHSL(copy, {whole(v[0]), whole(v[1]), whole(v[2])});
        },
        Start::Unchanged, extras);
    m_defaults->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        for (std::size_t i = 0; i < paramCount(); ++i) {
            box(i)->SetValue("0");
        }
    });
}

CDlgEnhanceColors::CDlgEnhanceColors(const fipSuperImage* image, wxWindow* parent)
    : CEffectDialog(image, parent, "Enhance Colors", wxSize(299, 262)) {
    useTwoPanes();
    m_defaults = new wxButton(this, wxID_ANY, "&Set to default values");
    auto* extras = new wxBoxSizer(wxHORIZONTAL);
    extras->Add(m_defaults);
    const auto percent = [](const char* caption, const char* group = nullptr) {
        EffectParam param{caption, -100, 100, 0, 40, false};
        param.group = group;
        return param;
    };
    EffectParam gamma{"G&amma correction", 1, 699, 100, 139, false};
    gamma.real = true;
    gamma.scale = 100;
    initialise(
        [&](const fipImage&) {
            return std::vector<EffectParam>{percent("Br&ightness"),
                                            percent("&Contrast"),
                                            gamma,
                                            percent("&R", "Color balance"),
                                            percent("&G", "Color balance"),
                                            percent("&B", "Color balance")};
        },
        [](fipImage& copy, const std::vector<double>& v) {
            adjustColors(copy, {static_cast<double>(whole(v[0])), static_cast<double>(whole(v[1])),
                                v[2], false});
            adjustGammaRGB(copy, {balanceFactor(whole(v[3])), balanceFactor(whole(v[4])),
                                  balanceFactor(whole(v[5]))});
        },
        Start::Unchanged, extras);
    m_defaults->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        const char* const defaults[] = {"0", "0", "1.00", "0", "0", "0"};
        for (std::size_t i = 0; i < paramCount(); ++i) {
            box(i)->SetValue(defaults[i]);
        }
    });
}

CDlgMosaic::CDlgMosaic(const fipSuperImage* image, wxWindow* parent)
    : CEffectDialog(image, parent, "Mosaic", wxSize(299, 186)) {
    useTwoPanes();
    const auto params = [](const fipImage& thumbnail) {
        const int side = static_cast<int>(std::min(thumbnail.getWidth(), thumbnail.getHeight()));
        const int most = sizeLimit(50, side, 2);
        return std::vector<EffectParam>{{"&Block size", 2, most, std::min(5, most), most / 5}};
    };
    initialise(
        params, [](fipImage& copy, const std::vector<double>& v) { mosaic(copy, {whole(v[0])}); },
        Start::ThumbnailFirst);
}

void CDlgMosaic::accepted() {
    const int thumbnailWidth = static_cast<int>(thumbnail().getWidth());
    const int sourceWidth = source() != nullptr ? static_cast<int>(source()->getWidth()) : 0;
    m_blockSize = scaledToSource(static_cast<int>(result(0)), sourceWidth, thumbnailWidth, 2);
}

CDlgRotate::CDlgRotate(const fipSuperImage* image, wxWindow* parent)
    : CEffectDialog(image, parent, "Rotate", wxSize(243, 185)) {
    initialise(
        std::vector<EffectParam>{{"&Angle:", -180, 180, 0, 36, false, 100, nullptr, true, true}},
        [](fipImage& copy, const std::vector<double>& v) { rotateImage(copy, v[0]); },
        Start::Unchanged);
}

CDlgWind::CDlgWind(const fipSuperImage* image, wxWindow* parent)
    : CEffectDialog(image, parent, "Wind", wxSize(240, 231)) {
    auto* group = new wxStaticBoxSizer(wxHORIZONTAL, this, "&Direction");
    m_leftButton = new wxRadioButton(group->GetStaticBox(), wxID_ANY, "Left", wxDefaultPosition,
                                     wxDefaultSize, wxRB_GROUP);
    m_rightButton = new wxRadioButton(group->GetStaticBox(), wxID_ANY, "Right");
    m_leftButton->SetValue(true);
    group->Add(m_leftButton, 0, wxALL, dialogUnitsX(*this, 2));
    group->Add(m_rightButton, 0, wxALL, dialogUnitsX(*this, 2));
    m_smoothBox = new wxCheckBox(this, wxID_ANY, "&Smooth");
    m_smoothBox->SetValue(true);
    auto* extras = new wxBoxSizer(wxHORIZONTAL);
    extras->Add(group, 0);
    extras->Add(m_smoothBox, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, dialogUnitsX(*this, 8));

    const auto params = [](const fipImage& thumbnail) {
        const int most = sizeLimit(50, static_cast<int>(thumbnail.getWidth()), 1);
        return std::vector<EffectParam>{{"&Level", 1, most, 1, std::max(most / 5, 1)}};
    };
    initialise(
        params,
        [this](fipImage& copy, const std::vector<double>& v) {
            wind(copy, {whole(v[0]), m_rightButton->GetValue() ? 1 : 0, m_smoothBox->GetValue()});
        },
        Start::ThumbnailFirst, extras);
    for (wxWindow* control :
         {static_cast<wxWindow*>(m_leftButton), static_cast<wxWindow*>(m_rightButton)}) {
        control->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { refreshPreview(); });
    }
    m_smoothBox->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { refreshPreview(); });
}

void CDlgWind::accepted() {
    const int thumbnailWidth = static_cast<int>(thumbnail().getWidth());
    const int sourceWidth = source() != nullptr ? static_cast<int>(source()->getWidth()) : 0;
    m_level = scaledToSource(static_cast<int>(result(0)), sourceWidth, thumbnailWidth, 1);
    m_direction = m_rightButton->GetValue() ? 1 : 0;
    m_smooth = m_smoothBox->GetValue();
}

const std::vector<CDlgColorize::Preset>& CDlgColorize::presets() {
    static const std::vector<Preset> kPresets = {
        {"Warming Filter (85)", makeColorRef(235, 138, 0)},
        {"Warming Filter (81)", makeColorRef(235, 177, 19)},
        {"Cooling Filter (80)", makeColorRef(0, 109, 255)},
        {"Cooling Filter (82)", makeColorRef(0, 181, 255)},
        {"Red", makeColorRef(234, 26, 26)},
        {"Orange", makeColorRef(243, 132, 23)},
        {"Yellow", makeColorRef(249, 227, 28)},
        {"Green", makeColorRef(25, 201, 25)},
        {"Cyan", makeColorRef(29, 203, 234)},
        {"Blue", makeColorRef(29, 53, 234)},
        {"Violet", makeColorRef(155, 29, 234)},
        {"Magenta", makeColorRef(227, 24, 227)},
        {"Sepia", makeColorRef(172, 122, 51)},
        {"Deep Red", makeColorRef(255, 0, 0)},
        {"Deep Blue", makeColorRef(0, 34, 205)},
        {"Deep Emerald", makeColorRef(0, 141, 0)},
        {"Deep Yellow", makeColorRef(255, 213, 0)},
        {"Under Water", makeColorRef(0, 194, 177)},
    };
    return kPresets;
}

CDlgColorize::CDlgColorize(const fipSuperImage* image, wxWindow* parent)
    : CEffectDialog(image, parent, "Colorize", wxSize(240, 220)) {
    auto* group = new wxStaticBoxSizer(wxHORIZONTAL, this, "&Color");
    m_list = new wxChoice(group->GetStaticBox(), wxID_ANY);
    for (const Preset& preset : presets()) {
        m_list->Append(preset.name);
    }
    m_list->Append("Custom");
    m_list->SetSelection(0);
    m_button = new CColorButton(group->GetStaticBox(), wxID_ANY, presets().front().colour);
    m_button->SetLabel("Color");
    m_button->setDefaultText("");  // the tint needs a real colour, not "Automatic"
    group->Add(m_list, 1, wxALIGN_CENTER_VERTICAL | wxALL, dialogUnitsX(*this, 2));
    group->Add(m_button, 0, wxALIGN_CENTER_VERTICAL | wxALL, dialogUnitsX(*this, 2));

    initialise(
        [](const fipImage&) {
            return std::vector<EffectParam>{{"&Amount:", 1, 100, 50, 20}};
        },
        [this](fipImage& copy, const std::vector<double>& v) {
            const HueAndSaturation colour = hueAndSaturationOf(m_button->colour());
            colorize(copy, {colour.hue, colour.saturation, whole(v[0]) * 0.01});
        },
        Start::Preview, group, true);
    m_list->Bind(wxEVT_CHOICE, &CDlgColorize::onListChoice, this);
    Bind(EVT_COLOR_CHOSEN, &CDlgColorize::onColorChosen, this);
}

void CDlgColorize::onListChoice(wxCommandEvent&) {
    const int chosen = m_list->GetSelection();
    if (chosen >= 0 && chosen < static_cast<int>(presets().size())) {
        m_button->setColour(presets()[static_cast<std::size_t>(chosen)].colour);
        m_button->Update();
    }
    refreshPreview();
}

void CDlgColorize::onColorChosen(wxCommandEvent&) {
    const int custom = static_cast<int>(presets().size());
    if (m_list->GetSelection() != custom) {
        m_list->SetSelection(custom);
    }
    refreshPreview();
}

void CDlgColorize::accepted() {
    const HueAndSaturation colour = hueAndSaturationOf(m_button->colour());
    m_hue = colour.hue;
    m_saturation = colour.saturation;
}

}  // namespace tarn
