#include "viewer/image_document.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "common/atomic_file.h"
#include "common/path_rules.h"
#include "imaging/freeimage_ptr.h"
#include "imaging/image_header.h"
#include "imaging/jpeg_codec.h"

namespace tarn {

namespace {}  // namespace

ImageDocument::ImageDocument(std::string tempFolder) : m_history(std::move(tempFolder)) {}

void ImageDocument::close() {
    m_image.reset();
    m_history.clear();
    m_path.clear();
    m_modified = false;
    m_pageIndex = 0;
    m_pageCount = 1;
}

bool ImageDocument::open(int index, const std::string& path, int page, PrefetchSlot& slot) {
    close();
    m_itemIndex = index;
    m_pageIndex = page;
    m_pageCount = 1;
    if (path.empty()) {
        return false;
    }
    std::optional<LoadedImage> taken = slot.take(path, page);
    // A file the loader could not read is tried once more: it may have been written meanwhile.
    LoadedImage loaded = taken && taken->image ? std::move(*taken) : loadImageFile(path, page);
    m_pageCount = std::max(1, loaded.pageCount);
    if (!loaded.image || !loaded.image->isValid()) {
        return false;
    }
    m_image = std::move(loaded.image);
    m_path = path;
    return true;
}

SaveOutcome ImageDocument::saveTo(const std::string& target) {
    SaveOutcome outcome;
    outcome.reportFailure = true;
    if (!hasImage() || target.empty()) {
        return outcome;
    }
    // By content, else by name; a target that does not exist yet goes by its name.
    const FREE_IMAGE_FORMAT sourceFormat =
        m_path.empty() ? FIF_UNKNOWN : fipSuperImage::getFileType(m_path.c_str());
    const FREE_IMAGE_FORMAT targetFormat =
        samePath(target, m_path) ? sourceFormat : fipSuperImage::getFileType(target.c_str());
    if (targetFormat == FIF_UNKNOWN || !FreeImage_FIFSupportsWriting(targetFormat)) {
        return outcome;
    }

    // The image as it was, while a depth conversion is not yet saved.
    std::unique_ptr<fipSuperImage> original;
    if (!formatWritesDepth(targetFormat, m_image->getImageType(), m_image->getBPP())) {
        auto converted = std::make_unique<fipSuperImage>(*m_image);
        if (!converted->isValid() || !converted->convertToSupportedBPP(targetFormat)) {
            return outcome;
        }
        original = std::exchange(m_image, std::move(converted));
    }

    bool reportFailure = true;
    const bool saved = m_pageCount > 1 && targetFormat == sourceFormat
                           ? saveMultiPage(target, targetFormat, reportFailure)
                           : m_image->save(targetFormat, target.c_str()) != FALSE;
    if (!saved) {
        // A failed save changes nothing: the image keeps its depth and its undo steps.
        if (original) {
            m_image = std::move(original);
        }
        outcome.reportFailure = reportFailure;
        return outcome;
    }
    if (original) {
        // The steps hold pixels of the old depth; they no longer fit the image.
        m_history.clear();
        outcome.depthConverted = true;
    }
    m_modified = false;
    outcome.saved = true;
    outcome.reportFailure = false;
    return outcome;
}

// Builds the new file in memory from the open file's bytes, the open image in place of its page
// and every other page as it was, and writes it whole through the atomic writer. Nothing touches
// the disk before the file is complete, so a save onto the open file never leaves it half
// rewritten, and the library's multi-page writer, which does not notice a full disk, is not used
// on files.
bool ImageDocument::saveMultiPage(const std::string& target, FREE_IMAGE_FORMAT format,
                                  bool& reportFailure) {
    reportFailure = true;
    // Declared in this order so that the pages are closed before the bytes they read from.
    std::vector<std::uint8_t> sourceBytes;
    if (!readFileBytes(m_path, sourceBytes) || sourceBytes.empty() ||
        sourceBytes.size() > std::numeric_limits<DWORD>::max()) {
        return false;
    }
    const MemoryPtr source(
        FreeImage_OpenMemory(sourceBytes.data(), static_cast<DWORD>(sourceBytes.size())));
    // Changes to pages opened from memory stay in memory.
    const FreeImageMultiPage pages(
        source ? FreeImage_LoadMultiBitmapFromMemory(format, source.get(), 0) : nullptr);
    if (!pages) {
        return false;
    }
    const int count = FreeImage_GetPageCount(pages.get());
    if (m_pageIndex < 0 || m_pageIndex >= count) {
        return false;
    }
    // The writer would pass over a page it cannot read; find such a page first.
    for (int i = 0; i < count; ++i) {
        if (i == m_pageIndex) {
            continue;
        }
        if (!headerFitsDecodeLimit(sourceBytes.data(), sourceBytes.size(), i) ||
            !lockPage(pages.get(), i)) {
            reportFailure = false;
            return false;
        }
    }
    FreeImage_InsertPage(pages.get(), m_pageIndex, *m_image);
    FreeImage_DeletePage(pages.get(), m_pageIndex + 1);
    // Neither call reports failure; a page they lost shows in the count.
    if (FreeImage_GetPageCount(pages.get()) != count) {
        return false;
    }
    const MemoryPtr result(FreeImage_OpenMemory());
    BYTE* data = nullptr;
    DWORD size = 0;
    return result && FreeImage_SaveMultiBitmapToMemory(format, pages.get(), result.get(), 0) &&
           FreeImage_AcquireMemory(result.get(), &data, &size) && size > 0 &&
           writeBytesAtomically(target, data, size);
}

std::unique_ptr<fipSuperImage> ImageDocument::cleanCopy() const {
    if (!hasImage() || m_modified) {
        return nullptr;
    }
    auto copy = std::make_unique<fipSuperImage>(*m_image);
    return copy->isValid() ? std::move(copy) : nullptr;
}

bool ImageDocument::applyEdit(const ImageEdit& edit, const std::optional<Rect>& selection) {
    if (!hasImage()) {
        return false;
    }
    std::optional<Rect> area;
    if (selection) {
        const int width = static_cast<int>(m_image->getWidth());
        const int height = static_cast<int>(m_image->getHeight());
        area = Rect{std::max(selection->left, 0), std::max(selection->top, 0),
                    std::min(selection->right, width), std::min(selection->bottom, height)};
        if (area->empty()) {
            return false;
        }
    }
    // The copy for the undo step is taken before the image changes, but the step is recorded
    // only once the edit went through: an edit that fails (for want of memory, the only way an
    // enabled command's operation fails) leaves the image and the history as they were.
    std::unique_ptr<UndoEntry> step = m_history.snapshot(*m_image);
    try {
        if (!area) {
            if (!edit(*m_image)) {
                return false;
            }
        } else {
            fipSuperImage piece;
            if (!m_image->copySubImage(piece, area->left, area->top, area->right, area->bottom) ||
                !edit(piece) || !m_image->pasteSubImage(piece, area->left, area->top, 256)) {
                return false;
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_history.record(std::move(step));
    m_modified = true;
    return true;
}

bool ImageDocument::undo() {
    if (!canUndo() || !m_history.undo(*m_image)) {
        return false;
    }
    m_modified = true;
    return true;
}

bool ImageDocument::redo() {
    if (!canRedo() || !m_history.redo(*m_image)) {
        return false;
    }
    m_modified = true;
    return true;
}

}  // namespace tarn
