#pragma once

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <functional>

#include "dialogs/resize_rules.h"

namespace tarn {

// The size controls that "Resize" and "Resize Canvas" share: preset list, width and height
// boxes with their unit lists, "Keep aspect ratio". The dialog makes and places the controls;
// this object keeps the fields and answers their events.
class SizeBoxes {
public:
    struct Controls {
        wxChoice* preset = nullptr;
        wxTextCtrl* width = nullptr;
        wxChoice* widthUnit = nullptr;
        wxTextCtrl* height = nullptr;
        wxChoice* heightUnit = nullptr;
        wxCheckBox* keepAspect = nullptr;
    };

    // scale gives the factor s of the moment (the canvas passes none); changed is called
    // whenever the pixel size may have changed.
    SizeBoxes(const Controls& controls, const SourceImage& source, bool canvas,
              std::function<double()> scale, std::function<void()> changed);
    ~SizeBoxes();
    SizeBoxes(const SizeBoxes&) = delete;
    SizeBoxes& operator=(const SizeBoxes&) = delete;

    // Fills the lists and shows the source size in pixels.
    void start(bool keepAspect);

    const SizeFields& fields() const { return m_fields; }
    PixelSize pixelSize() const { return arithmetic().pixelSize(m_fields); }
    // Reads both boxes strictly; the first box that holds no number, else null.
    wxTextCtrl* storeStrictly();

private:
    SizeArithmetic arithmetic() const;
    void showFields();
    void setPresetToCustom();
    void onPreset(wxCommandEvent& event);
    void onWidthText(wxCommandEvent& event);
    void onHeightText(wxCommandEvent& event);
    void onWidthUnit(wxCommandEvent& event);
    void onHeightUnit(wxCommandEvent& event);
    // Both units follow the one chosen.
    void onUnit(wxChoice* chosen, wxChoice* follower);
    void onKeepAspect(wxCommandEvent& event);

    Controls m_controls;
    SourceImage m_source;
    bool m_canvas;
    std::function<double()> m_scale;
    std::function<void()> m_changed;
    SizeFields m_fields;
    bool m_initialised = false;
};

// The layout both size dialogs share. addSizeControls puts the preset list and the "Set new size"
// group with its Width and Height rows into the column and hands back the group's grid, for a
// dialog that has more rows; addSizeLabels puts the "Current size:" and "New size:" group.
struct SizeRows {
    wxWindow* box;  // the group's box, parent of its controls
    wxFlexGridSizer* rows;
};
SizeRows addSizeControls(wxDialog& dialog, wxSizer* column, SizeBoxes::Controls& controls);
void addUnitRow(const SizeRows& rows, const char* label, wxTextCtrl*& edit, wxChoice*& units);
void addSizeLabels(wxDialog& dialog, wxSizer* column, wxStaticText*& current, wxStaticText*& next);

}  // namespace tarn
