#pragma once

#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/frame.h>

#include <array>
#include <functional>

#include "imaging/fip_super_image.h"
#include "info/wnd_histogram.h"

namespace tarn {

// The editor's floating "Histogram" window: the histogram over four check boxes, R, G and B
// checked and L (grey) not. Built hidden; closing it only hides it.
class CDlgHistogram : public wxDialog {
public:
    static constexpr int kCheckBoxLeft[] = {6, 41, 76, 111};
    static constexpr int kBottomStrip = 25;
    static constexpr int kMinWidth = 160;
    static constexpr int kMinHeight = 120;

    explicit CDlgHistogram(wxWindow* parent);

    // The open image (or null); the histogram starts over.
    void setImage(const fipSuperImage* image) { m_histogram->setImage(image); }
    // The image changed in place.
    void resetHistogram() { m_histogram->reset(); }
    // Runs after the user closed the window (it is hidden by then).
    void setCloseHandler(std::function<void()> handler) { m_onClose = std::move(handler); }

    CWndHistogram* histogram() const { return m_histogram; }
    // In the order R, G, B, L.
    wxCheckBox* checkBox(int index) const { return m_boxes[index]; }

private:
    void layout();
    void onCheck(int index);
    void onClose(wxCloseEvent& event);

    CWndHistogram* m_histogram;
    std::array<wxCheckBox*, 4> m_boxes{};
    std::function<void()> m_onClose;
};

}  // namespace tarn
