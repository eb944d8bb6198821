#pragma once

#include <wx/window.h>

#include <functional>

#include "app/resource_pictures.h"
#include "widgets/super_bitmap_button.h"

namespace tarn {

// The strip of five buttons floating over the slide show: Play, Pause, Previous, Next, Exit.
// Clicks go to the handler with the button's identifier.
class CSlideToolBar : public wxWindow {
public:
    static constexpr int kControlId = 163;
    static constexpr int kExitId = 158;
    static constexpr int kPreviousId = 159;
    static constexpr int kNextId = 160;
    static constexpr int kPlayId = 161;
    static constexpr int kPauseId = 162;

    CSlideToolBar(wxWindow* parent, const CResourcePictures& pictures);

    void setHandler(std::function<void(int buttonId)> handler) { m_handler = std::move(handler); }
    // Marks Play or Pause as the current state.
    void showPlaying(bool playing);

    CSuperBitmapButton* button(int id) const;

private:
    void onPaint(wxPaintEvent& event);
    void onButton(wxCommandEvent& event);

    CSuperBitmapButton* m_play = nullptr;
    CSuperBitmapButton* m_pause = nullptr;
    CSuperBitmapButton* m_previous = nullptr;
    CSuperBitmapButton* m_next = nullptr;
    CSuperBitmapButton* m_exit = nullptr;
    std::function<void(int)> m_handler;
};

}  // namespace tarn
