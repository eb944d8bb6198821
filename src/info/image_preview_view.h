#pragma once

#include <wx/window.h>

#include "widgets/title_wnd.h"

namespace tarn {

// The information pane below the navigation trees: a title strip over the histogram and the
// EXIF summary of the focused file (both arrive with their own windows; the area below the
// strip stays empty until then).
class CImagePreviewView : public wxWindow {
public:
    static constexpr int kTitleId = 138;

    explicit CImagePreviewView(wxWindow* parent);

    CTitle* title() const { return m_title; }

private:
    void onSize(wxSizeEvent& event);

    CTitle* m_title;
};

}  // namespace tarn
