#include "browser/image_list_ctrl.h"

// The toolkit headers come with the header above: FreeImage.h, included there after them,
// defines a name that the toolkit headers take for the Windows headers.

#include <algorithm>
#include <optional>

#include "app/settings.h"
#include "browser/cached_thumbnail_maker.h"
#include "browser/thumbnail_budget.h"

namespace tarn {

CImageListCtrl::CImageListCtrl(wxWindow* parent, wxWindowID id, AppContext& context,
                               const CSystemImageLists& icons, ThumbnailWorker::Maker maker)
    : wxVScrolledWindow(parent, id, wxDefaultPosition, wxDefaultSize,
                        wxVSCROLL | wxWANTS_CHARS | wxBORDER_NONE),
      m_context(context),
      m_icons(icons),
      m_model(context.shell, ImageExtensions::fromFreeImage()),
      m_handOff(*this),
      m_worker(
          [this](ThumbnailResult result) {
              // Shared, so the copies the hand-off makes on this thread leave the image alone.
              auto made = std::make_shared<ThumbnailResult>(std::move(result));
              m_handOff.post([this, made] { thumbnailMade(std::move(*made)); });
          },
          maker ? std::move(maker)
                : listThumbnailMaker(context.settings, ThumbnailCache::defaultRoot())) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetBackgroundColour(wxColour(0x8A, 0x8A, 0x8A));
    SetForegroundColour(*wxWHITE);

    const SettingsStore& settings = context.settings;
    m_model.setSortState(settings.get(settings::kSortType), settings.get(settings::kSortDirection));
    m_geometry = cellGeometry(settings.get(settings::kThumbSizeWidth),
                              settings.get(settings::kThumbSizeHeight));
    m_worker.setBox(static_cast<unsigned>(m_geometry.boxWidth),
                    static_cast<unsigned>(m_geometry.boxHeight));

    loadPictures();
    m_onLaunch = [](const std::string& path) {
        const wxLogNull quiet;
        wxLaunchDefaultApplication(wxString::FromUTF8(path));
    };

    Bind(wxEVT_PAINT, &CImageListCtrl::onPaint, this);
    Bind(wxEVT_SIZE, &CImageListCtrl::onSize, this);
    Bind(wxEVT_SET_FOCUS, &CImageListCtrl::onFocusChanged, this);
    Bind(wxEVT_KILL_FOCUS, &CImageListCtrl::onFocusChanged, this);
    Bind(wxEVT_LEFT_DOWN, &CImageListCtrl::onLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CImageListCtrl::onLeftDoubleClick, this);
    Bind(wxEVT_RIGHT_DOWN, &CImageListCtrl::onRightDown, this);
    Bind(wxEVT_CONTEXT_MENU, &CImageListCtrl::onContextMenu, this);
    Bind(wxEVT_MOTION, &CImageListCtrl::onMotion, this);
    Bind(wxEVT_KEY_DOWN, &CImageListCtrl::onKeyDown, this);
    Bind(wxEVT_CHAR, &CImageListCtrl::onChar, this);
    Bind(wxEVT_FSWATCHER, &CImageListCtrl::onFileSystemChange, this);
    m_watchTimer.Bind(wxEVT_TIMER, &CImageListCtrl::onWatchPause, this);
    m_statusTimer.Bind(wxEVT_TIMER, &CImageListCtrl::onStatusTimer, this);
    updateRows();
}

CImageListCtrl::~CImageListCtrl() {
    m_context.settings.set(settings::kThumbSizeWidth, m_geometry.boxWidth);
    m_context.settings.set(settings::kThumbSizeHeight, m_geometry.boxHeight);
    m_context.settings.set(settings::kSortType, m_model.sortKey());
    m_context.settings.set(settings::kSortDirection, m_model.sortDirection());
    cancelLabelEdit();
    m_statusTimer.Stop();
    m_watchTimer.Stop();
    m_watcher.reset();
    m_worker.stop();
    m_model.deleteAll();
}

// ---- folder ----------------------------------------------------------------------------

bool CImageListCtrl::browse(const platform::ItemIdList& folder, int source) {
    cancelLabelEdit();
    bool ok = false;
    {
        const wxBusyCursor wait;
        ok = m_model.browse(folder, source, m_context.showHiddenFiles, [&] { m_worker.clear(); });
    }
    if (!ok) {
        return false;
    }
    m_anchor = m_model.focusedIndex();
    m_tipIndex = -1;
    m_labelEdit = -1;
    UnsetToolTip();
    updateRows();
    ScrollToRow(0);
    if (wxWindow* top = wxGetTopLevelParent(this)) {
        top->SetLabel(wxString::FromUTF8(m_model.windowTitle()));
    }
    watchFolder();
    Refresh();
    // Other items now: whoever shows the focused one must look again.
    if (m_onFocusChange) {
        m_onFocusChange(m_model.focusedIndex());
    }
    m_statusTimer.StartOnce(100);
    return true;
}

void CImageListCtrl::refresh() {
    if (m_model.hasFolder() &&
        m_context.shell.nearestListable(m_model.folderId()) != m_model.folderId()) {
        // Left from the loop: the watcher that told us may still be inside its own call, and
        // browsing replaces it.
        CallAfter([this] { leaveIfGone(); });
        return;
    }
    const bool changed = m_model.refresh(m_context.showHiddenFiles);
    if (changed) {
        if (m_anchor >= m_model.count()) {
            m_anchor = -1;
        }
        followLabelEdit();
        updateRows();
        Refresh();
    }
    m_statusTimer.StartOnce(100);
}

bool CImageListCtrl::leaveIfGone() {
    if (!m_model.hasFolder()) {
        return false;
    }
    const platform::ItemIdList folder = m_model.folderId();
    const platform::ItemIdList target = m_context.shell.nearestListable(folder);
    if (target == folder) {
        return false;
    }
    if (m_onFolderGone) {
        m_onFolderGone(target);  // both are copies: browsing replaces the model's folder
    }
    if (m_model.folderId() == folder) {
        // No handler, or it did not browse the list (the tree held that folder already).
        return browse(target, m_model.browseSource());
    }
    return true;
}

void CImageListCtrl::watchFolder() {
    m_watchTimer.Stop();
    m_throttle.reset();
    const std::string path = m_model.folderPath();
    if (path == m_watchedPath && m_watcher) {
        return;
    }
    const wxLogNull quiet;
    m_watcher.reset();
    m_watchedPath.clear();
    if (path.empty()) {
        return;
    }
    // The inotify watcher hooks itself into the running loop; a browse made before the loop
    // runs (at start-up) is watched from the loop's first round.
    if (wxEventLoopBase::GetActive() == nullptr) {
        if (!m_watchRetryPosted) {
            m_watchRetryPosted = true;
            CallAfter([this] {
                m_watchRetryPosted = false;
                if (wxEventLoopBase::GetActive() != nullptr) {
                    watchFolder();
                }
            });
        }
        return;
    }
    m_watcher = std::make_unique<wxFileSystemWatcher>();
    m_watcher->SetOwner(this);
    const int kinds = wxFSW_EVENT_CREATE | wxFSW_EVENT_DELETE | wxFSW_EVENT_RENAME |
                      wxFSW_EVENT_MODIFY | wxFSW_EVENT_ATTRIB | wxFSW_EVENT_WARNING |
                      wxFSW_EVENT_ERROR;
    if (m_watcher->Add(wxFileName::DirName(wxString::FromUTF8(path)), kinds)) {
        m_watchedPath = path;
    } else {
        m_watcher.reset();
    }
}

void CImageListCtrl::onFileSystemChange(wxFileSystemWatcherEvent& event) {
    if (event.GetChangeType() == wxFSW_EVENT_ACCESS) {
        return;
    }
    if (m_throttle.onChange()) {
        ++m_watchRefreshes;
        refresh();
        m_watchTimer.StartOnce(RefreshThrottle::kPauseMilliseconds);
    }
}

void CImageListCtrl::onWatchPause(wxTimerEvent&) {
    if (m_throttle.onPauseEnd()) {
        ++m_watchRefreshes;
        refresh();
        m_watchTimer.StartOnce(RefreshThrottle::kPauseMilliseconds);
    }
}

// ---- thumbnails ------------------------------------------------------------------------

bool CImageListCtrl::thumbnailsIdle() {
    return m_worker.idle();
}

std::vector<std::string> CImageListCtrl::queuedThumbnails() {
    return m_worker.queued();
}

void CImageListCtrl::thumbnailMade(ThumbnailResult result) {
    const int index = m_worker.store(m_model, std::move(result));
    if (index < 0) {
        return;
    }
    const IndexRange shown = shownItems();
    const int screen = shown.last - shown.first + 1;
    // What the read-ahead asks for is kept, so it is not made twice.
    dropFarThumbnails(m_model, shown.first - screen, shown.last + screen);
    const wxRect rect = itemRect(index);
    if (!rect.IsEmpty()) {
        RefreshRect(rect, false);
    }
}

IndexRange CImageListCtrl::shownItems() const {
    if (m_model.count() == 0 || GetRowCount() == 0) {
        return {};
    }
    const GridLayout grid = layout();
    const int first = grid.firstIndexOfRow(static_cast<int>(GetVisibleRowsBegin()));
    const int lastRow = std::max(static_cast<int>(GetVisibleRowsEnd()) - 1, 0);
    return {first, grid.lastIndexOfRow(std::min(lastRow, grid.rows() - 1))};
}

void CImageListCtrl::requestVisible() {
    const IndexRange shown = shownItems();
    if (shown.last < shown.first) {
        return;
    }
    // The shown rows first; then the next screen below and the one above, so that scrolling
    // finds them made.
    const int screen = shown.last - shown.first + 1;
    m_worker.request(m_model, {shown, IndexRange{shown.last + 1, shown.last + screen},
                               IndexRange{shown.first - screen, shown.first - 1}});
}

void CImageListCtrl::setThumbSize(int width, int height) {
    const CellGeometry geometry = cellGeometry(width, height);
    if (geometry.boxWidth == m_geometry.boxWidth && geometry.boxHeight == m_geometry.boxHeight) {
        return;
    }
    m_geometry = geometry;
    m_worker.setBox(static_cast<unsigned>(geometry.boxWidth),
                    static_cast<unsigned>(geometry.boxHeight));
    updateRows();
    if (const int selected = m_model.firstSelected(); selected >= 0) {
        ensureVisible(selected);
    }
    Refresh();
}

void CImageListCtrl::setSizeTracking(bool tracking) {
    if (m_sizeTracking != tracking) {
        m_sizeTracking = tracking;
        Refresh();
    }
}

// ---- layout ----------------------------------------------------------------------------

wxCoord CImageListCtrl::OnGetRowHeight(size_t) const {
    return m_geometry.cellHeight;
}

GridLayout CImageListCtrl::layout() const {
    return GridLayout(m_geometry.cellWidth, m_geometry.cellHeight, GetClientSize().x,
                      m_model.count());
}

int CImageListCtrl::columns() const {
    return layout().columns();
}

void CImageListCtrl::updateRows() {
    const auto rows = static_cast<size_t>(layout().rows());
    if (rows != GetRowCount()) {
        SetRowCount(rows);
    } else {
        RefreshAll();
    }
}

int CImageListCtrl::itemAt(const wxPoint& point) const {
    const int top = static_cast<int>(GetVisibleRowsBegin()) * m_geometry.cellHeight;
    return layout().indexAt(point.x, point.y + top);
}

wxRect CImageListCtrl::itemRect(int index) const {
    if (index < 0 || index >= m_model.count()) {
        return {};
    }
    const GridLayout grid = layout();
    const int row = grid.rowOf(index);
    if (!IsRowVisible(static_cast<size_t>(row))) {
        return {};
    }
    const int first = static_cast<int>(GetVisibleRowsBegin());
    return wxRect(grid.columnOf(index) * m_geometry.cellWidth,
                  (row - first) * m_geometry.cellHeight, m_geometry.cellWidth,
                  m_geometry.cellHeight);
}

void CImageListCtrl::ensureVisible(int index) {
    if (index < 0 || index >= m_model.count()) {
        return;
    }
    const int row = layout().rowOf(index);
    const int first = static_cast<int>(GetVisibleRowsBegin());
    const int whole = std::max(GetClientSize().y / m_geometry.cellHeight, 1);
    if (row < first) {
        ScrollToRow(static_cast<size_t>(row));
    } else if (row >= first + whole) {
        ScrollToRow(static_cast<size_t>(row - whole + 1));
    }
}

void CImageListCtrl::onSize(wxSizeEvent& event) {
    updateRows();
    followLabelEdit();
    if (const int selected = m_model.firstSelected(); selected >= 0) {
        ensureVisible(selected);
    }
    Refresh();
    event.Skip();
}

void CImageListCtrl::eraseBackgroundOnce() {
    m_eraseOnce = true;
    Refresh();
}
}  // namespace tarn
