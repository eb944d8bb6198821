// The slide show as the third mode of the main frame: entered from the browser or the image
// mode, always in full screen, and left for the mode it came from.
#include "browser/image_list_ctrl.h"
#include "browser/list_command_receiver.h"
#include "frame/main_frame.h"
#include "imaging/imaging_service.h"
#include "slideshow/slide_view.h"
#include "viewer/image_view.h"
#include "widgets/super_splitter_wnd.h"

namespace tarn {

void CMainFrame::connectSlideShow() {
    m_slideView->setFolder(&imageList()->model());
    m_slideView->setExitHandler([this] { stopSlideShow(); });
    m_listReceiver->setSlideShowHandler([this](int index) { startSlideShow(index); });
}

void CMainFrame::startSlideShow(int index) {
    if (m_mode == kSlideShowMode) {
        return;
    }
    m_slideView->start(index);
    m_previousMode = m_mode;
    m_mode = kSlideShowMode;
    ImagingService::keepLargeBuffers(true);
    if (m_previousMode == kBrowserMode) {
        m_savedFocus = wxWindow::FindFocus();
        m_outer->Hide();
    } else {
        // The browser pane remembered by the image mode stays remembered for its return.
        m_imageView->Hide();
    }
    // The menu and the bands stay as they are: full screen hides them.
    if (!m_fullScreen) {
        enterFullScreen();
    }
    m_slideView->Show();
    m_slideView->SetFocus();
    m_slideView->run();
}

void CMainFrame::stopSlideShow() {
    if (m_mode != kSlideShowMode) {
        return;
    }
    m_mode = m_previousMode;
    m_previousMode = kSlideShowMode;
    ImagingService::keepLargeBuffers(m_mode != kBrowserMode);
    m_slideView->stop();
    m_slideView->Hide();
    if (m_mode == kImageMode) {
        m_imageView->Show();
        m_imageView->SetFocus();
        // The image view's own full-screen state ends with the frame's.
        if (m_imageView->isFullScreen()) {
            m_imageView->setFullScreen(false);
        } else {
            leaveFullScreen();
        }
        return;
    }
    m_outer->Show();
    layoutClient();
    if (m_savedFocus != nullptr && IsDescendant(m_savedFocus) && m_savedFocus->IsShownOnScreen()) {
        m_savedFocus->SetFocus();
    } else {
        imageList()->SetFocus();
    }
    m_savedFocus = nullptr;
    leaveFullScreen();
    refreshStatus();
}

}  // namespace tarn
