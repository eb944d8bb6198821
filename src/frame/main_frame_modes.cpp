// Modes of the main frame (browser, image, slide show), full screen, placement and closing.
#include <wx/utils.h>

#include "browser/image_list_ctrl.h"
#include "frame/main_frame.h"
#include "frame/super_status_bar.h"
#include "imaging/imaging_service.h"
#include "info/dlg_histogram.h"
#include "viewer/image_view.h"
#include "widgets/super_splitter_wnd.h"

namespace tarn {

void CMainFrame::enterImageMode() {
    if (m_mode == kImageMode) {
        return;
    }
    m_savedFocus = wxWindow::FindFocus();
    m_previousMode = m_mode;
    m_mode = kImageMode;
    ImagingService::keepLargeBuffers(true);
    SetMenuBar(m_imageMenu);
    m_outer->Hide();
    updateBands();
    m_imageView->Show();
    m_imageView->SetFocus();
    if (m_showHistogram) {
        m_histogramDialog->Show();
    }
    refreshStatus();
    updateTitle();
}

void CMainFrame::openFromList(int index) {
    const wxBusyCursor busy;
    enterImageMode();
    if (!m_imageView->openItem(index, 0)) {
        m_imageView->leaveToBrowser(false);
        m_imageView->prompts().warn("Can not open this item.");
    }
}

void CMainFrame::leaveImageMode() {
    if (m_mode != kImageMode) {
        return;
    }
    m_previousMode = m_mode;
    m_mode = kBrowserMode;
    ImagingService::keepLargeBuffers(false);
    SetMenuBar(m_browserMenu);
    updateBands();
    imageList()->eraseBackgroundOnce();
    updateTitle();
    m_imageView->Hide();
    m_outer->Show();
    layoutClient();
    m_statusBar->setThumbnailSlider(imageList()->thumbSize().x);
    refreshStatus();
    m_histogramDialog->Hide();
    // The pane that was active before the image mode gets the focus back.
    if (m_savedFocus != nullptr && IsDescendant(m_savedFocus) && m_savedFocus->IsShownOnScreen()) {
        m_savedFocus->SetFocus();
    } else {
        imageList()->SetFocus();
    }
    m_savedFocus = nullptr;
}

void CMainFrame::enterFullScreen() {
    if (m_fullScreen) {
        return;
    }
    m_fullScreenPlacement = currentPlacement();
    m_fullScreen = true;
    updateBands();
    // The window manager puts the client area exactly on the screen and keeps it on top.
    ShowFullScreen(true, wxFULLSCREEN_ALL);
    layoutClient();
}

void CMainFrame::leaveFullScreen() {
    if (!m_fullScreen) {
        return;
    }
    m_fullScreen = false;
    ShowFullScreen(false, wxFULLSCREEN_ALL);
    updateBands();
    applyPlacement(m_fullScreenPlacement);
    layoutClient();
}

void CMainFrame::requestExit() {
    m_exitRequested = true;
    Close();
}

void CMainFrame::onClose(wxCloseEvent& event) {
    // Closing during the slide show ends it and then closes the frame, whatever mode it left.
    const bool fromSlideShow = m_mode == kSlideShowMode;
    stopSlideShow();
    if (m_mode == kImageMode) {
        if (event.CanVeto() && !m_imageView->querySave()) {
            m_exitRequested = false;
            event.Veto();
            return;
        }
        if (event.CanVeto() && !m_exitRequested && !fromSlideShow) {
            // Closing the window in the image mode only returns to the browser.
            m_imageView->leaveToBrowser(false);
            event.Veto();
            return;
        }
        m_imageView->closeImage();
    }
    Destroy();
}

settings::WindowPlacement CMainFrame::currentPlacement() const {
    settings::WindowPlacement p;
    p.showCmd = showCommandToStore(IsIconized(), IsMaximized());
    p.minX = p.minY = p.maxX = p.maxY = -1;
    const wxRect normal = m_normalRect.IsEmpty() ? GetRect() : m_normalRect;
    p.left = normal.GetLeft();
    p.top = normal.GetTop();
    p.right = normal.GetRight() + 1;
    p.bottom = normal.GetBottom() + 1;
    return p;
}

void CMainFrame::applyPlacement(const settings::WindowPlacement& placement) {
    const wxRect normal(placement.left, placement.top, placement.right - placement.left,
                        placement.bottom - placement.top);
    if (IsMaximized()) {
        Maximize(false);
    }
    SetSize(normal);
    m_normalRect = normal;
    Show();
    if (placement.showCmd == settings::kShowMaximized) {
        Maximize();
    }
}

void CMainFrame::writeSettings() {
    SettingsStore& s = m_context.settings;
    s.set(settings::kShowToolBar, m_showToolBar);
    s.set(settings::kShowAddressBar, m_showAddressBar);
    s.set(settings::kShowStatusBar, m_showStatusBar);
    // In full screen the placement saved on entering it is the one to keep.
    s.setPlacement(m_fullScreen ? m_fullScreenPlacement : currentPlacement());
}

}  // namespace tarn
