#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/rect.h"
#include "imaging/fip_super_image.h"
#include "viewer/prefetch_slot.h"
#include "viewer/undo_history.h"

namespace tarn {

// What a save did, for the view to react on.
struct SaveOutcome {
    bool saved = false;
    // The image was converted to a depth the target format can store: the undo history was
    // deleted and the view must repaint.
    bool depthConverted = false;
    // The failure is to be reported with "Failed to save file '…'." (a page of the source that
    // cannot be read fails silently).
    bool reportFailure = false;
};

// An edit of the open image: a plain function that changes the image in place and reports
// success (leaving the image as it was when it fails). The effect dialogs' previews call the
// same functions on their thumbnails.
using ImageEdit = std::function<bool(fipSuperImage& image)>;

// The one open image of the image view: the image, the file and page it came from, whether it
// was changed, and its undo history. Toolkit-free; the view adds the dialogs, drawing and
// navigation through the folder list.
class ImageDocument {
public:
    // Undo snapshots go to tempFolder (created on first use).
    explicit ImageDocument(std::string tempFolder);

    // Releases the image and deletes the undo history; path and modified are cleared, the item
    // index stays so that navigation goes on from it.
    void close();

    // Opens item index (its file path may be empty: nothing to load) at page: closes first, then
    // takes the image from the slot when it holds this path and page (waiting for its loader),
    // else loads the file. Returns whether an image is now open; a file that cannot be read
    // leaves no image and an empty path, with the index, page and page count kept.
    bool open(int index, const std::string& path, int page, PrefetchSlot& slot);

    // Saves the image to target (atomically: a failure leaves the file there untouched).
    // Converts the image to a depth the target format can store first; a file of more than one
    // page saved in its own format keeps every other page. Clears modified on success. A failed
    // save leaves the image, its depth and its undo steps as they were.
    SaveOutcome saveTo(const std::string& target);

    bool hasImage() const { return m_image && m_image->isValid(); }
    fipSuperImage* image() { return hasImage() ? m_image.get() : nullptr; }
    const fipSuperImage* image() const { return hasImage() ? m_image.get() : nullptr; }
    const std::string& path() const { return m_path; }
    int itemIndex() const { return m_itemIndex; }
    int pageIndex() const { return m_pageIndex; }
    int pageCount() const { return m_pageCount; }
    bool modified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    // After a rename of the open file.
    void setPath(std::string path) { m_path = std::move(path); }
    UndoHistory& history() { return m_history; }

    // The one door for edits: applies the edit to the whole image or, with a selection (image
    // pixels, clipped to the image), to a copy of that rectangle that is pasted back opaque at
    // its corner, and records the undo step of the image as it was before. On success the
    // document is modified. Returns false when no image is open, the selection is empty or the
    // edit failed (also by throwing std::bad_alloc); the image and the undo history are then as
    // they were.
    bool applyEdit(const ImageEdit& edit, const std::optional<Rect>& selection = std::nullopt);
    // The image as before the last edit, or again after it; the document is modified.
    bool canUndo() const { return hasImage() && m_history.canUndo(); }
    bool canRedo() const { return hasImage() && m_history.canRedo(); }
    bool undo();
    bool redo();

    // Page navigation is possible exactly under these conditions. They go by the page index, so
    // that a page that could not be loaded can still be left for the others.
    bool canNextPage() const { return pageKnown() && m_pageIndex < m_pageCount - 1; }
    bool canPreviousPage() const { return pageKnown() && m_pageIndex > 0; }
    bool canFirstPage() const { return pageKnown() && m_pageIndex != 0; }
    bool canLastPage() const { return pageKnown() && m_pageIndex != m_pageCount - 1; }

    // A copy of the open image for the pre-load slot, only while it holds no unsaved changes
    // (the slot must only ever hold pixels as they are in the file).
    std::unique_ptr<fipSuperImage> cleanCopy() const;

private:
    // A page of an opened file with several pages (loaded or not).
    bool pageKnown() const {
        return m_pageCount > 1 && m_pageIndex >= 0 && m_pageIndex < m_pageCount;
    }
    bool saveMultiPage(const std::string& target, FREE_IMAGE_FORMAT format, bool& reportFailure);

    std::unique_ptr<fipSuperImage> m_image;
    std::string m_path;
    int m_itemIndex = -1;
    int m_pageIndex = 0;
    int m_pageCount = 1;
    bool m_modified = false;
    UndoHistory m_history;
};

}  // namespace tarn
