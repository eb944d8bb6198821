#include "slideshow/slide_view.h"

#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include <optional>
#include <vector>

#include "browser/folder_model.h"
#include "imaging/image_draw.h"
#include "slideshow/slide_layout.h"
#include "slideshow/slide_tool_bar.h"
#include "viewer/image_loading.h"

namespace tarn {

namespace {

wxDEFINE_EVENT(EVT_SLIDE_PRELOADED, wxThreadEvent);

constexpr int kPointerTimerId = 1;
constexpr int kAdvanceTimerId = 2;
const char* const kNoImageText = "No image available.";

// Breaks text into lines no wider than width, at spaces; a single long word keeps its line.
std::vector<wxString> wrapText(wxDC& dc, const wxString& text, int width) {
    std::vector<wxString> lines;
    wxString line;
    for (const wxString& word : wxSplit(text, ' ', '\0')) {
        const wxString candidate = line.empty() ? word : line + ' ' + word;
        if (!line.empty() && dc.GetTextExtent(candidate).x > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

CSlideView::CSlideView(wxWindow* parent, const CResourcePictures& pictures)
    : wxWindow(parent, kControlId, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxWANTS_CHARS,
               "SlideView") {
    SetBackgroundColour(*wxBLACK);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_strip = new CSlideToolBar(this, pictures);
    m_strip->Hide();
    m_strip->setHandler([this](int id) { onStripButton(id); });
    m_pointerTimer.SetOwner(this, kPointerTimerId);
    m_advanceTimer.SetOwner(this, kAdvanceTimerId);
    Bind(wxEVT_TIMER, &CSlideView::onPointerTimer, this, kPointerTimerId);
    Bind(wxEVT_TIMER, &CSlideView::onAdvanceTimer, this, kAdvanceTimerId);
    Bind(EVT_SLIDE_PRELOADED, &CSlideView::onPreloaded, this);
    Bind(wxEVT_PAINT, &CSlideView::onPaint, this);
    Bind(wxEVT_SIZE, &CSlideView::onSize, this);
    Bind(wxEVT_MOTION, &CSlideView::onMotion, this);
    Bind(wxEVT_SET_CURSOR, &CSlideView::onSetCursor, this);
}

CSlideView::~CSlideView() {
    m_pointerTimer.Stop();
    m_advanceTimer.Stop();
    // The loader posts to this window: it must be done before the window goes.
    m_prefetch.wait();
}

bool CSlideView::start(int index) {
    if (m_running) {
        return m_image != nullptr;
    }
    const wxBusyCursor wait;
    m_running = true;
    m_playing = false;
    return loadImage(index);
}

void CSlideView::run() {
    if (!m_running) {
        return;
    }
    m_lastMouse = ScreenToClient(wxGetMousePosition());
    showPointer();
    m_pointerTimer.Start(kPointerHideMilliseconds);
    play();
}

void CSlideView::stop() {
    if (!m_running) {
        return;
    }
    m_running = false;
    m_pointerTimer.Stop();
    m_advanceTimer.Stop();
    m_playing = false;
    m_image.reset();
    m_scaled = wxBitmap();
    m_pageCount = 0;
    // Refused while the loader still reads; its completion message discards it then.
    m_prefetch.discard();
    m_strip->Hide();
    m_pointerHidden = false;
    SetCursor(wxNullCursor);
}

// --- Moving through the folder ---

std::string CSlideView::loadPath(const FolderItem& item) const {
    // A shortcut shows the image it leads to.
    return item.targetPath.empty() ? item.path : item.targetPath;
}

int CSlideView::anchorIndex() const {
    if (m_folder == nullptr || m_itemPath.empty()) {
        return m_index;
    }
    const FolderItem* at = m_folder->item(m_index);
    if (at != nullptr && at->path == m_itemPath) {
        return m_index;
    }
    for (int i = 0; i < m_folder->count(); ++i) {
        if (m_folder->item(i)->path == m_itemPath) {
            return i;
        }
    }
    return -1;
}

bool CSlideView::canNext() const {
    if (m_folder == nullptr) {
        return false;
    }
    const int at = anchorIndex();
    // The current file is gone: whatever took its place comes next.
    return m_folder->nextImage(at >= 0 ? at : std::min(m_index, m_folder->count()) - 1) >= 0;
}

bool CSlideView::canPrevious() const {
    if (m_folder == nullptr) {
        return false;
    }
    const int at = anchorIndex();
    return m_folder->previousImage(at >= 0 ? at : std::min(m_index, m_folder->count())) >= 0;
}

void CSlideView::next() {
    if (!m_running || !canNext()) {
        return;
    }
    const int at = anchorIndex();
    const int target = m_folder->nextImage(at >= 0 ? at : std::min(m_index, m_folder->count()) - 1);
    // A hidden pointer stays hidden: the wait cursor would bring it back for a moment.
    std::optional<wxBusyCursor> wait;
    if (!m_pointerHidden) {
        wait.emplace();
    }
    if (m_playing) {
        restartAdvance();
    }
    loadImage(target);
    Refresh();
}

void CSlideView::previous() {
    if (!m_running || !canPrevious()) {
        return;
    }
    const int at = anchorIndex();
    const int target = m_folder->previousImage(at >= 0 ? at : std::min(m_index, m_folder->count()));
    std::optional<wxBusyCursor> wait;
    if (!m_pointerHidden) {
        wait.emplace();
    }
    if (m_playing) {
        restartAdvance();
    }
    // The slide being left is the next one again: keep it so that going forward is immediate.
    if (m_image != nullptr && !m_prefetch.loading()) {
        m_prefetch.keep(m_path, m_page, m_pageCount, std::move(m_image));
    }
    loadImage(target);
    Refresh();
}

bool CSlideView::loadImage(int index) {
    m_image.reset();
    m_scaled = wxBitmap();
    m_pageCount = 0;
    m_index = index;
    m_page = 0;
    const FolderItem* item = m_folder != nullptr ? m_folder->item(index) : nullptr;
    m_itemPath = item != nullptr ? item->path : std::string();
    m_path = item != nullptr ? loadPath(*item) : std::string();
    if (!m_path.empty()) {
        std::optional<LoadedImage> loaded = m_prefetch.take(m_path, m_page);
        // A file the read-ahead could not read is read once more: it may have been written since.
        if (!loaded || !loaded->image) {
            loaded = loadImageFile(m_path, m_page);
        }
        m_image = std::move(loaded->image);
        m_pageCount = loaded->pageCount;
    }
    preloadNext();
    return m_image != nullptr;
}

void CSlideView::preloadNext() {
    if (m_folder == nullptr) {
        return;
    }
    const FolderItem* next = m_folder->item(m_folder->nextImage(m_index));
    if (next == nullptr || loadPath(*next).empty()) {
        return;
    }
    // The loader thread only posts; the message is handled here on the user-interface thread.
    m_prefetch.preload(loadPath(*next), 0,
                       [this] { wxQueueEvent(this, new wxThreadEvent(EVT_SLIDE_PRELOADED)); });
}

void CSlideView::onPreloaded(wxThreadEvent&) {
    if (!m_running) {
        m_prefetch.discard();
    }
}

// --- Playing ---

void CSlideView::play() {
    if (m_playing || !m_running) {
        return;
    }
    m_playing = true;
    m_advanceTimer.Start(kAdvanceMilliseconds, wxTIMER_ONE_SHOT);
    m_strip->showPlaying(true);
}

void CSlideView::pause() {
    if (!m_playing) {
        return;
    }
    m_playing = false;
    m_advanceTimer.Stop();
    m_strip->showPlaying(false);
}

void CSlideView::restartAdvance() {
    m_advanceTimer.Start(kAdvanceMilliseconds, wxTIMER_ONE_SHOT);
}

void CSlideView::onAdvanceTimer(wxTimerEvent&) {
    m_advanceTimer.Stop();
    m_playing = false;
    if (!m_running) {
        return;
    }
    if (!canNext()) {
        // The show stays on the last image, paused.
        m_strip->showPlaying(false);
        return;
    }
    next();
    m_playing = true;
    restartAdvance();
}

// --- Pointer and strip ---

void CSlideView::showPointer() {
    m_pointerHidden = false;
    SetCursor(wxNullCursor);
    placeStrip();
    m_strip->Show();
    m_strip->Raise();
}

void CSlideView::placeStrip() {
    const wxSize area = GetClientSize();
    const SlideRect r = slideStripRect(area.x, area.y);
    m_strip->SetSize(r.x, r.y, r.width, r.height);
}

void CSlideView::onPointerTimer(wxTimerEvent&) {
    if (!m_running) {
        m_pointerTimer.Stop();
        return;
    }
    // The pointer resting on the strip keeps both; the timer asks again later.
    if (m_strip->IsShown() && m_strip->GetScreenRect().Contains(wxGetMousePosition())) {
        return;
    }
    m_pointerTimer.Stop();
    m_pointerHidden = true;
    m_strip->Hide();
    SetCursor(wxCursor(wxCURSOR_BLANK));
}

void CSlideView::onMotion(wxMouseEvent& event) {
    event.Skip();
    const wxPoint position = event.GetPosition();
    if (position == m_lastMouse) {
        return;
    }
    m_lastMouse = position;
    if (!m_running) {
        return;
    }
    if (m_pointerHidden) {
        showPointer();
    }
    m_pointerTimer.Start(kPointerHideMilliseconds);
}

void CSlideView::onSetCursor(wxSetCursorEvent& event) {
    if (m_pointerHidden) {
        event.SetCursor(wxCursor(wxCURSOR_BLANK));
    } else {
        event.Skip();
    }
}

void CSlideView::onStripButton(int id) {
    switch (id) {
        case CSlideToolBar::kPlayId:
            play();
            break;
        case CSlideToolBar::kPauseId:
            pause();
            break;
        case CSlideToolBar::kPreviousId:
            previous();
            break;
        case CSlideToolBar::kNextId:
            next();
            break;
        case CSlideToolBar::kExitId:
            if (m_onExit) {
                m_onExit();
            } else {
                stop();
            }
            break;
        default:
            break;
    }
}

// --- Drawing ---

void CSlideView::onSize(wxSizeEvent& event) {
    event.Skip();
    placeStrip();
    Refresh();
}

void CSlideView::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    drawSlide(dc, GetClientSize());
}

void CSlideView::drawSlide(wxDC& dc, const wxSize& area) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(*wxBLACK_BRUSH);
    const SlideRect r = m_image != nullptr
                            ? fitSlide(static_cast<int>(m_image->getWidth()),
                                       static_cast<int>(m_image->getHeight()), area.x, area.y)
                            : SlideRect{};
    if (r.width <= 0 || r.height <= 0) {
        dc.DrawRectangle(0, 0, area.x, area.y);
        if (m_image == nullptr) {
            dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
            dc.SetTextForeground(*wxWHITE);
            dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
            const std::vector<wxString> lines = wrapText(dc, kNoImageText, area.x);
            const int lineHeight = dc.GetCharHeight();
            int y = (area.y - lineHeight * static_cast<int>(lines.size())) / 2;
            for (const wxString& line : lines) {
                dc.DrawText(line, (area.x - dc.GetTextExtent(line).x) / 2, y);
                y += lineHeight;
            }
        }
        return;
    }
    // Scaling a large photo takes a while; strip and pointer changes repaint from the copy.
    const wxSize size(r.width, r.height);
    if (!m_scaled.IsOk() || m_scaledFor != size) {
        wxBitmap scaled(size, 24);
        {
            wxMemoryDC memory(scaled);
            memory.SetBackground(*wxBLACK_BRUSH);
            memory.Clear();
            drawEx(memory, wxRect(size), *m_image, true, nullptr, nullptr, StretchMode::Quality);
        }
        m_scaled = scaled;
        m_scaledFor = size;
    }
    dc.DrawBitmap(m_scaled, r.x, r.y, false);
    // The four bands around it.
    dc.DrawRectangle(0, 0, area.x, r.y);
    dc.DrawRectangle(0, r.y + r.height, area.x, area.y - r.y - r.height);
    dc.DrawRectangle(0, r.y, r.x, r.height);
    dc.DrawRectangle(r.x + r.width, r.y, area.x - r.x - r.width, r.height);
}

}  // namespace tarn
