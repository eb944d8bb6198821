#pragma once

#include <wx/window.h>

namespace tarn {

// The full-screen slide show. For now a black window: slides, timers and the button strip
// arrive with the slide show itself.
class CSlideView : public wxWindow {
public:
    static constexpr int kControlId = 154;

    explicit CSlideView(wxWindow* parent);
};

}  // namespace tarn
