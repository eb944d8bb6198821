// The commands the frame routes to the image view, one line each: enabled, checked, action.
#include "commands/command_ids.h"
#include "viewer/image_view.h"
#include "viewer/zoom_steps.h"

namespace tarn {

void CImageView::addCommands() {
    CommandHandlers& c = m_commands;
    // Predicates from the view's and the document's own questions.
    const auto view = [this](bool (CImageView::*test)() const) {
        return [this, test] { return (this->*test)(); };
    };
    const auto doc = [this](bool (ImageDocument::*test)() const) {
        return [this, test] { return (m_document.*test)(); };
    };
    const auto open = doc(&ImageDocument::hasImage);
    const auto always = CommandHandlers::always;
    const auto zoomType = [this, open](int command, ZoomType type, CommandHandlers::Action act) {
        m_commands.add(
            command, open, [this, type] { return m_geometry.zoomType() == type; }, act);
    };
    const auto canZoomIn = [this, open] { return open() && m_geometry.zoom() != kMaxZoom; };
    const auto canZoomOut = [this, open] { return open() && m_geometry.zoom() != kMinStepZoom; };
    const auto canFullScreen = [this, open] { return m_fullScreen || open(); };

    c.add(cmd::kBrowse, always, [this] { leaveToBrowser(); });
    c.add(cmd::kSave, open, [this] { save(); });
    c.add(cmd::kSaveAs, open, [this] { saveAs(); });
    c.add(cmd::kDelete, open, [this] { deleteFile(); });
    c.add(cmd::kReopen, open, [this] { reopen(); });
    c.add(cmd::kClose, always, [this] { closeCommand(); });
    c.add(cmd::kUndo, doc(&ImageDocument::canUndo), [this] { undo(); });
    c.add(cmd::kRedo, doc(&ImageDocument::canRedo), [this] { redo(); });
    c.add(cmd::kNextImage, view(&CImageView::canNextImage), [this] { nextImage(); });
    c.add(cmd::kPreviousImage, view(&CImageView::canPreviousImage), [this] { previousImage(); });
    c.add(cmd::kFirstImage, view(&CImageView::canFirstImage), [this] { firstImage(); });
    c.add(cmd::kLastImage, view(&CImageView::canLastImage), [this] { lastImage(); });
    c.add(cmd::kNextPage, doc(&ImageDocument::canNextPage), [this] { goToPage(page() + 1); });
    c.add(cmd::kPreviousPage, doc(&ImageDocument::canPreviousPage),
          [this] { goToPage(page() - 1); });
    c.add(cmd::kFirstPage, doc(&ImageDocument::canFirstPage), [this] { goToPage(0); });
    c.add(cmd::kLastPage, doc(&ImageDocument::canLastPage), [this] { goToPage(lastPage()); });
    c.add(cmd::kZoomIn, canZoomIn, [this] { zoomIn(); });
    c.add(cmd::kZoomOut, canZoomOut, [this] { zoomOut(); });
    zoomType(cmd::kZoomFitImage, ZoomType::FitImage, [this] { fit(ZoomType::FitImage); });
    zoomType(cmd::kZoomFitWidth, ZoomType::FitWidth, [this] { fit(ZoomType::FitWidth); });
    zoomType(cmd::kZoomFitHeight, ZoomType::FitHeight, [this] { fit(ZoomType::FitHeight); });
    zoomType(cmd::kActualSize, ZoomType::ActualSize, [this] { actualSize(); });
    zoomType(cmd::kZoomLock, ZoomType::ZoomLock, [this] { zoomLock(); });
    // The tool-bar button is there in the image mode, image or not.
    c.add(cmd::kFitImage, always, [this] { fit(ZoomType::FitImage); });
    c.add(cmd::kFullScreen, canFullScreen, view(&CImageView::isFullScreen),
          [this] { setFullScreen(!m_fullScreen); });
    c.add(cmd::kQuickSlideShow, view(&CImageView::canQuickSlideShow),
          view(&CImageView::quickSlideShowRunning), [this] { toggleQuickSlideShow(); });
    c.add(cmd::kSlideShow, open, [this] { startSlideShow(); });
    addFileCommands();
    addToolCommands();
    addGeometryCommands();
    addEditCommands();
    addEffectDialogCommands();
}

void CImageView::startSlideShow() {
    m_quickSlideTimer.Stop();
    m_host.startSlideShow(currentIndex());
}

}  // namespace tarn
