#pragma once

#include <wx/window.h>

#include <cstdint>

#include "imaging/fip_super_image.h"
#include "imaging/histogram.h"

namespace tarn {

// The editor's histogram of the open image, on the full image with one scale for every
// channel. A channel is computed when it is first painted shown, and kept until the next
// reset. Everything runs on the user-interface thread.
class CWndHistogram : public wxWindow {
public:
    explicit CWndHistogram(wxWindow* parent);

    // The image to analyse, or null; it must stay alive until the next call. Resets.
    void setImage(const fipSuperImage* image);
    // The image changed: forget every computed channel, repainting when visible.
    void reset();
    void setShown(HistogramChannel channel, bool shown);
    const fipSuperImage* image() const { return m_image; }
    bool shown(HistogramChannel channel) const { return m_shown[channel]; }
    bool computed(HistogramChannel channel) const { return m_computed[channel]; }
    std::uint32_t maximum() const { return m_maximum; }

    // What a paint draws now at the client size, computing the shown channels first.
    RgbPicture picture();

private:
    void computeShownChannels();
    void onPaint(wxPaintEvent& event);

    const fipSuperImage* m_image = nullptr;
    ChannelHistograms m_bins{};
    ChannelFlags m_shown{};
    ChannelFlags m_computed{};
    std::uint32_t m_maximum = 0;
};

}  // namespace tarn
