#include "browser/image_list_ctrl.h"

// The toolkit headers come with the header above: FreeImage.h, included there after them,
// defines a name that the toolkit headers take for the Windows headers.

#include <algorithm>
#include <optional>

#include "app/resource_pictures.h"
#include "app/settings.h"
#include "browser/info_tip.h"
#include "imaging/image_draw.h"
#include "platform/system_icons.h"

namespace tarn {

namespace {

wxDEFINE_EVENT(EVT_THUMBNAIL_READY, wxThreadEvent);

// Colours are given as the program's 0x00BBGGRR values.
wxColour colorRef(std::uint32_t bgr) {
    return wxColour(static_cast<unsigned char>(bgr & 0xFF),
                    static_cast<unsigned char>((bgr >> 8) & 0xFF),
                    static_cast<unsigned char>((bgr >> 16) & 0xFF));
}

const wxColour kBackground = colorRef(0x8A8A8A);
const wxColour kSelectedFocused = colorRef(0x645050);
const wxColour kSelectedUnfocused = colorRef(0x787373);
const wxColour kBoxOutline = colorRef(0xC8C8C8);
const wxColour kFocusLight = colorRef(0xDCDCDC);

constexpr int kOverlaySide = 32;
constexpr int kSystemIconSide = 32;

wxFont labelFont() {
    return wxFont(wxFontInfo(8.5).FaceName("Tahoma"));
}

// A little arrow in a white square, for themes without a link emblem.
wxBitmap drawnOverlay() {
    wxBitmap bitmap(kOverlaySide, kOverlaySide);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetPen(wxPen(*wxBLACK, 1));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(0, 0, kOverlaySide, kOverlaySide);
    dc.SetPen(wxPen(colorRef(0x7F3F00), 4));
    dc.DrawLine(9, 23, 22, 10);
    dc.DrawLine(13, 9, 23, 9);
    dc.DrawLine(23, 9, 23, 19);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

wxBitmap scaled(const wxBitmap& source, const wxSize& size) {
    if (!source.IsOk() || size.x <= 0 || size.y <= 0) {
        return {};
    }
    if (source.GetSize() == size) {
        return source;
    }
    wxImage image = source.ConvertToImage();
    image.Rescale(size.x, size.y, wxIMAGE_QUALITY_HIGH);
    return wxBitmap(image);
}

}  // namespace

CImageListCtrl::CImageListCtrl(wxWindow* parent, wxWindowID id, AppContext& context,
                               const CSystemImageLists& icons)
    : wxVScrolledWindow(parent, id, wxDefaultPosition, wxDefaultSize,
                        wxVSCROLL | wxWANTS_CHARS | wxBORDER_NONE),
      m_context(context),
      m_icons(icons),
      m_model(context.shell, ImageExtensions::fromFreeImage()),
      m_worker(m_model, [this](int index) {
          auto* event = new wxThreadEvent(EVT_THUMBNAIL_READY);
          event->SetInt(index);
          wxQueueEvent(this, event);
      }) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetBackgroundColour(kBackground);
    SetForegroundColour(*wxWHITE);

    const SettingsStore& settings = context.settings;
    m_model.setSortState(settings.get(settings::kSortType), settings.get(settings::kSortDirection));
    m_geometry = cellGeometry(settings.get(settings::kThumbSizeWidth),
                              settings.get(settings::kThumbSizeHeight));
    {
        const std::lock_guard<std::mutex> lock(m_worker.mutex());
        m_worker.setBoxLocked(static_cast<unsigned>(m_geometry.boxWidth),
                              static_cast<unsigned>(m_geometry.boxHeight));
    }

    const CResourcePictures pictures(context.folders.programFolder);
    m_folderSource = pictures.bitmap("folder.png");
    if (!m_folderSource.IsOk()) {
        m_folderSource = wxArtProvider::GetBitmap("folder", wxART_OTHER, wxSize(128, 128));
    }
    m_overlay = pictures.bitmap("shortcut overlay.png");
    if (!m_overlay.IsOk()) {
        m_overlay = wxArtProvider::GetBitmap("emblem-symbolic-link", wxART_OTHER,
                                             wxSize(kOverlaySide, kOverlaySide));
    }
    m_overlay =
        m_overlay.IsOk() ? scaled(m_overlay, wxSize(kOverlaySide, kOverlaySide)) : drawnOverlay();
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
    Bind(wxEVT_MOTION, &CImageListCtrl::onMotion, this);
    Bind(wxEVT_KEY_DOWN, &CImageListCtrl::onKeyDown, this);
    Bind(wxEVT_CHAR, &CImageListCtrl::onChar, this);
    Bind(EVT_THUMBNAIL_READY, &CImageListCtrl::onThumbnailReady, this);
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
    m_statusTimer.Stop();
    m_watchTimer.Stop();
    m_watcher.reset();
    m_worker.stop();
    const std::lock_guard<std::mutex> lock(m_worker.mutex());
    m_model.deleteAll();
}

// ---- folder ----------------------------------------------------------------------------

bool CImageListCtrl::browse(const platform::ItemIdList& folder, int source) {
    bool ok = false;
    {
        const wxBusyCursor wait;
        std::unique_lock<std::mutex> lock(m_worker.mutex());
        ok = m_model.browse(folder, source, m_context.showHiddenFiles,
                            [&] { m_worker.clearLocked(lock); });
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
    bool changed = false;
    {
        const std::lock_guard<std::mutex> lock(m_worker.mutex());
        changed = m_model.refresh(m_context.showHiddenFiles);
    }
    if (changed) {
        if (m_anchor >= m_model.count()) {
            m_anchor = -1;
        }
        if (m_labelEdit >= m_model.count()) {
            m_labelEdit = -1;
        }
        updateRows();
        Refresh();
    }
    m_statusTimer.StartOnce(100);
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
    const std::lock_guard<std::mutex> lock(m_worker.mutex());
    return m_worker.idleLocked();
}

void CImageListCtrl::onThumbnailReady(wxThreadEvent& event) {
    const int index = event.GetInt();
    const wxRect rect = itemRect(index);
    if (!rect.IsEmpty()) {
        RefreshRect(rect, false);
    }
}

void CImageListCtrl::requestVisible() {
    const int count = m_model.count();
    if (count == 0 || GetRowCount() == 0) {
        return;
    }
    const GridLayout grid = layout();
    const int first = grid.firstIndexOfRow(static_cast<int>(GetVisibleRowsBegin()));
    const int lastRow = std::max(static_cast<int>(GetVisibleRowsEnd()) - 1, 0);
    const int last = grid.lastIndexOfRow(std::min(lastRow, grid.rows() - 1));
    // Read ahead as far again as the shown range reaches.
    m_worker.requestLocked(first, std::min(2 * last, count - 1));
}

void CImageListCtrl::setThumbSize(int width, int height) {
    const CellGeometry geometry = cellGeometry(width, height);
    if (geometry.boxWidth == m_geometry.boxWidth && geometry.boxHeight == m_geometry.boxHeight) {
        return;
    }
    m_geometry = geometry;
    {
        const std::lock_guard<std::mutex> lock(m_worker.mutex());
        m_worker.setBoxLocked(static_cast<unsigned>(geometry.boxWidth),
                              static_cast<unsigned>(geometry.boxHeight));
    }
    m_cellBitmap = wxBitmap();
    updateRows();
    if (const int selected = m_model.firstSelected(); selected >= 0) {
        ensureVisible(selected);
    }
    Refresh();
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

// ---- drawing ---------------------------------------------------------------------------

const wxBitmap& CImageListCtrl::folderPicture(const wxSize& size) {
    if (!m_folderScaled.IsOk() || m_folderScaled.GetSize() != size) {
        m_folderScaled = scaled(m_folderSource, size);
    }
    return m_folderScaled;
}

void CImageListCtrl::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize client = GetClientSize();
    wxRegion update = GetUpdateRegion();
    if (m_eraseOnce) {
        m_eraseOnce = false;
        update = wxRegion(0, 0, client.x, client.y);
    }
    wxRegion background(0, 0, client.x, client.y);
    background.Intersect(update);

    const bool focused = HasFocus();
    {
        const std::lock_guard<std::mutex> lock(m_worker.mutex());
        const int count = m_model.count();
        if (count > 0) {
            const GridLayout grid = layout();
            const int firstRow = static_cast<int>(GetVisibleRowsBegin());
            const int endRow = std::min(static_cast<int>(GetVisibleRowsEnd()), grid.rows());
            for (int row = firstRow; row < endRow; ++row) {
                for (int i = grid.firstIndexOfRow(row); i <= grid.lastIndexOfRow(row); ++i) {
                    const wxRect rect = itemRect(i);
                    if (update.Contains(rect) == wxOutRegion) {
                        continue;
                    }
                    if (!m_cellBitmap.IsOk()) {
                        m_cellBitmap = wxBitmap(m_geometry.cellWidth, m_geometry.cellHeight);
                    }
                    {
                        wxMemoryDC cell(m_cellBitmap);
                        drawCell(cell, i, focused);
                    }
                    dc.DrawBitmap(m_cellBitmap, rect.GetPosition());
                    background.Subtract(rect);
                }
            }
            requestVisible();
        }
    }
    dc.SetDeviceClippingRegion(background);
    dc.SetBackground(wxBrush(kBackground));
    dc.Clear();
    dc.DestroyClippingRegion();
    if (m_model.count() == 0) {
        drawEmptyText(dc);
    }
}

void CImageListCtrl::drawEmptyText(wxDC& dc) {
    const wxString text = "There are no items in selected folder.";
    dc.SetFont(labelFont());
    dc.SetTextForeground(*wxWHITE);
    const int width = GetClientSize().x;
    // Word-wrapped: words go on a line while they fit.
    wxArrayString lines;
    wxString line;
    for (const wxString& word : wxSplit(text, ' ')) {
        const wxString candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && dc.GetTextExtent(candidate).x > width) {
            lines.Add(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    lines.Add(line);
    int y = 10;
    for (const wxString& l : lines) {
        const wxSize extent = dc.GetTextExtent(l);
        dc.DrawText(l, (width - extent.x) / 2, y);
        y += extent.y;
    }
}

void CImageListCtrl::drawCell(wxDC& dc, int index, bool listFocused) {
    FolderItem& item = *m_model.item(index);
    const CellGeometry& g = m_geometry;
    dc.SetBackground(wxBrush(kBackground));
    dc.Clear();

    const wxColour selection =
        item.selected ? (listFocused ? kSelectedFocused : kSelectedUnfocused) : kBackground;

    // Picture source and its drawn size.
    wxImageList* icons = m_icons.large();
    int sourceWidth = kSystemIconSide;
    int sourceHeight = kSystemIconSide;
    if (icons != nullptr) {
        icons->GetSize(item.iconIndex, sourceWidth, sourceHeight);
    }
    bool withThumbnail = false;
    const bool folderPictureShown = item.browsableFolder && !item.thumbnail;
    if (item.thumbnail) {
        const int w = static_cast<int>(FreeImage_GetWidth(item.thumbnail.get()));
        const int h = static_cast<int>(FreeImage_GetHeight(item.thumbnail.get()));
        if (w > 0 && h > 0) {
            sourceWidth = w;
            sourceHeight = h;
            withThumbnail = true;
        } else {
            item.thumbnail.reset();
        }
    } else if (folderPictureShown && m_folderSource.IsOk()) {
        sourceWidth = m_folderSource.GetWidth();
        sourceHeight = m_folderSource.GetHeight();
    }
    const PictureSize drawn = fitPicture(sourceWidth, sourceHeight, withThumbnail, item.photoWidth,
                                         item.photoHeight, g.boxWidth, g.boxHeight);
    const int areaHeight = g.pictureAreaHeight();
    const wxRect picture((g.cellWidth - drawn.width) / 2, (areaHeight - drawn.height) / 2,
                         drawn.width, drawn.height);
    const int f = frameThickness(std::max(drawn.width, drawn.height));

    dc.SetPen(*wxTRANSPARENT_PEN);
    if (withThumbnail) {
        dc.SetBrush(wxBrush(selection));
        dc.DrawRectangle(picture.Inflate(f + 3, f + 3));
        dc.SetBrush(*wxWHITE_BRUSH);
        dc.DrawRectangle(picture.Inflate(f, f));
        // The image wrapper owns what it holds: it draws a copy of the stored thumbnail.
        fipImage copy;
        copy = FreeImage_Clone(item.thumbnail.get());
        const RGBQUAD white{255, 255, 255, 0};
        drawEx(dc, picture, copy, false, &white, nullptr, StretchMode::Fast);
        // Made for another box size: make it again, showing this one meanwhile.
        if (drawn.width != sourceWidth && !item.thumbnailPending) {
            item.thumbnailPending = true;
            m_worker.requestLocked(index, index);
        }
    } else {
        const wxRect box((g.cellWidth - g.boxWidth) / 2, (areaHeight - g.boxHeight) / 2, g.boxWidth,
                         g.boxHeight);
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.SetPen(wxPen(item.selected ? selection : kBoxOutline, 1));
        dc.DrawRectangle(box.Inflate(f + 3, f + 3));
        if (folderPictureShown && m_folderSource.IsOk()) {
            const wxBitmap& folder = folderPicture(picture.GetSize());
            if (folder.IsOk()) {
                dc.DrawBitmap(folder, picture.GetPosition(), true);
            }
        } else if (icons != nullptr) {
            icons->Draw(item.iconIndex, dc, (g.cellWidth - sourceWidth) / 2,
                        (areaHeight - sourceHeight) / 2, wxIMAGELIST_DRAW_TRANSPARENT);
        }
    }
    if (item.kind == kKindShortcut && m_overlay.IsOk()) {
        dc.DrawBitmap(m_overlay, picture.GetLeft(), picture.GetBottom() + 1 - kOverlaySide, true);
    }

    // The label, unless an editor covers it.
    if (index == m_labelEdit) {
        return;
    }
    dc.SetFont(labelFont());
    const wxString name = wxString::FromUTF8(item.displayName);
    const int textWidth = dc.GetTextExtent(name).x;
    wxRect label(0, g.cellHeight - CellGeometry::kLabelHeight, g.cellWidth,
                 CellGeometry::kLabelHeight);
    if (textWidth + 4 < g.cellWidth) {
        label.width = textWidth + 4;
        label.x = (g.cellWidth - label.width) / 2;
    }
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(selection));
    dc.DrawRectangle(label);
    if (item.focused) {
        dc.SetPen(wxPen(kFocusLight, 1));
        dc.DrawLine(label.GetLeft(), label.GetBottom(), label.GetLeft(), label.GetTop());
        dc.DrawLine(label.GetLeft(), label.GetTop(), label.GetRight(), label.GetTop());
        dc.SetPen(wxPen(*wxBLACK, 1));
        dc.DrawLine(label.GetRight(), label.GetTop(), label.GetRight(), label.GetBottom());
        dc.DrawLine(label.GetRight(), label.GetBottom(), label.GetLeft() - 1, label.GetBottom());
    }
    const wxString shown =
        wxControl::Ellipsize(name, dc, wxELLIPSIZE_END, label.width - 4, wxELLIPSIZE_FLAGS_NONE);
    dc.SetTextForeground(*wxWHITE);
    dc.SetClippingRegion(label);
    dc.DrawLabel(shown, label, wxALIGN_CENTER);
    dc.DestroyClippingRegion();
}

// ---- selection and focus ---------------------------------------------------------------

void CImageListCtrl::selectionChanged() {
    Refresh();
    m_statusTimer.StartOnce(100);
}

void CImageListCtrl::focusChanged(int previous) {
    const int now = m_model.focusedIndex();
    if (now != previous) {
        if (m_onFocusChange) {
            m_onFocusChange(now);
        }
        m_statusTimer.StartOnce(100);
    }
}

void CImageListCtrl::setFocusedItem(int index) {
    const int previous = m_model.focusedIndex();
    m_model.setFocus(index);
    focusChanged(previous);
    Refresh();
}

void CImageListCtrl::selectOnly(int index) {
    if (index < 0 || index >= m_model.count()) {
        return;
    }
    m_model.clearSelection();
    m_model.setSelected(index, true);
    m_anchor = index;
    setFocusedItem(index);
    ensureVisible(index);
    selectionChanged();
}

void CImageListCtrl::selectRange(int from, int to, bool clearOthers) {
    if (clearOthers) {
        m_model.clearSelection();
    }
    for (int i = std::min(from, to); i <= std::max(from, to); ++i) {
        m_model.setSelected(i, true);
    }
}

void CImageListCtrl::selectAll() {
    m_model.selectAll();
    selectionChanged();
}

void CImageListCtrl::selectAllFiles() {
    m_model.selectAllFiles();
    selectionChanged();
}

void CImageListCtrl::selectAllImages() {
    m_model.selectAllImages();
    selectionChanged();
}

void CImageListCtrl::clearSelection() {
    m_model.clearSelection();
    selectionChanged();
}

void CImageListCtrl::invertSelection() {
    m_model.invertSelection();
    selectionChanged();
}

void CImageListCtrl::sortBy(int key) {
    const wxBusyCursor wait;
    {
        const std::lock_guard<std::mutex> lock(m_worker.mutex());
        m_model.sortBy(key);
    }
    m_anchor = m_model.focusedIndex();
    Refresh();
}

void CImageListCtrl::setSortDirection(int direction) {
    const wxBusyCursor wait;
    {
        const std::lock_guard<std::mutex> lock(m_worker.mutex());
        m_model.setSortDirection(direction);
    }
    m_anchor = m_model.focusedIndex();
    Refresh();
}

// ---- opening ---------------------------------------------------------------------------

void CImageListCtrl::openItem(int index) {
    const FolderItem* item = m_model.item(index);
    if (item == nullptr) {
        return;
    }
    if (item->kind != kKindFolder && m_model.targetIsImage(index) &&
        classifyFile(item->targetPath, false, m_model.imageExtensions()) == kKindImage) {
        if (m_onOpen) {
            m_onOpen(index);
        }
        return;
    }
    std::optional<platform::ItemIdList> folder;
    if (item->kind == kKindShortcut && item->browsableFolder) {
        folder = m_context.shell.idFromPath(item->targetPath);
    } else if (item->kind == kKindFolder) {
        folder = item->absoluteId;
    }
    if (folder) {
        if (m_onOpenFolder) {
            m_onOpenFolder(*folder);
        } else {
            browse(*folder, m_model.browseSource());
        }
        return;
    }
    if (item->kind != kKindFolder && !item->path.empty() && m_onLaunch) {
        m_onLaunch(item->path);
    }
}

// ---- mouse -----------------------------------------------------------------------------

void CImageListCtrl::onLeftDown(wxMouseEvent& event) {
    SetFocus();
    const int index = itemAt(event.GetPosition());
    if (index < 0) {
        if (!event.ControlDown() && !event.ShiftDown()) {
            m_model.clearSelection();
            selectionChanged();
        }
        return;
    }
    if (event.ShiftDown()) {
        // From the first selected item before the click to the clicked one.
        const int from = m_model.firstSelected();
        selectRange(from >= 0 ? from : index, index, !event.ControlDown());
        setFocusedItem(index);
        selectionChanged();
    } else if (event.ControlDown()) {
        m_model.setSelected(index, !m_model.item(index)->selected);
        m_anchor = index;
        setFocusedItem(index);
        selectionChanged();
    } else {
        selectOnly(index);
    }
}

void CImageListCtrl::onLeftDoubleClick(wxMouseEvent& event) {
    const int index = itemAt(event.GetPosition());
    if (index >= 0) {
        openItem(index);
    }
}

void CImageListCtrl::onRightDown(wxMouseEvent& event) {
    SetFocus();
    const int index = itemAt(event.GetPosition());
    if (index >= 0 && !m_model.item(index)->selected) {
        selectOnly(index);
    } else if (index >= 0) {
        setFocusedItem(index);
    }
}

wxString CImageListCtrl::infoTip(int index) {
    const std::lock_guard<std::mutex> lock(m_worker.mutex());
    const FolderItem* item = m_model.item(index);
    if (item == nullptr) {
        return {};
    }
    return wxString::FromUTF8(
        infoTipText(*item, m_model.folderPath(), m_model.targetIsImage(index)));
}

void CImageListCtrl::onMotion(wxMouseEvent& event) {
    const int index = itemAt(event.GetPosition());
    if (index != m_tipIndex) {
        m_tipIndex = index;
        if (index >= 0) {
            SetToolTip(infoTip(index));
        } else {
            UnsetToolTip();
        }
    }
    event.Skip();
}

// ---- keyboard --------------------------------------------------------------------------

void CImageListCtrl::moveFocus(int index, bool extend, bool keepSelection) {
    if (index < 0) {
        return;
    }
    if (extend) {
        if (m_anchor < 0 || m_anchor >= m_model.count()) {
            m_anchor = std::max(m_model.focusedIndex(), 0);
        }
        selectRange(m_anchor, index, true);
        setFocusedItem(index);
        ensureVisible(index);
        selectionChanged();
    } else if (keepSelection) {
        setFocusedItem(index);
        ensureVisible(index);
    } else {
        selectOnly(index);
    }
}

void CImageListCtrl::setLabelEditIndex(int index) {
    m_labelEdit = index >= 0 && index < m_model.count() ? index : -1;
    Refresh();
}

void CImageListCtrl::onKeyDown(wxKeyEvent& event) {
    if (m_labelEdit >= 0) {
        event.Skip();
        return;
    }
    const int modifiers = event.GetModifiers();
    const bool ctrl = (modifiers & wxMOD_CONTROL) != 0;
    const bool shift = (modifiers & wxMOD_SHIFT) != 0;
    const int rowsPerPage = std::max(GetClientSize().y / m_geometry.cellHeight, 1);
    NavigationKey key;
    switch (event.GetKeyCode()) {
        case WXK_LEFT:
        case WXK_NUMPAD_LEFT:
            key = NavigationKey::Left;
            break;
        case WXK_RIGHT:
        case WXK_NUMPAD_RIGHT:
            key = NavigationKey::Right;
            break;
        case WXK_UP:
        case WXK_NUMPAD_UP:
            key = NavigationKey::Up;
            break;
        case WXK_DOWN:
        case WXK_NUMPAD_DOWN:
            key = NavigationKey::Down;
            break;
        case WXK_PAGEUP:
        case WXK_NUMPAD_PAGEUP:
            key = NavigationKey::PageUp;
            break;
        case WXK_PAGEDOWN:
        case WXK_NUMPAD_PAGEDOWN:
            key = NavigationKey::PageDown;
            break;
        case WXK_HOME:
        case WXK_NUMPAD_HOME:
            key = NavigationKey::Home;
            break;
        case WXK_END:
        case WXK_NUMPAD_END:
            key = NavigationKey::End;
            break;
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER:
            if (modifiers == wxMOD_NONE) {
                openItem(m_model.focusedIndex());
                return;
            }
            event.Skip();
            return;
        case WXK_NUMPAD_ADD:
            if (modifiers == wxMOD_NONE) {
                setSortDirection(kSortForward);
                return;
            }
            event.Skip();
            return;
        case WXK_NUMPAD_SUBTRACT:
            if (modifiers == wxMOD_NONE) {
                setSortDirection(kSortBackward);
                return;
            }
            event.Skip();
            return;
        case WXK_SPACE:
            if (ctrl) {
                const int focus = m_model.focusedIndex();
                if (focus >= 0) {
                    m_model.setSelected(focus, !m_model.item(focus)->selected);
                    m_anchor = focus;
                    selectionChanged();
                }
                return;
            }
            event.Skip();
            return;
        case 'A':
            if (modifiers == wxMOD_CONTROL) {
                selectAll();
                return;
            }
            event.Skip();
            return;
        default:
            event.Skip();
            return;
    }
    const int target =
        navigate(m_model.focusedIndex(), key, m_model.count(), columns(), rowsPerPage);
    moveFocus(target, shift, ctrl);
}

void CImageListCtrl::onChar(wxKeyEvent& event) {
    const wxChar typed = event.GetUnicodeKey();
    if (m_labelEdit >= 0) {
        event.Skip();
        return;
    }
    if (typed == WXK_NONE || typed < ' ' ||
        (event.GetModifiers() & (wxMOD_CONTROL | wxMOD_ALT)) != 0) {
        event.Skip();
        return;
    }
    const wxString wanted = wxString(typed).Lower();
    const int count = m_model.count();
    const int focus = m_model.focusedIndex();
    for (int step = 1; step <= count; ++step) {
        const int i = (std::max(focus, -1) + step) % count;
        const wxString name = wxString::FromUTF8(m_model.item(i)->displayName);
        if (!name.empty() && wxString(name[0]).Lower() == wanted) {
            selectOnly(i);
            return;
        }
    }
}

void CImageListCtrl::onFocusChanged(wxFocusEvent& event) {
    // The selection colour depends on the keyboard focus.
    Refresh();
    event.Skip();
}

void CImageListCtrl::onStatusTimer(wxTimerEvent&) {
    if (m_onStatus) {
        m_onStatus();
    }
}

}  // namespace tarn
