// The commands the frame routes to the image view, one line each: enabled, checked, action.
#include "commands/command_ids.h"
#include "viewer/image_view.h"
#include "viewer/zoom_steps.h"

namespace tarn {

void CImageView::addCommands() {
    CommandHandlers& c = m_commands;
    const ImageDocument& doc = m_document;
    const auto open = [&doc] { return doc.hasImage(); };
    const auto zoomType = [this, open](int command, ZoomType type, auto action) {
        m_commands.add(
            command, open, [this, type] { return m_geometry.zoomType() == type; }, action);
    };
    c.add(cmd::kBrowse, CommandHandlers::always, [this] { leaveToBrowser(); });
    c.add(cmd::kSave, open, [this] { save(); });
    c.add(cmd::kSaveAs, open, [this] { saveAs(); });
    c.add(cmd::kDelete, open, [this] { deleteFile(); });
    c.add(
        cmd::kReopen, [&doc] { return doc.itemIndex() >= 0; }, [this] { reopen(); });
    c.add(cmd::kClose, open, [this] { closeCommand(); });
    c.add(
        cmd::kUndo, [&doc] { return doc.canUndo(); }, [this] { undo(); });
    c.add(
        cmd::kRedo, [&doc] { return doc.canRedo(); }, [this] { redo(); });
    c.add(
        cmd::kNextImage, [this] { return canNextImage(); }, [this] { nextImage(); });
    c.add(
        cmd::kPreviousImage, [this] { return canPreviousImage(); }, [this] { previousImage(); });
    c.add(
        cmd::kFirstImage, [this] { return canFirstImage(); }, [this] { firstImage(); });
    c.add(
        cmd::kLastImage, [this] { return canLastImage(); }, [this] { lastImage(); });
    c.add(
        cmd::kNextPage, [&doc] { return doc.canNextPage(); },
        [this] { goToPage(m_document.pageIndex() + 1); });
    c.add(
        cmd::kPreviousPage, [&doc] { return doc.canPreviousPage(); },
        [this] { goToPage(m_document.pageIndex() - 1); });
    c.add(
        cmd::kFirstPage, [&doc] { return doc.canFirstPage(); }, [this] { goToPage(0); });
    c.add(
        cmd::kLastPage, [&doc] { return doc.canLastPage(); },
        [this] { goToPage(m_document.pageCount() - 1); });
    c.add(
        cmd::kZoomIn, [this, open] { return open() && m_geometry.zoom() != kMaxZoom; },
        [this] { zoomIn(); });
    c.add(
        cmd::kZoomOut, [this, open] { return open() && m_geometry.zoom() != kMinStepZoom; },
        [this] { zoomOut(); });
    zoomType(cmd::kZoomFitImage, ZoomType::FitImage, [this] { fit(ZoomType::FitImage); });
    zoomType(cmd::kZoomFitWidth, ZoomType::FitWidth, [this] { fit(ZoomType::FitWidth); });
    zoomType(cmd::kZoomFitHeight, ZoomType::FitHeight, [this] { fit(ZoomType::FitHeight); });
    zoomType(cmd::kActualSize, ZoomType::ActualSize, [this] { actualSize(); });
    zoomType(cmd::kZoomLock, ZoomType::ZoomLock, [this] { zoomLock(); });
    c.add(
        cmd::kFullScreen, [this, open] { return m_fullScreen || open(); },
        [this] { return m_fullScreen; }, [this] { setFullScreen(!m_fullScreen); });
    c.add(
        cmd::kQuickSlideShow, [this] { return canQuickSlideShow(); },
        [this] { return quickSlideShowRunning(); }, [this] { toggleQuickSlideShow(); });
    c.add(cmd::kSlideShow, open, [this] {
        m_quickSlideTimer.Stop();
        m_host.startSlideShow(currentIndex());
    });
}

}  // namespace tarn
