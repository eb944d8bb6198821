// The image view's mouse tools (pan, select, zoom), its selection and the commands on it, the
// clipboard, the mouse pointers and the context menu.
#include <wx/dc.h>
#include <wx/menu.h>

#include <algorithm>
#include <string>

#include "app/app_context.h"
#include "app/resource_pictures.h"
#include "browser/file_clipboard.h"
#include "commands/command_ids.h"
#include "commands/menu_builder.h"
#include "imaging/paste_image.h"
#include "viewer/image_view.h"

namespace tarn {

namespace {

// A picture of more pixels than this is not pasted: it would be cut or scaled down to the open
// image anyway, and decoding it could take gigabytes.
constexpr std::uint64_t kMaxPastePixels = std::uint64_t{1} << 27;

WindowPoint pointOf(const wxMouseEvent& event) {
    return {event.GetX(), event.GetY()};
}

wxRect wxRectOf(const Rect& r) {
    return {r.left, r.top, r.width(), r.height()};
}

wxStockCursor resizeCursorOf(FramePart part) {
    switch (part) {
        case FramePart::TopLeft:
        case FramePart::BottomRight:
            return wxCURSOR_SIZENWSE;
        case FramePart::TopRight:
        case FramePart::BottomLeft:
            return wxCURSOR_SIZENESW;
        case FramePart::Top:
        case FramePart::Bottom:
            return wxCURSOR_SIZENS;
        case FramePart::Left:
        case FramePart::Right:
            return wxCURSOR_SIZEWE;
        default:
            return wxCURSOR_SIZING;
    }
}

// The fixed ratios of the menu, as width and height in portrait.
struct FixedRatioCommand {
    int command;
    int width;
    int height;
};
constexpr FixedRatioCommand kFixedRatios[] = {
    {cmd::kRatio1x1, 1, 1},     {cmd::kRatio1x2, 1, 2},     {cmd::kRatio3x4, 3, 4},
    {cmd::kRatio9x13, 9, 13},   {cmd::kRatio10x15, 10, 15}, {cmd::kRatio13x18, 13, 18},
    {cmd::kRatio20x25, 20, 25},
};

}  // namespace

void CImageView::setUpTools() {
    const SettingsStore& store = m_context.settings;
    m_tool = static_cast<ViewTool>(store.get(settings::kViewTool));
    m_selection.restore(
        static_cast<RatioType>(std::clamp(store.get(settings::kSelType), 0, 2)),
        store.get(settings::kSelRatio),
        static_cast<SelOrientation>(std::clamp(store.get(settings::kSelOrientation), 0, 1)));
    m_backgroundColor = store.color(settings::kImageBkColor).value_or(0);

    const CResourcePictures pictures(m_context.folders.programFolder);
    m_selectCursor = pictures.cursor("cursor select.png", 16, 16, wxCURSOR_CROSS);
    m_panCursor = pictures.cursor("cursor pan.png", 16, 16, wxCURSOR_HAND);
    m_grabCursor = pictures.cursor("cursor pan grab.png", 16, 16, wxCURSOR_HAND);
    m_zoomCursor = pictures.cursor("cursor zoom.png", 12, 12, wxCURSOR_MAGNIFIER);

    Bind(wxEVT_LEFT_DOWN, &CImageView::onLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CImageView::onLeftUp, this);
    Bind(wxEVT_RIGHT_DOWN, &CImageView::onRightDown, this);
    Bind(wxEVT_RIGHT_UP, &CImageView::onRightUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CImageView::onCaptureLost, this);
    Bind(wxEVT_CONTEXT_MENU, &CImageView::onContextMenu, this);
}

void CImageView::writeToolSettings() {
    SettingsStore& store = m_context.settings;
    store.set(settings::kViewTool, static_cast<int>(m_tool));
    store.set(settings::kSelRatio, m_selection.effectiveRatio(m_geometry));
    store.set(settings::kSelType, static_cast<int>(m_selection.ratioType()));
    store.set(settings::kSelOrientation, static_cast<int>(m_selection.orientation()));
    store.setColor(settings::kImageBkColor, m_backgroundColor);
}

void CImageView::addToolCommands() {
    CommandHandlers& c = m_commands;
    const auto always = CommandHandlers::always;
    const auto open = [this] { return hasImage(); };
    const auto selected = [this] { return hasSelection(); };
    const auto tool = [this, always](int command, ViewTool which) {
        m_commands.add(
            command, always, [this, which] { return m_tool == which; },
            [this, which] { setTool(which); });
    };
    // Every ratio command repaints the frame it may have changed.
    const auto ratio = [this, always](int command, std::function<bool()> checked,
                                      std::function<void()> act) {
        m_commands.add(command, always, std::move(checked), [this, act = std::move(act)] {
            act();
            selectionChanged();
        });
    };
    const auto isType = [this](RatioType type) {
        return [this, type] { return m_selection.ratioType() == type; };
    };
    const auto isOrientation = [this](SelOrientation o) {
        return [this, o] { return m_selection.orientation() == o; };
    };

    tool(cmd::kPanTool, ViewTool::Pan);
    tool(cmd::kSelectTool, ViewTool::Select);
    tool(cmd::kZoomTool, ViewTool::Zoom);
    c.add(cmd::kSelectAll, open, [this] { selectAll(); });
    c.add(cmd::kClearSelection, selected, [this] { clearSelection(); });
    c.add(cmd::kCopy, open, [this] { copy(); });
    c.add(cmd::kCut, selected, [this] { cut(); });
    c.add(
        cmd::kPaste, [this] { return canPaste(); }, [this] { paste(); });
    ratio(cmd::kRatioFree, isType(RatioType::Free),
          [this] { m_selection.setRatio(0, RatioType::Free, m_geometry); });
    ratio(cmd::kRatioSameAsImage, isType(RatioType::SameAsImage),
          [this] { m_selection.setSameAsImage(m_geometry); });
    for (const FixedRatioCommand& r : kFixedRatios) {
        ratio(
            r.command, [this, r] { return m_selection.isFixedRatio(r.width, r.height); },
            [this, r] {
                m_selection.setRatio(fixedRatio(r.width, r.height, m_selection.orientation()),
                                     RatioType::Fixed, m_geometry);
            });
    }
    ratio(cmd::kRatioPortrait, isOrientation(SelOrientation::Portrait),
          [this] { m_selection.setOrientation(SelOrientation::Portrait, m_geometry); });
    ratio(cmd::kRatioLandscape, isOrientation(SelOrientation::Landscape),
          [this] { m_selection.setOrientation(SelOrientation::Landscape, m_geometry); });
}

// ---- selection -------------------------------------------------------------------------

void CImageView::setTool(ViewTool tool) {
    m_tool = tool;
}

void CImageView::selectionChanged() {
    Refresh(false);
    Update();
    m_host.refreshStatus();
}

void CImageView::selectAll() {
    m_selection.selectAll(m_geometry);
    selectionChanged();
}

void CImageView::clearSelection() {
    m_selection.clear();
    selectionChanged();
}

void CImageView::paintSelection(wxDC& dc) const {
    if (!hasSelection()) {
        return;
    }
    const Rect frame = m_geometry.imageToWindow(m_selection.rect());
    if (frame.empty()) {
        return;
    }
    // Dark and light lines side by side show on any picture.
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(*wxBLACK, 1));
    dc.DrawRectangle(wxRectOf(frame));
    if (frame.width() > 2 && frame.height() > 2) {
        dc.SetPen(wxPen(*wxWHITE, 1));
        dc.DrawRectangle(
            wxRectOf({frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1}));
    }
    dc.SetPen(wxPen(*wxBLACK, 1));
    dc.SetBrush(*wxWHITE_BRUSH);
    for (int part = 0; part < 8; ++part) {
        dc.DrawRectangle(wxRectOf(handleRect(frame, static_cast<FramePart>(part))));
    }
}

// ---- clipboard -------------------------------------------------------------------------

void CImageView::copy() {
    const fipSuperImage* image = m_document.image();
    if (image == nullptr) {
        return;
    }
    if (!hasSelection()) {
        putImageOnClipboard(*image);
        return;
    }
    const Rect& r = m_selection.rect();
    fipImage piece;
    if (image->copySubImage(piece, r.left, r.top, r.right, r.bottom)) {
        putImageOnClipboard(piece);
    }
}

void CImageView::cut() {
    if (!hasSelection()) {
        return;
    }
    const Rect r = m_selection.rect();
    // The picture is cleared only once its piece is safely on the clipboard.
    fipImage piece;
    if (m_document.image()->copySubImage(piece, r.left, r.top, r.right, r.bottom) &&
        putImageOnClipboard(piece)) {
        clearSelectedArea();
    }
}

bool CImageView::canPaste() const {
    return clipboardHasImage();
}

void CImageView::paste() {
    if (!hasImage()) {
        return;
    }
    const ClipboardPicture picture = imageFromClipboard(kMaxPastePixels);
    if (picture.tooLarge) {
        m_prompts.warn("The picture on the clipboard is too large to paste (" +
                       std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                       ").");
        return;
    }
    if (!picture.image.isValid()) {
        return;
    }
    const std::optional<Rect> area =
        hasSelection() ? std::optional<Rect>(m_selection.rect()) : std::nullopt;
    edit([&picture, area](fipSuperImage& image) {
        return pasteImage(image, picture.image, area ? &*area : nullptr);
    });
}

// ---- mouse -----------------------------------------------------------------------------

void CImageView::onLeftDown(wxMouseEvent& event) {
    SetFocus();
    if (!hasImage()) {
        return;
    }
    const WindowPoint point = pointOf(event);
    m_leftDown = true;
    m_leftPress = point;
    m_lastPoint = point;
    if (!HasCapture()) {
        CaptureMouse();
    }
    if (m_tool == ViewTool::Select) {
        m_selection.press(point, m_geometry);
    }
}

void CImageView::toolMotion(WindowPoint point) {
    const WindowPoint last = m_lastPoint;
    m_lastPoint = point;
    if (!m_leftDown || !hasImage()) {
        return;
    }
    if (m_tool == ViewTool::Select) {
        if (m_selection.drag(point, m_geometry)) {
            selectionChanged();
        }
    } else if (m_tool == ViewTool::Pan) {
        if (panBy(m_geometry, point.x - last.x, point.y - last.y)) {
            applyScrollBars();
            Refresh(false);
            Update();
        }
    }
}

void CImageView::onLeftUp(wxMouseEvent& event) {
    if (HasCapture()) {
        ReleaseMouse();
    }
    if (!m_leftDown) {
        return;
    }
    m_leftDown = false;
    if (!hasImage()) {
        return;
    }
    if (m_tool == ViewTool::Select) {
        if (m_selection.release(pointOf(event))) {
            selectionChanged();
        }
    } else if (m_tool == ViewTool::Zoom && zoomAtPoint(m_geometry, m_leftPress, true)) {
        zoomChanged();
    }
}

void CImageView::onRightDown(wxMouseEvent& event) {
    m_rightDown = true;
    m_rightPress = pointOf(event);
    event.Skip();  // the toolkit makes the context-menu request from it
}

void CImageView::onRightUp(wxMouseEvent& event) {
    event.Skip();
    if (!m_rightDown) {
        return;
    }
    m_rightDown = false;
    if (hasImage() && m_tool == ViewTool::Zoom && zoomAtPoint(m_geometry, m_rightPress, false)) {
        zoomChanged();
    }
}

void CImageView::onCaptureLost(wxMouseCaptureLostEvent&) {
    m_leftDown = false;
}

void CImageView::onContextMenu(wxContextMenuEvent& event) {
    wxPoint at = event.GetPosition();
    at = at == wxDefaultPosition ? ScreenToClient(wxGetMousePosition()) : ScreenToClient(at);
    if (m_tool == ViewTool::Zoom && hasImage() &&
        contains(m_geometry.displayedImage(), {at.x, at.y})) {
        return;  // the zoom tool's right click zooms out instead
    }
    // The cursor shows while the menu is open, and the quick slide show waits for it.
    const bool quickSlide = m_quickSlideTimer.IsRunning();
    m_quickSlideTimer.Stop();
    m_cursorTimer.Stop();
    if (m_cursorHidden) {
        m_cursorHidden = false;
        SetCursor(wxNullCursor);
    }
    m_menuShowing = true;
    const std::unique_ptr<wxMenu> menu(buildContextMenu(MenuId::ImageView));
    PopupMenu(menu.get(), at);
    m_menuShowing = false;
    if (m_fullScreen) {
        m_cursorTimer.StartOnce(kCursorHideMilliseconds);
    }
    if (quickSlide) {
        m_quickSlideTimer.StartOnce(kQuickSlideMilliseconds);
    }
}

wxCursor CImageView::cursorAt(WindowPoint point) const {
    if (m_menuShowing || !hasImage()) {
        return wxNullCursor;
    }
    switch (m_tool) {
        case ViewTool::Pan:
            if (m_geometry.displayWidth() <= m_geometry.clientWidth() &&
                m_geometry.displayHeight() <= m_geometry.clientHeight()) {
                return wxNullCursor;
            }
            return m_leftDown ? m_grabCursor : m_panCursor;
        case ViewTool::Select: {
            const FramePart part =
                m_leftDown ? m_selection.grabbed()
                           : hitTestFrame(m_geometry.imageToWindow(m_selection.rect()), point);
            return part == FramePart::None ? m_selectCursor : wxCursor(resizeCursorOf(part));
        }
        case ViewTool::Zoom:
            return contains(m_geometry.displayedImage(), point) ? m_zoomCursor : wxNullCursor;
    }
    return wxNullCursor;
}

}  // namespace tarn
