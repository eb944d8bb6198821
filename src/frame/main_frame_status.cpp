// The main frame's status bar and what the image view and the list ask of the frame about the
// folder and the open image.
#include <sys/stat.h>

#include "frame/main_frame.h"

#include "browser/browser_view.h"
#include "browser/image_list_ctrl.h"
#include "browser/shell_tree.h"
#include "common/path_rules.h"
#include "frame/status_bar_texts.h"
#include "frame/super_status_bar.h"
#include "viewer/image_view.h"

namespace tarn {

namespace {

std::time_t modifiedSeconds(std::int64_t nanoseconds) {
    return static_cast<std::time_t>(nanoseconds / 1'000'000'000);
}

}  // namespace

// ---- status bar ------------------------------------------------------------------------

void CMainFrame::setThumbnailSize(int size) {
    const int clamped = std::clamp(size, 36, 200);
    imageList()->setThumbSize(clamped, clamped);
    m_statusBar->setThumbnailSlider(clamped);
}

void CMainFrame::refreshStatus() {
    if (m_statusBar == nullptr) {
        return;
    }
    if (m_mode == kImageMode) {
        refreshImageStatus();
        return;
    }
    if (m_mode != kBrowserMode) {
        return;
    }
    const FolderModel& model = imageList()->model();
    BrowserStatus status;
    status.itemCount = static_cast<std::size_t>(model.count());
    status.totalFileBytes = model.totalSize();
    status.selectedCount = static_cast<std::size_t>(model.selectedCount());
    status.selectedFileBytes = model.selectedTotalSize();
    status.folderName = model.folderDisplayName();
    struct stat info {};
    if (!model.folderPath().empty() && ::stat(model.folderPath().c_str(), &info) == 0) {
        status.folderModified = info.st_mtime;
    }
    if (const FolderItem* item = model.item(model.focusedIndex())) {
        status.hasFocusedItem = true;
        status.focusedName = item->displayName;
        status.focusedModified = modifiedSeconds(item->modified);
        status.focusedSize = item->size;
        status.focusedWidth = item->photoWidth;
        status.focusedHeight = item->photoHeight;
    }
    m_statusBar->showPanes(browserPanes(status), true);
}

FolderModel& CMainFrame::folderModel() {
    return imageList()->model();
}

void CMainFrame::refreshFolder() {
    imageList()->refresh();
}

void CMainFrame::openListItem(int index) {
    imageList()->openItem(index);
}

bool CMainFrame::zoomSliderTracking() const {
    return m_statusBar->tracking();
}

double CMainFrame::viewZoom() const {
    return m_imageView->geometry().zoom();
}

void CMainFrame::refreshImageStatus() {
    const ImageDocument& doc = m_imageView->document();
    const fipSuperImage* image = doc.image();
    if (image == nullptr) {
        m_statusBar->showPanes(noImagePanes(), false);
        return;
    }
    const FolderModel& model = imageList()->model();
    ImageStatus status;
    status.imagesBefore = doc.itemIndex() >= 0 ? model.imagePosition(doc.itemIndex()) - 1 : 0;
    status.imageCount = model.imageCount();
    status.fileName = fileName(doc.path());
    struct stat info {};
    if (::stat(doc.path().c_str(), &info) == 0) {
        status.fileSize = static_cast<std::uint64_t>(info.st_size);
    }
    status.width = static_cast<int>(image->getWidth());
    status.height = static_cast<int>(image->getHeight());
    status.bitsPerPixel = static_cast<int>(image->getBPP());
    const wxPoint mouse = m_imageView->ScreenToClient(wxGetMousePosition());
    const PointF at = m_imageView->geometry().windowToImage(mouse.x, mouse.y);
    status.mouseX = static_cast<int>(at.x);
    status.mouseY = static_cast<int>(at.y);
    status.zoom = m_imageView->geometry().zoom();
    if (m_imageView->hasSelection()) {
        status.hasSelection = true;
        status.selectionWidth = m_imageView->selection().rect().width();
        status.selectionHeight = m_imageView->selection().rect().height();
    }
    m_statusBar->showPanes(imagePanes(status), false);
    m_statusBar->setZoomSlider(status.zoom);
}

void CMainFrame::showFileInBrowser(const std::string& path) {
    const std::string folder = parentFolder(path);
    if (samePath(folder, imageList()->model().folderPath())) {
        return;
    }
    if (const auto id = m_context.shell.idFromPath(folder)) {
        m_browserView->showFolders();
        folderTree()->selectFolder(*id);
    }
}

}  // namespace tarn
