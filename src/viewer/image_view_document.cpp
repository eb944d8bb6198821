// The image view's document side: opening items of the folder list, pre-loading the next one,
// saving, the save-changes question, deleting, and moving between images and pages.
#include <wx/colordlg.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include <memory>

#include "app/app_context.h"
#include "browser/folder_model.h"
#include "common/path_rules.h"
#include "common/program_name.h"
#include "dialogs/dlg_open_file.h"
#include "dialogs/dlg_query_save.h"
#include "dialogs/dlg_rename.h"
#include "dialogs/dlg_save_file.h"
#include "platform/file_trash.h"
#include "viewer/image_view.h"

namespace tarn {

namespace {

constexpr int kSaveResult = 1000;
constexpr int kSaveAsResult = 1001;
constexpr int kDiscardResult = 1002;

std::string itemFilePath(const FolderModel& model, int index) {
    const FolderItem* item = model.item(index);
    if (item == nullptr) {
        return {};
    }
    return item->targetPath.empty() ? item->path : item->targetPath;
}

}  // namespace

void CImageView::installDefaultPrompts() {
    m_prompts.querySave = [this](const std::string& path, const fipSuperImage& image,
                                 std::string& chosen) {
        CDlgQuerySave dialog(this, path, image);
        const int result = dialog.ShowModal();
        chosen = dialog.chosenPath();
        return result;
    };
    m_prompts.saveAs = [this](const std::string& path,
                              const fipSuperImage& image) -> std::optional<std::string> {
        CDlgSaveFile dialog(this, path, fipSuperImage::getSaveFileFilter(image));
        if (dialog.ShowModal() != wxID_OK) {
            return std::nullopt;
        }
        return dialog.path();
    };
    m_prompts.openFile = [this](const std::string& folder) -> std::optional<std::string> {
        CDlgOpenFile dialog(this, m_context.settings, fipSuperImage::getOpenFileFilter(), folder);
        if (dialog.ShowModal() != wxID_OK) {
            return std::nullopt;
        }
        return dialog.path();
    };
    m_prompts.runDialog = [](wxDialog& dialog) { return dialog.ShowModal(); };
    m_prompts.confirm = [this](const std::string& text, const std::string& caption) {
        return wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(caption),
                            wxYES_NO | wxICON_QUESTION, this) == wxYES;
    };
    m_prompts.error = [this](const std::string& text, const std::string& caption) {
        wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(caption), wxOK | wxICON_ERROR,
                     this);
    };
    m_prompts.warn = [this](const std::string& text) {
        wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(std::string(kProgramTitle)),
                     wxOK | wxICON_EXCLAMATION, this);
    };
    m_prompts.inform = [this](const std::string& text, const std::string& caption) {
        wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(caption),
                     wxOK | wxICON_INFORMATION, this);
    };
    m_prompts.chooseColor = [this](std::uint32_t start) -> std::optional<std::uint32_t> {
        wxColourData data;
        data.SetChooseFull(true);
        data.SetColour(wxColour(static_cast<unsigned long>(start)));
        wxColourDialog dialog(this, &data);
        if (dialog.ShowModal() != wxID_OK) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(dialog.GetColourData().GetColour().GetRGB());
    };
    m_prompts.trash = [](const std::string& path) { return platform::moveToTrash(path); };
    m_prompts.rename = [this](const std::string& path) -> std::optional<std::string> {
        CDlgRename dialog(this, path);
        if (dialog.ShowModal() != wxID_OK) {
            return std::nullopt;
        }
        return dialog.newName();
    };
}

// ---- opening ---------------------------------------------------------------------------

bool CImageView::openItem(int index, int page) {
    m_renderer.invalidate();
    m_document.open(index, itemFilePath(folder(), index), page, m_prefetch);
    refreshAfterOpen();
    startPreload();
    return m_document.hasImage();
}

void CImageView::refreshAfterOpen() {
    m_selection.clear();
    const fipSuperImage* image = m_document.image();
    m_geometry.openImage(image != nullptr ? static_cast<int>(image->getWidth()) : 0,
                         image != nullptr ? static_cast<int>(image->getHeight()) : 0);
    syncGeometry();
    Refresh(false);
    m_host.imageChanged();
    m_host.refreshTitle();
    m_host.refreshStatus();
}

void CImageView::startPreload() {
    const int next = nextImageIndex();
    if (next < 0) {
        return;
    }
    m_prefetch.preload(itemFilePath(folder(), next), 0,
                       [this] { wxQueueEvent(this, new wxThreadEvent(EVT_IMAGE_PRELOADED)); });
}

void CImageView::onPreloaded(wxThreadEvent&) {
    // A result that arrives after the image mode was left is not kept.
    if (!m_host.inImageMode()) {
        m_prefetch.discard();
    }
}

void CImageView::closeImage() {
    m_selection.clear();
    m_document.close();
    m_renderer.invalidate();
    m_geometry.closeImage();
    applyScrollBars();
    Refresh(false);
    m_host.imageChanged();
    m_host.refreshTitle();
    m_host.refreshStatus();
}

std::string CImageView::titleName() const {
    return m_document.hasImage() ? fileName(m_document.path()) : std::string();
}

// ---- editing ---------------------------------------------------------------------------

void CImageView::refreshAfterEdit() {
    const fipSuperImage* image = m_document.image();
    m_geometry.refreshImage(static_cast<int>(image->getWidth()),
                            static_cast<int>(image->getHeight()));
    // A selection that an undone crop or a turn left outside the picture goes.
    const Rect& r = m_selection.rect();
    if (r.right > m_geometry.imageWidth() || r.bottom > m_geometry.imageHeight()) {
        m_selection.clear();
    }
    m_renderer.invalidate();
    syncGeometry();
    Refresh(false);
    m_host.imageChanged();
    m_host.refreshTitle();
    m_host.refreshStatus();
}

// ---- saving ----------------------------------------------------------------------------

bool CImageView::querySave() {
    if (!m_document.modified() || !m_document.hasImage()) {
        return true;
    }
    std::string chosen;
    const int result = m_prompts.querySave(m_document.path(), *m_document.image(), chosen);
    switch (result) {
        case kSaveResult:
            return saveTo(m_document.path());
        case kSaveAsResult:
            return !chosen.empty() && saveTo(chosen);
        case kDiscardResult:
            return true;
        default:
            return false;
    }
}

bool CImageView::saveTo(const std::string& path) {
    if (!m_document.hasImage()) {
        return false;
    }
    const SaveOutcome outcome = m_document.saveTo(path);
    if (outcome.depthConverted) {
        m_renderer.invalidate();
        Refresh(false);
    }
    if (!outcome.saved) {
        if (outcome.reportFailure) {
            m_prompts.error("Failed to save file '" + path + "'.", "Save File");
        }
        return false;
    }
    m_host.refreshTitle();
    m_host.refreshStatus();
    return true;
}

void CImageView::save() {
    saveTo(m_document.path());
}

void CImageView::saveAs() {
    if (!m_document.hasImage()) {
        return;
    }
    if (const auto path = m_prompts.saveAs(m_document.path(), *m_document.image())) {
        saveTo(*path);
    }
}

void CImageView::reopen() {
    if (!querySave()) {
        return;
    }
    const int index = currentIndex();
    closeImage();
    openItem(index, 0);
}

void CImageView::closeCommand() {
    if (querySave()) {
        closeImage();
    }
}

void CImageView::deleteFile() {
    if (!m_document.hasImage()) {
        return;
    }
    if (m_document.modified() &&
        !m_prompts.confirm("The file has been changed. Do you really want to delete the file?",
                           "Delete File")) {
        return;
    }
    if (!m_prompts.trash(m_document.path())) {
        return;
    }
    closeAndOpenOneOf(
        {itemFilePath(folder(), nextImageIndex()), itemFilePath(folder(), previousImageIndex())});
}

void CImageView::closeAndOpenOneOf(const std::vector<std::string>& paths) {
    // The list is read again after the file went; the neighbours are found by their paths.
    closeImage();
    m_host.refreshFolder();
    for (const std::string& path : paths) {
        if (const FolderItem* item = path.empty() ? nullptr : folder().itemByPath(path)) {
            openItem(folder().indexOf(item), 0);
            return;
        }
    }
}

std::string CImageView::nextImagePath() const {
    return itemFilePath(folder(), nextImageIndex());
}

void CImageView::openFromDialog() {
    const std::string folderPath = folder().folderPath();
    const auto chosen = m_prompts.openFile(folderPath);
    if (!chosen) {
        return;
    }
    if (!querySave()) {
        return;
    }
    closeImage();
    m_host.showFileInBrowser(*chosen);
    const FolderItem* item = folder().itemByPath(*chosen);
    if (item == nullptr) {
        return;
    }
    const int index = folder().indexOf(item);
    if (m_host.inImageMode()) {
        openItem(index, 0);
    } else {
        m_host.openListItem(index);
    }
}

// ---- navigation ------------------------------------------------------------------------

int CImageView::currentIndex() const {
    // Files added or removed meanwhile move the open file's place in the list.
    const int index = m_document.itemIndex();
    const std::string& path = m_document.path();
    if (path.empty() || itemFilePath(folder(), index) == path) {
        return index;
    }
    const FolderItem* item = folder().itemByPath(path);
    return item != nullptr ? folder().indexOf(item) : index;
}

int CImageView::nextImageIndex() const {
    return folder().nextImage(currentIndex());
}

int CImageView::previousImageIndex() const {
    return currentIndex() < 0 ? -1 : folder().previousImage(currentIndex());
}

int CImageView::firstImageIndex() const {
    return folder().nextImage(-1);
}

int CImageView::lastImageIndex() const {
    return folder().previousImage(folder().count());
}

bool CImageView::canNextImage() const {
    return nextImageIndex() >= 0;
}

bool CImageView::canPreviousImage() const {
    return previousImageIndex() >= 0;
}

bool CImageView::canFirstImage() const {
    const int first = firstImageIndex();
    return first >= 0 && first != currentIndex();
}

bool CImageView::canLastImage() const {
    const int last = lastImageIndex();
    return last >= 0 && last != currentIndex();
}

void CImageView::openOtherImage(int index, bool keepLeftImage) {
    // Going back keeps the image being left (only as read from its file) for a quick return.
    std::unique_ptr<fipSuperImage> left;
    if (keepLeftImage && !m_prefetch.loading()) {
        left = m_document.cleanCopy();
    }
    if (!querySave()) {
        return;
    }
    if (left) {
        m_prefetch.keep(m_document.path(), m_document.pageIndex(), m_document.pageCount(),
                        std::move(left));
    }
    restartQuickSlide();
    openItem(index, 0);
}

void CImageView::nextImage() {
    if (canNextImage()) {
        openOtherImage(nextImageIndex(), false);
    }
}

void CImageView::previousImage() {
    if (canPreviousImage()) {
        openOtherImage(previousImageIndex(), true);
    }
}

void CImageView::firstImage() {
    if (canFirstImage()) {
        openOtherImage(firstImageIndex(), false);
    }
}

void CImageView::lastImage() {
    if (canLastImage()) {
        openOtherImage(lastImageIndex(), false);
    }
}

void CImageView::goToPage(int page) {
    if (page < 0 || page >= m_document.pageCount() || page == m_document.pageIndex()) {
        return;
    }
    if (!querySave()) {
        return;
    }
    restartQuickSlide();
    const int index = currentIndex();
    closeImage();
    openItem(index, page);
}

}  // namespace tarn
