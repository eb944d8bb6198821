#pragma once

#include <wx/window.h>

namespace tarn {

// The image viewer and editor. For now it only draws the grey backdrop: the open image,
// zoom and tools arrive with the image document.
class CImageView : public wxWindow {
public:
    static constexpr int kControlId = 153;

    explicit CImageView(wxWindow* parent);

    // Whether the open image has unsaved changes.
    bool isModified() const { return false; }

private:
    void onPaint(wxPaintEvent& event);
};

}  // namespace tarn
