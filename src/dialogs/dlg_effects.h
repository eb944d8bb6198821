#pragma once

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>

#include "dialogs/color_button.h"
#include "dialogs/effect_dialog.h"

namespace tarn {

// The one-pane effect dialogs. Each takes the picture the command will change (or null) and
// hands back its values after "Ok".

// "Add Noise": amount 0-255; out of range is refused on "Ok".
class CDlgAddNoise : public CEffectDialog {
public:
    CDlgAddNoise(const fipSuperImage* image, wxWindow* parent);
    int amount() const { return static_cast<int>(result(0)); }
};

// "Threshold": level 0-255; out of range is refused on "Ok".
class CDlgThreshold : public CEffectDialog {
public:
    CDlgThreshold(const fipSuperImage* image, wxWindow* parent);
    int level() const { return static_cast<int>(result(0)); }
};

// "Solarize": threshold 0-255.
class CDlgSolarize : public CEffectDialog {
public:
    CDlgSolarize(const fipSuperImage* image, wxWindow* parent);
    int threshold() const { return static_cast<int>(result(0)); }
};

// "Spread": radius 0-32.
class CDlgSpread : public CEffectDialog {
public:
    CDlgSpread(const fipSuperImage* image, wxWindow* parent);
    int amount() const { return static_cast<int>(result(0)); }
};

// "Stripe": swing and frequency, each 0-100.
class CDlgStripe : public CEffectDialog {
public:
    CDlgStripe(const fipSuperImage* image, wxWindow* parent);
    int swing() const { return static_cast<int>(result(0)); }
    int frequency() const { return static_cast<int>(result(1)); }
};

// "Emboss": weight 1-15.
class CDlgEmboss : public CEffectDialog {
public:
    CDlgEmboss(const fipSuperImage* image, wxWindow* parent);
    int weight() const { return static_cast<int>(result(0)); }
};

// "Average Blur": the radius is previewed up to 20 (less on a small thumbnail) and handed back
// as typed, limited by the source's size only.
class CDlgAverageBlur : public CEffectDialog {
public:
    CDlgAverageBlur(const fipSuperImage* image, wxWindow* parent);
    int radius() const { return m_radius; }

private:
    void accepted() override;

    int m_radius = 0;
};

// "Adjust HSL": hue, saturation and lightness, each -100 to 100; the original beside the result.
class CDlgAdjustHSL : public CEffectDialog {
public:
    CDlgAdjustHSL(const fipSuperImage* image, wxWindow* parent);
    int hue() const { return static_cast<int>(result(0)); }
    int saturation() const { return static_cast<int>(result(1)); }
    int lightness() const { return static_cast<int>(result(2)); }
    wxButton* defaultsButton() const { return m_defaults; }

private:
    wxButton* m_defaults = nullptr;  // owned by the dialog
};

// "Enhance Colors": brightness and contrast (-100 to 100), gamma (0.01 to 6.99) and a colour
// balance of red, green and blue (-100 to 100 each, handed back as gamma factors).
class CDlgEnhanceColors : public CEffectDialog {
public:
    CDlgEnhanceColors(const fipSuperImage* image, wxWindow* parent);
    int brightness() const { return static_cast<int>(result(0)); }
    int contrast() const { return static_cast<int>(result(1)); }
    double gamma() const { return result(2); }
    double redFactor() const { return balanceFactor(static_cast<int>(result(3))); }
    double greenFactor() const { return balanceFactor(static_cast<int>(result(4))); }
    double blueFactor() const { return balanceFactor(static_cast<int>(result(5))); }
    wxButton* defaultsButton() const { return m_defaults; }

private:
    wxButton* m_defaults = nullptr;  // owned by the dialog
};

// "Mosaic": blocks measured on the thumbnail (at most 50, less on a small one) and handed back
// in source pixels; the original beside the result.
class CDlgMosaic : public CEffectDialog {
public:
    CDlgMosaic(const fipSuperImage* image, wxWindow* parent);
    // Source pixels, at least 2; 0 without a source or thumbnail.
    int blockSize() const { return m_blockSize; }

private:
    void accepted() override;

    int m_blockSize = 0;
};

// "Rotate": any angle in degrees, counter-clockwise; the slider shows -180 to 180.
class CDlgRotate : public CEffectDialog {
public:
    CDlgRotate(const fipSuperImage* image, wxWindow* parent);
    double angle() const { return result(0); }
};

// "Wind": streaks of a length measured on the thumbnail (so at most its width - 1 on a small
// one) and handed back in source pixels, blowing left or right, hard or smooth.
class CDlgWind : public CEffectDialog {
public:
    CDlgWind(const fipSuperImage* image, wxWindow* parent);
    // Source pixels, at least 1; 0 without a source or thumbnail.
    int level() const { return m_level; }
    int direction() const { return m_direction; }  // 0 left, 1 right
    bool smooth() const { return m_smooth; }

    wxRadioButton* leftButton() const { return m_leftButton; }
    wxRadioButton* rightButton() const { return m_rightButton; }
    wxCheckBox* smoothBox() const { return m_smoothBox; }

private:
    void accepted() override;

    wxRadioButton* m_leftButton = nullptr;  // windows owned by the dialog
    wxRadioButton* m_rightButton = nullptr;
    wxCheckBox* m_smoothBox = nullptr;
    int m_level = 0;
    int m_direction = 0;
    bool m_smooth = false;
};

// "Colorize": the picture tinted in the hue and saturation of a preset or any colour.
class CDlgColorize : public CEffectDialog {
public:
    // The presets, in the list's order; "Custom" follows them.
    struct Preset {
        const char* name;
        ColorRef colour;
    };
    static const std::vector<Preset>& presets();

    CDlgColorize(const fipSuperImage* image, wxWindow* parent);
    // Of the colour, in degrees and 0-1.
    double hue() const { return m_hue; }
    double saturation() const { return m_saturation; }
    // 1-100; the caller divides by 100.
    int amount() const { return static_cast<int>(result(0)); }

    wxChoice* colorList() const { return m_list; }
    CColorButton* colorButton() const { return m_button; }

private:
    void accepted() override;
    void onListChoice(wxCommandEvent& event);
    void onColorChosen(wxCommandEvent& event);

    wxChoice* m_list = nullptr;  // windows owned by the dialog
    CColorButton* m_button = nullptr;
    double m_hue = 0;
    double m_saturation = 0;
};

}  // namespace tarn
