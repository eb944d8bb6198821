#pragma once

#include <wx/artprov.h>
#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/evtloop.h>
#include <wx/fswatcher.h>
#include <wx/log.h>
#include <wx/timer.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <wx/vscroll.h>

#include <functional>
#include <memory>
#include <string>

#include "app/app_context.h"
#include "app/background_task.h"
#include "app/system_image_lists.h"
#include "browser/folder_model.h"
#include "browser/thumb_layout.h"
#include "browser/thumbnail_worker.h"

namespace tarn {

class CFileNameEdit;

// The browser's main pane: a virtual grid of thumbnail cells over the folder model, with the
// thumbnail worker that fills it and a watcher that keeps it in step with the disk. Each row of
// cells is one scroll unit.
class CImageListCtrl : public wxVScrolledWindow {
public:
    static constexpr wxWindowID kControlId = 133;

    // maker: how thumbnails are made; empty for the usual way.
    CImageListCtrl(wxWindow* parent, wxWindowID id, AppContext& context,
                   const CSystemImageLists& icons, ThumbnailWorker::Maker maker = {});
    // Writes the box size and sort settings; stops the thumbnail worker without waiting for a
    // decode.
    ~CImageListCtrl() override;

    // Hands over from the old folder (no thumbnail of it can be stored afterwards), fills the
    // model, sorts it and watches the new folder. source: 0 folder tree or address bar, 1
    // favorites. False, with the old contents kept, when the folder cannot be listed.
    bool browse(const platform::ItemIdList& folder, int source);
    // Brings the items in step with the disk (the watcher and the Refresh command); a folder
    // that has gone is left as leaveIfGone does.
    void refresh();
    // When the shown folder has gone (deleted, or its volume unmounted), goes to its nearest
    // parent that can be listed: through the folder-gone handler, else (or when the handler
    // did not browse) by browsing there itself. True when it left.
    bool leaveIfGone();

    // On the UI thread only, like every window call; the thumbnail worker never touches the
    // model. Changes of order or content go through this window. Selection changes made
    // directly should be followed by Refresh().
    FolderModel& model() { return m_model; }
    const FolderModel& model() const { return m_model; }

    // Each side clamped to 36..200; shown thumbnails are made again at the new size.
    void setThumbSize(int width, int height);
    wxSize thumbSize() const { return {m_geometry.boxWidth, m_geometry.boxHeight}; }
    // While the size slider is dragged the cells follow at once, drawn from the thumbnails at
    // hand; they are made again at the new size once the drag ends.
    void setSizeTracking(bool tracking);
    const CellGeometry& geometry() const { return m_geometry; }

    void sortBy(int key);
    void setSortDirection(int direction);

    // Selection commands.
    void selectAll();
    void selectAllFiles();
    void selectAllImages();
    void clearSelection();
    void invertSelection();
    // Only index selected, focused and scrolled into view.
    void selectOnly(int index);
    void setFocusedItem(int index);
    void ensureVisible(int index);

    // Opens an item as a double-click does: an image through the open handler, a folder (or a
    // shortcut to one) through the folder-open handler, any other file with its default
    // application.
    void openItem(int index);

    // The item under a client point; -1 over empty space.
    int itemAt(const wxPoint& point) const;
    // The cell of an item in client coordinates; empty when it is scrolled out of view.
    wxRect itemRect(int index) const;
    int columns() const;
    wxString infoTip(int index);

    void setOpenHandler(std::function<void(int index)> handler) { m_onOpen = std::move(handler); }
    void setFolderOpenHandler(std::function<void(const platform::ItemIdList&)> handler) {
        m_onOpenFolder = std::move(handler);
    }
    void setFolderGoneHandler(std::function<void(const platform::ItemIdList&)> handler) {
        m_onFolderGone = std::move(handler);
    }
    // Called 100 ms after the selection, the focus or the content changed.
    void setStatusHandler(std::function<void()> handler) { m_onStatus = std::move(handler); }
    // Called at once when another item takes the focus (-1: none).
    void setFocusChangeHandler(std::function<void(int index)> handler) {
        m_onFocusChange = std::move(handler);
    }
    // Opens a file that is neither an image nor a folder; the default starts its application.
    void setFileLaunchHandler(std::function<void(const std::string& path)> handler) {
        m_onLaunch = std::move(handler);
    }

    // The item whose label an editor covers (-1: none). Its label is not drawn, and the list's
    // own keys rest while it is set. The rename command opens the editor.
    void setLabelEditIndex(int index);
    int labelEditIndex() const { return m_labelEdit; }
    // The Rename command: opens the name editor over the item's label; false, with a beep,
    // when the item may not be renamed. Enter or leaving the editor renames, Escape cancels;
    // a rename that fails is reported and the editor opens again (image_list_label_edit.cpp).
    bool editLabel(int index);
    bool mayRename(int index) const;
    bool isEditingLabel() const { return m_nameEditor != nullptr; }
    // Closes the editor without renaming.
    void cancelLabelEdit();

    // The next paint covers the whole client area, not just what was invalidated.
    void eraseBackgroundOnce();

    // True when no thumbnail is queued, being made or on its way to the model.
    bool thumbnailsIdle();
    // The paths waiting for a thumbnail, the next served first.
    std::vector<std::string> queuedThumbnails();
    // Refreshes run because the folder changed on disk.
    int watchRefreshCount() const { return m_watchRefreshes; }

private:
    wxCoord OnGetRowHeight(size_t row) const override;

    void onPaint(wxPaintEvent& event);
    void onSize(wxSizeEvent& event);
    void onFocusChanged(wxFocusEvent& event);
    void onLeftDown(wxMouseEvent& event);
    void onLeftDoubleClick(wxMouseEvent& event);
    void onRightDown(wxMouseEvent& event);
    // The image, folder, file or background menu; from the keyboard at the first selected item.
    void onContextMenu(wxContextMenuEvent& event);
    void onMotion(wxMouseEvent& event);
    void onKeyDown(wxKeyEvent& event);
    void onChar(wxKeyEvent& event);
    // Stores a thumbnail the worker made and redraws its cell.
    void thumbnailMade(ThumbnailResult result);
    void onFileSystemChange(wxFileSystemWatcherEvent& event);
    void onWatchPause(wxTimerEvent& event);
    void onStatusTimer(wxTimerEvent& event);

    void loadPictures();
    GridLayout layout() const;
    void updateRows();
    void requestVisible();
    // The items of the rows on screen; empty when there are none.
    IndexRange shownItems() const;
    // Composes one cell into the cell bitmap.
    void drawCell(wxDC& dc, int index, bool listFocused);
    void drawEmptyText(wxDC& dc);
    const wxBitmap& folderPicture(const wxSize& size);
    void watchFolder();
    void selectionChanged();
    void focusChanged(int previous);
    void moveFocus(int index, bool extend, bool keepSelection);
    void selectRange(int from, int to, bool clearOthers);
    // typed: the text to start from; empty for the item's own name.
    void openLabelEditor(int index, const std::string& typed);
    void placeLabelEditor();
    void postLabelEditEnd(bool accept);
    // Clicks and the wheel end the editor: a focus given to the list goes on to its child.
    void onMouseWhileEditing(wxMouseEvent& event);
    void closeLabelEditor(CFileNameEdit* editor);
    void endLabelEdit(bool accept);
    // Keeps the editor on its item after the items changed or moved.
    void followLabelEdit();

    AppContext& m_context;
    const CSystemImageLists& m_icons;
    FolderModel m_model;
    CellGeometry m_geometry;
    // The anchor of Shift selections by keyboard.
    int m_anchor = -1;
    int m_tipIndex = -1;
    int m_labelEdit = -1;
    CFileNameEdit* m_nameEditor = nullptr;  // a child window while a label is edited
    std::string m_editPath;
    std::string m_editShown;
    bool m_editIsFolder = false;
    bool m_editEndPosted = false;
    bool m_eraseOnce = false;
    bool m_sizeTracking = false;

    // What a paint draws a row of cells into before it goes to the display.
    wxBitmap m_rowBuffer;
    wxBitmap m_folderSource;
    wxBitmap m_folderScaled;
    wxBitmap m_overlay;

    wxTimer m_statusTimer;
    wxTimer m_watchTimer;
    RefreshThrottle m_throttle;
    std::unique_ptr<wxFileSystemWatcher> m_watcher;
    std::string m_watchedPath;
    int m_watchRefreshes = 0;
    bool m_watchRetryPosted = false;

    std::function<void(int)> m_onOpen;
    std::function<void(const platform::ItemIdList&)> m_onOpenFolder;
    std::function<void(const platform::ItemIdList&)> m_onFolderGone;
    std::function<void()> m_onStatus;
    std::function<void(int)> m_onFocusChange;
    std::function<void(const std::string&)> m_onLaunch;

    // Before the worker: it closes after the worker's thread has been joined.
    UiHandOff m_handOff;
    // Last: its thread starts once everything above exists, and it stops first.
    ThumbnailWorker m_worker;
};

}  // namespace tarn
