#pragma once

#include <wx/bitmap.h>
#include <wx/timer.h>
#include <wx/window.h>

#include <functional>
#include <memory>
#include <string>

#include "app/resource_pictures.h"
#include "imaging/fip_super_image.h"
#include "viewer/prefetch_slot.h"

namespace tarn {

class CSlideToolBar;
class FolderModel;
struct FolderItem;

// The full-screen slide show: the images of the browsed folder one at a time on black, advancing
// by itself, with the next one read ahead by a loader thread. A strip of buttons floats near the
// bottom while the mouse moves; it hides with the pointer when the mouse rests.
//
// The frame switches modes around it: start() before the view is shown, run() once it is,
// stop() before it is hidden.
class CSlideView : public wxWindow {
public:
    static constexpr int kControlId = 154;
    // Timer 1: how long the pointer and the strip stay after the mouse stops.
    static constexpr int kPointerHideMilliseconds = 2000;
    // Timer 2: how long each slide shows while playing.
    static constexpr int kAdvanceMilliseconds = 1500;

    CSlideView(wxWindow* parent, const CResourcePictures& pictures);
    // Waits for the loader thread.
    ~CSlideView() override;

    // The items shown (the thumbnail list's model; not owned).
    void setFolder(const FolderModel* folder) { m_folder = folder; }
    // What the Exit button does: the frame leaves the slide show.
    void setExitHandler(std::function<void()> handler) { m_onExit = std::move(handler); }

    // Shows the item at index (with the wait cursor); returns whether its image loaded.
    bool start(int index);
    // Once visible: the strip, the pointer timer and playing.
    void run();
    // Stops the timers and lets go of the images.
    void stop();
    bool running() const { return m_running; }

    // The strip's buttons.
    void next();
    void previous();
    void play();
    void pause();
    bool canNext() const;
    bool canPrevious() const;

    bool playing() const { return m_playing; }
    bool pointerHidden() const { return m_pointerHidden; }
    int currentIndex() const { return m_index; }
    const std::string& currentPath() const { return m_path; }
    int currentPageCount() const { return m_pageCount; }
    const fipSuperImage* currentImage() const { return m_image.get(); }
    CSlideToolBar* toolBar() const { return m_strip; }
    const PrefetchSlot& prefetchSlot() const { return m_prefetch; }
    bool pointerTimerRunning() const { return m_pointerTimer.IsRunning(); }
    bool advanceTimerRunning() const { return m_advanceTimer.IsRunning(); }

    // Draws the whole slide for a client area of the given size: what painting shows.
    void drawSlide(wxDC& dc, const wxSize& area);

    // Timer ticks, public so that tests need not wait for them.
    void onPointerTimer(wxTimerEvent& event);
    void onAdvanceTimer(wxTimerEvent& event);

private:
    bool loadImage(int index);
    void preloadNext();
    void onPreloaded(wxThreadEvent& event);
    // The index to step from: the current item found again by its path, since the folder may
    // have changed under the show.
    int anchorIndex() const;
    std::string loadPath(const FolderItem& item) const;
    void restartAdvance();
    void showPointer();
    void placeStrip();

    void onPaint(wxPaintEvent& event);
    void onSize(wxSizeEvent& event);
    void onMotion(wxMouseEvent& event);
    void onSetCursor(wxSetCursorEvent& event);
    void onStripButton(int id);

    const FolderModel* m_folder = nullptr;
    std::function<void()> m_onExit;
    CSlideToolBar* m_strip = nullptr;

    wxPoint m_lastMouse{-1, -1};
    int m_index = -1;
    int m_page = 0;  // always the first page of a multi-page file
    std::unique_ptr<fipSuperImage> m_image;
    int m_pageCount = 0;
    std::string m_path;      // the file read (a shortcut's target)
    std::string m_itemPath;  // the item's own path, to find it again
    PrefetchSlot m_prefetch;

    bool m_running = false;
    bool m_playing = false;
    bool m_pointerHidden = false;
    wxTimer m_pointerTimer;
    wxTimer m_advanceTimer;

    // The scaled slide, kept until the image or the area changes.
    wxBitmap m_scaled;
    wxSize m_scaledFor;
};

}  // namespace tarn
