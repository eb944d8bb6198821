// The commands the frame routes to the image view, with their enabling and check marks.
#include "commands/command_ids.h"
#include "commands/command_router.h"
#include "frame/main_frame.h"
#include "viewer/image_view.h"
#include "viewer/zoom_steps.h"

namespace tarn {

class CImageView::Receiver : public CommandReceiver {
public:
    explicit Receiver(CImageView& view) : m_view(view) {}

    std::optional<CommandState> commandState(int command) const override {
        const ImageDocument& doc = m_view.m_document;
        const ViewGeometry& geometry = m_view.m_geometry;
        const bool open = doc.hasImage();
        const auto enabled = [](bool on) { return CommandState{on, false}; };
        const auto zoomType = [&](ZoomType type) {
            return CommandState{open, geometry.zoomType() == type};
        };
        switch (command) {
            case cmd::kBrowse:
                return enabled(true);
            case cmd::kSave:
            case cmd::kSaveAs:
            case cmd::kDelete:
                return enabled(open);
            case cmd::kReopen:
                return enabled(doc.itemIndex() >= 0);
            case cmd::kClose:
                return enabled(open);
            case cmd::kNextImage:
                return enabled(m_view.canNextImage());
            case cmd::kPreviousImage:
                return enabled(m_view.canPreviousImage());
            case cmd::kFirstImage:
                return enabled(m_view.canFirstImage());
            case cmd::kLastImage:
                return enabled(m_view.canLastImage());
            case cmd::kNextPage:
                return enabled(doc.canNextPage());
            case cmd::kPreviousPage:
                return enabled(doc.canPreviousPage());
            case cmd::kFirstPage:
                return enabled(doc.canFirstPage());
            case cmd::kLastPage:
                return enabled(doc.canLastPage());
            case cmd::kZoomIn:
                return enabled(open && geometry.zoom() != kMaxZoom);
            case cmd::kZoomOut:
                return enabled(open && geometry.zoom() != kMinStepZoom);
            case cmd::kZoomFitImage:
                return zoomType(ZoomType::FitImage);
            case cmd::kZoomFitWidth:
                return zoomType(ZoomType::FitWidth);
            case cmd::kZoomFitHeight:
                return zoomType(ZoomType::FitHeight);
            case cmd::kActualSize:
                return zoomType(ZoomType::ActualSize);
            case cmd::kZoomLock:
                return zoomType(ZoomType::ZoomLock);
            case cmd::kFullScreen:
                return CommandState{m_view.m_fullScreen || open, m_view.m_fullScreen};
            case cmd::kQuickSlideShow:
                return CommandState{m_view.canQuickSlideShow(), m_view.quickSlideShowRunning()};
            case cmd::kSlideShow:
                return enabled(open);
            default:
                return std::nullopt;
        }
    }

    void runCommand(int command) override {
        CImageView& v = m_view;
        switch (command) {
            case cmd::kBrowse:
                v.leaveToBrowser();
                break;
            case cmd::kSave:
                v.save();
                break;
            case cmd::kSaveAs:
                v.saveAs();
                break;
            case cmd::kReopen:
                v.reopen();
                break;
            case cmd::kClose:
                v.closeCommand();
                break;
            case cmd::kDelete:
                v.deleteFile();
                break;
            case cmd::kNextImage:
                v.nextImage();
                break;
            case cmd::kPreviousImage:
                v.previousImage();
                break;
            case cmd::kFirstImage:
                v.firstImage();
                break;
            case cmd::kLastImage:
                v.lastImage();
                break;
            case cmd::kNextPage:
                v.goToPage(v.m_document.pageIndex() + 1);
                break;
            case cmd::kPreviousPage:
                v.goToPage(v.m_document.pageIndex() - 1);
                break;
            case cmd::kFirstPage:
                v.goToPage(0);
                break;
            case cmd::kLastPage:
                v.goToPage(v.m_document.pageCount() - 1);
                break;
            case cmd::kZoomIn:
                v.zoomIn();
                break;
            case cmd::kZoomOut:
                v.zoomOut();
                break;
            case cmd::kZoomFitImage:
                v.fit(ZoomType::FitImage);
                break;
            case cmd::kZoomFitWidth:
                v.fit(ZoomType::FitWidth);
                break;
            case cmd::kZoomFitHeight:
                v.fit(ZoomType::FitHeight);
                break;
            case cmd::kActualSize:
                v.actualSize();
                break;
            case cmd::kZoomLock:
                v.zoomLock();
                break;
            case cmd::kFullScreen:
                v.setFullScreen(!v.m_fullScreen);
                break;
            case cmd::kQuickSlideShow:
                v.toggleQuickSlideShow();
                break;
            case cmd::kSlideShow:
                v.m_quickSlideTimer.Stop();
                v.m_frame.startSlideShow(v.currentIndex());
                break;
            default:
                break;
        }
    }

private:
    CImageView& m_view;
};

std::unique_ptr<CommandReceiver> CImageView::makeReceiver() {
    return std::make_unique<Receiver>(*this);
}

}  // namespace tarn
