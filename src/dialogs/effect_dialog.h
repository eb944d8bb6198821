#pragma once

#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>

#include <functional>
#include <vector>

#include "dialogs/effect_rules.h"
#include "dialogs/geometry_dialog_support.h"
#include "dialogs/thumb_wnd.h"
#include "imaging/fip_super_image.h"

namespace tarn {

// The effect dialogs with one preview pane: the effect shown live on a thumbnail of the
// source, each parameter a slider, an edit box and a spin button. The edit box is the master:
// the slider and the spin button only write into it, and every change of its text recomputes
// the preview on a fresh copy of the thumbnail with all current values.
class CEffectDialog : public wxDialog {
public:
    // Applies the effect to the copy with the values in parameter order.
    using Effect = std::function<void(fipImage& copy, const std::vector<double>& values)>;

    // The values handed back, valid after "Ok"; zero before it.
    double result(std::size_t index) const { return m_results.at(index); }
    // The values the preview uses now.
    double current(std::size_t index) const { return m_current.at(index); }

    std::size_t paramCount() const { return m_params.size(); }
    wxTextCtrl* box(std::size_t index) const { return m_rows.at(index).box; }
    wxSlider* slider(std::size_t index) const { return m_rows.at(index).slider; }
    wxSpinButton* spin(std::size_t index) const { return m_rows.at(index).spin; }
    CThumbWnd* preview() const { return m_preview; }
    // The pane showing the thumbnail as it is (two-pane dialogs), else null.
    CThumbWnd* original() const { return m_original; }
    // The source scaled to the pane, made once.
    const fipSuperImage& thumbnail() const { return m_thumbnail; }

    void setMessageFunction(DialogMessage message) { m_message = std::move(message); }

protected:
    // Only keeps the source; the controls come with initialise.
    CEffectDialog(const fipSuperImage* source, wxWindow* parent, const char* title,
                  wxSize dialogUnits);

    // How the first preview is made.
    enum class Start {
        Preview,         // the defaults applied to the thumbnail
        Unchanged,       // the thumbnail as it is: the defaults change nothing
        ThumbnailFirst,  // the thumbnail before the controls, whose limits follow from it
    };
    using ParamsFor = std::function<std::vector<EffectParam>(const fipImage& thumbnail)>;

    // Called once at the end of the derived constructor, so that the effect may read the
    // derived dialog's own controls. extras (may be null) go above or below the parameters.
    void initialise(const ParamsFor& params, Effect effect, Start start = Start::Preview,
                    wxSizer* extras = nullptr, bool extrasAbove = false);
    void initialise(std::vector<EffectParam> params, Effect effect, Start start = Start::Preview);

    // "Original image" and "New image" side by side, each parameter in a group box of its
    // caption below them, "Ok" and "Cancel" centred at the bottom; called before initialise.
    void useTwoPanes() { m_twoPanes = true; }

    // Recomputes the preview with the current values (for the derived dialogs' own controls);
    // nothing before initialisation.
    void refreshPreview();

    const fipSuperImage* source() const { return m_source; }

    // "Ok" took the values (result() holds them), just before the dialog ends.
    virtual void accepted() {}

private:
    struct Row {
        wxSlider* slider = nullptr;  // windows owned by the dialog
        wxTextCtrl* box = nullptr;
        wxSpinButton* spin = nullptr;
    };

    void addRow(wxWindow* parent, wxSizer* rows, std::size_t index, bool withCaption,
                int sliderUnits);
    wxSizer* onePaneLayout(wxStaticBoxSizer* preview, wxSizer* extras, bool extrasAbove);
    wxSizer* twoPaneLayout(wxStaticBoxSizer* original, wxStaticBoxSizer* preview, wxSizer* extras);
    void makeThumbnail();
    void onText(std::size_t index);
    void updatePreview();
    void onOk(wxCommandEvent& event);

    const fipSuperImage* m_source;  // the caller's, may be null
    const char* m_title;
    wxSize m_dialogUnits;
    std::vector<EffectParam> m_params;
    Effect m_effect;
    std::vector<Row> m_rows;
    std::vector<double> m_current;
    std::vector<double> m_results;
    CThumbWnd* m_preview = nullptr;
    CThumbWnd* m_original = nullptr;  // with two panes only
    bool m_twoPanes = false;
    fipSuperImage m_thumbnail;
    DialogMessage m_message;
    // Change notifications raised while the controls are set up are not the user's.
    bool m_initialised = false;
};

}  // namespace tarn
