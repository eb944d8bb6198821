#include "dialogs/color_popup.h"

#include <wx/app.h>
#include <wx/colordlg.h>
#include <wx/dcbuffer.h>
#include <wx/display.h>
#include <wx/settings.h>

namespace tarn {

namespace {

wxColour systemColour(wxSystemColour which) {
    return wxSystemSettings::GetColour(which);
}

wxRect toWx(const PopupRect& rect) {
    return wxRect(rect.x, rect.y, rect.width, rect.height);
}

// A two-pixel 3-D edge: light at the top and left when raised, at the bottom and right when
// sunken.
void drawEdge(wxDC& dc, const wxRect& rect, bool raised) {
    const wxColour light = systemColour(wxSYS_COLOUR_BTNHIGHLIGHT);
    const wxColour dark = systemColour(wxSYS_COLOUR_3DDKSHADOW);
    const wxColour shadow = systemColour(wxSYS_COLOUR_BTNSHADOW);
    const auto frame = [&dc](const wxRect& box, const wxColour& topLeft,
                             const wxColour& bottomRight) {
        dc.SetPen(wxPen(topLeft));
        dc.DrawLine(box.GetLeft(), box.GetBottom(), box.GetLeft(), box.GetTop());
        dc.DrawLine(box.GetLeft(), box.GetTop(), box.GetRight(), box.GetTop());
        dc.SetPen(wxPen(bottomRight));
        dc.DrawLine(box.GetRight(), box.GetTop(), box.GetRight(), box.GetBottom());
        dc.DrawLine(box.GetRight(), box.GetBottom(), box.GetLeft() - 1, box.GetBottom());
    };
    if (raised) {
        frame(rect, light, dark);
        frame(wxRect(rect).Deflate(1), light, shadow);
    } else {
        frame(rect, shadow, light);
        frame(wxRect(rect).Deflate(1), dark, light);
    }
}

int edgeWidth() {
    const int edge = wxSystemSettings::GetMetric(wxSYS_EDGE_X);
    // Cells of 18 pixels hold a swatch only for edges up to 5 pixels.
    return edge >= 1 && edge <= (kPaletteCellSize - 7) / 2 ? edge : 2;
}

wxRect screenAround(const wxWindow* window) {
    const int display = wxDisplay::GetFromWindow(window);
    return wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetClientArea();
}

}  // namespace

std::optional<ColorRef> runColourDialog(wxWindow* parent, ColorRef initial) {
    wxColourData data;
    data.SetChooseFull(true);
    if (initial != kAutomaticColor) {
        data.SetColour(toWxColour(initial));
    }
    wxColourDialog dialog(parent, &data);
    if (dialog.ShowModal() != wxID_OK) {
        return std::nullopt;
    }
    const wxColour picked = dialog.GetColourData().GetColour();
    return makeColorRef(picked.Red(), picked.Green(), picked.Blue());
}

CColorPopup::CColorPopup(wxWindow* button, ColorRef initial, const std::string& defaultText,
                         const std::string& customText, ColorPopupReports reports,
                         ColourDialogRunner colourDialog)
    : wxPopupWindow(button, wxBORDER_NONE),
      m_button(button),
      m_initial(initial),
      m_defaultText(wxString::FromUTF8(defaultText)),
      m_customText(wxString::FromUTF8(customText)),
      m_reports(std::move(reports)),
      m_colourDialog(colourDialog ? std::move(colourDialog) : ColourDialogRunner(runColourDialog)),
      m_font(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT)) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    const PopupEntries entries{!m_defaultText.empty(), !m_customText.empty()};
    const auto extent = [this](const wxString& text) {
        TextExtent size;
        if (!text.empty()) {
            GetTextExtent(text, &size.width, &size.height, nullptr, nullptr, &m_font);
        }
        return size;
    };
    m_layout = layoutPopup(edgeWidth(), extent(m_defaultText), extent(m_customText), entries);
    m_chosen = initialChosenIndex(initial, entries);
    SetClientSize(m_layout.window.width, m_layout.window.height);

    Bind(wxEVT_PAINT, &CColorPopup::onPaint, this);
    Bind(wxEVT_MOTION, &CColorPopup::onMotion, this);
    Bind(wxEVT_LEFT_UP, &CColorPopup::onLeftUp, this);
    Bind(wxEVT_KEY_DOWN, &CColorPopup::onKeyDown, this);
    Bind(wxEVT_CHAR_HOOK, &CColorPopup::onKeyDown, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CColorPopup::onCaptureLost, this);
    Bind(wxEVT_SYS_COLOUR_CHANGED, &CColorPopup::onSysColourChanged, this);
}

CColorPopup::~CColorPopup() {
    if (HasCapture()) {
        ReleaseMouse();
    }
    if (wxTheApp != nullptr) {
        wxTheApp->Unbind(wxEVT_ACTIVATE_APP, &CColorPopup::onAppActivate, this);
    }
}

void CColorPopup::open() {
    const wxRect button = m_button->GetScreenRect();
    const wxRect screen = screenAround(m_button);
    const PopupPlacement at =
        placePopup({button.x, button.y, button.width, button.height}, m_layout.window.width,
                   m_layout.window.height, {screen.x, screen.y, screen.width, screen.height});
    Move(at.x, at.y);
    Show();
    CaptureMouse();
    wxTheApp->Bind(wxEVT_ACTIVATE_APP, &CColorPopup::onAppActivate, this);
}

bool CColorPopup::handleKey(int keyCode) {
    if (m_finished || m_inDialog) {
        return false;
    }
    const PopupEntries entries{!m_layout.automaticEntry.empty(), !m_layout.moreColorsEntry.empty()};
    const int from = m_hovered != kNoEntry ? m_hovered : m_chosen;
    switch (keyCode) {
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER:
        case WXK_SPACE:
            choose(m_hovered);
            return true;
        case WXK_ESCAPE:
            finish(std::nullopt);
            return true;
        case WXK_LEFT:
            setHovered(navigateEntry(from, ArrowKey::Left, entries));
            return true;
        case WXK_RIGHT:
            setHovered(navigateEntry(from, ArrowKey::Right, entries));
            return true;
        case WXK_UP:
            setHovered(navigateEntry(from, ArrowKey::Up, entries));
            return true;
        case WXK_DOWN:
            setHovered(navigateEntry(from, ArrowKey::Down, entries));
            return true;
        default:
            return false;
    }
}

void CColorPopup::onKeyDown(wxKeyEvent& event) {
    if (!handleKey(event.GetKeyCode())) {
        event.Skip();
    }
}

void CColorPopup::onMotion(wxMouseEvent& event) {
    const int at = m_layout.hitTest(event.GetX(), event.GetY());
    if (at != kNoEntry) {
        setHovered(at);
    }
}

void CColorPopup::onLeftUp(wxMouseEvent& event) {
    if (m_finished || m_inDialog) {
        return;
    }
    if (!m_layout.window.contains(event.GetX(), event.GetY())) {
        finish(std::nullopt);
        return;
    }
    const int at = m_layout.hitTest(event.GetX(), event.GetY());
    if (at != kNoEntry) {
        setHovered(at);
    }
    choose(m_hovered);
}

void CColorPopup::onCaptureLost(wxMouseCaptureLostEvent&) {
    if (!m_inDialog) {
        finish(std::nullopt);
    }
}

void CColorPopup::onAppActivate(wxActivateEvent& event) {
    event.Skip();
    if (!event.GetActive() && !m_inDialog) {
        finish(std::nullopt);
    }
}

void CColorPopup::onSysColourChanged(wxSysColourChangedEvent& event) {
    event.Skip();
    Refresh();
}

void CColorPopup::setHovered(int index) {
    if (index == m_hovered || m_finished) {
        return;
    }
    m_hovered = index;
    if (index >= 0 && index < kPaletteSize) {
        SetToolTip(wxString::FromUTF8(colorPalette()[index].name.data(),
                                      colorPalette()[index].name.size()));
    } else {
        UnsetToolTip();
    }
    Refresh();
    if (m_reports.changing) {
        m_reports.changing(hoveredColour(index, m_initial));
    }
}

void CColorPopup::choose(int index) {
    if (index >= 0 && index < kPaletteSize) {
        finish(colorPalette()[index].colour);
    } else if (index == kAutomaticEntry) {
        finish(kAutomaticColor);
    } else if (index == kMoreColorsEntry) {
        // The dialog takes the mouse and the keyboard while it is up.
        m_inDialog = true;
        if (HasCapture()) {
            ReleaseMouse();
        }
        Hide();
        const std::optional<ColorRef> picked = m_colourDialog(m_button, m_initial);
        m_inDialog = false;
        finish(picked);
    } else {
        finish(std::nullopt);
    }
}

void CColorPopup::finish(std::optional<ColorRef> chosen) {
    if (m_finished) {
        return;
    }
    m_finished = true;
    if (HasCapture()) {
        ReleaseMouse();
    }
    wxTheApp->Unbind(wxEVT_ACTIVATE_APP, &CColorPopup::onAppActivate, this);
    Hide();
    // Deleted later from the button's queue, which goes with the button: the report may
    // destroy the button and this popup with it, so nothing of this object is touched after it.
    m_button->CallAfter([popup = this] { popup->Destroy(); });
    const ColorPopupReports reports = m_reports;
    if (chosen) {
        if (reports.chosen) {
            reports.chosen(*chosen);
        }
    } else if (reports.cancelled) {
        reports.cancelled(m_initial);
    }
}

void CColorPopup::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(systemColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    dc.SetFont(m_font);
    for (int i = 0; i < kPaletteSize; ++i) {
        drawCell(dc, i);
    }
    if (!m_layout.automaticEntry.empty()) {
        drawTextEntry(dc, m_layout.automaticEntry, m_defaultText, kAutomaticEntry);
    }
    if (!m_layout.moreColorsEntry.empty()) {
        drawTextEntry(dc, m_layout.moreColorsEntry, m_customText, kMoreColorsEntry);
    }
    drawEdge(dc, wxRect(GetClientSize()), true);
}

void CColorPopup::drawEntryFrame(wxDC& dc, const PopupRect& rect, int index) const {
    const wxRect box = toWx(rect);
    if (index == m_hovered) {
        drawEdge(dc, box, true);
    } else if (index == m_chosen) {
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(systemColour(wxSYS_COLOUR_3DLIGHT)));
        dc.DrawRectangle(box);
        drawEdge(dc, box, false);
    }
}

void CColorPopup::drawCell(wxDC& dc, int index) const {
    const PopupRect cell = m_layout.cell(index);
    drawEntryFrame(dc, cell, index);
    const wxRect swatch = toWx(cell).Deflate(m_layout.margin + 1);
    dc.SetPen(wxPen(systemColour(wxSYS_COLOUR_BTNSHADOW)));
    dc.SetBrush(wxBrush(toWxColour(colorPalette()[index].colour)));
    dc.DrawRectangle(swatch);
}

void CColorPopup::drawTextEntry(wxDC& dc, const PopupRect& rect, const wxString& text,
                                int index) const {
    drawEntryFrame(dc, rect, index);
    const wxRect box = toWx(rect);
    if (index == kAutomaticEntry) {
        dc.SetPen(wxPen(systemColour(wxSYS_COLOUR_BTNSHADOW)));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(wxRect(box).Deflate(m_layout.margin + 1));
    }
    dc.SetTextForeground(systemColour(wxSYS_COLOUR_BTNTEXT));
    dc.DrawLabel(text, box, wxALIGN_CENTER);
}

}  // namespace tarn
