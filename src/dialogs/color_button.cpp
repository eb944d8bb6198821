#include "dialogs/color_button.h"

#include <wx/dcbuffer.h>
#include <wx/renderer.h>
#include <wx/settings.h>

namespace tarn {

wxDEFINE_EVENT(EVT_COLOR_CHANGING, wxCommandEvent);
wxDEFINE_EVENT(EVT_COLOR_POPUP_OPEN, wxCommandEvent);
wxDEFINE_EVENT(EVT_COLOR_POPUP_CLOSED, wxCommandEvent);
wxDEFINE_EVENT(EVT_COLOR_CHOSEN, wxCommandEvent);
wxDEFINE_EVENT(EVT_COLOR_CANCELLED, wxCommandEvent);

namespace {

constexpr int kArrowAreaWidth = 14;

ColorRef fromWx(const wxColour& colour) {
    return makeColorRef(colour.Red(), colour.Green(), colour.Blue());
}

int edgeSize() {
    const int edge = wxSystemSettings::GetMetric(wxSYS_EDGE_X);
    return edge >= 1 && edge <= 4 ? edge : 2;
}

}  // namespace

CColorButton::CColorButton(wxWindow* parent, wxWindowID id, ColorRef colour, const wxPoint& pos,
                           const wxSize& size)
    : m_colour(colour),
      m_defaultColour(fromWx(wxSystemSettings::GetColour(wxSYS_COLOUR_APPWORKSPACE))) {
    Create(parent, id, pos, size, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetInitialSize(size);
    Bind(wxEVT_PAINT, &CColorButton::onPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CColorButton::onLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CColorButton::onLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CColorButton::onLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CColorButton::onCaptureLost, this);
    Bind(wxEVT_KEY_DOWN, &CColorButton::onKeyDown, this);
    Bind(wxEVT_SET_FOCUS, &CColorButton::onFocusChange, this);
    Bind(wxEVT_KILL_FOCUS, &CColorButton::onFocusChange, this);
}

void CColorButton::setColour(ColorRef colour) {
    m_colour = colour;
    Refresh();
}

void CColorButton::setDefaultColour(ColorRef colour) {
    m_defaultColour = colour;
    Refresh();
}

wxSize CColorButton::DoGetBestSize() const {
    return wxSize(56, GetCharHeight() + 14);
}

void CColorButton::openPopup() {
    if (m_popup != nullptr) {
        return;
    }
    m_colourAtOpen = m_colour;
    ColorPopupReports reports;
    reports.changing = [this](ColorRef colour) { popupChanging(colour); };
    reports.chosen = [this](ColorRef colour) { popupChosen(colour); };
    reports.cancelled = [this](ColorRef colour) { popupCancelled(colour); };
    m_popup = new CColorPopup(this, m_colour, m_defaultText, m_customText, std::move(reports),
                              m_colourDialog);
    m_popup->open();
    Refresh();
    notifyParent(EVT_COLOR_POPUP_OPEN, m_colour);
}

void CColorButton::popupChanging(ColorRef colour) {
    if (m_trackSelection) {
        setColour(colour);
    }
    notifyParent(EVT_COLOR_CHANGING, colour);
}

void CColorButton::popupChosen(ColorRef colour) {
    m_popup = nullptr;
    setColour(colour);
    const bool changed = colour != m_colourAtOpen;
    notifyParent(EVT_COLOR_POPUP_CLOSED, colour);
    notifyParent(EVT_COLOR_CHOSEN, colour);
    if (changed) {
        notifyParent(EVT_COLOR_CHANGING, colour);
    }
}

void CColorButton::popupCancelled(ColorRef initial) {
    m_popup = nullptr;
    setColour(initial);
    notifyParent(EVT_COLOR_POPUP_CLOSED, initial);
    notifyParent(EVT_COLOR_CANCELLED, initial);
}

void CColorButton::notifyParent(const wxEventType& type, ColorRef colour) {
    wxWindow* parent = GetParent();
    if (parent == nullptr) {
        return;
    }
    wxCommandEvent event(type, GetId());
    event.SetEventObject(this);
    event.SetExtraLong(static_cast<long>(colour));
    parent->GetEventHandler()->ProcessEvent(event);
}

void CColorButton::onLeftDown(wxMouseEvent&) {
    if (m_popup != nullptr) {
        return;
    }
    SetFocus();
    m_pressed = true;
    if (!HasCapture()) {
        CaptureMouse();
    }
    Refresh();
}

void CColorButton::onLeftUp(wxMouseEvent& event) {
    if (!m_pressed) {
        return;
    }
    m_pressed = false;
    if (HasCapture()) {
        ReleaseMouse();
    }
    Refresh();
    if (wxRect(GetClientSize()).Contains(event.GetPosition())) {
        openPopup();
    }
}

void CColorButton::onCaptureLost(wxMouseCaptureLostEvent&) {
    m_pressed = false;
    Refresh();
}

void CColorButton::onKeyDown(wxKeyEvent& event) {
    // The popup takes no keyboard focus: while it is open the keys stay here and go to it.
    if (m_popup != nullptr) {
        if (!m_popup->handleKey(event.GetKeyCode())) {
            event.Skip();
        }
        return;
    }
    if (event.GetKeyCode() == WXK_SPACE && !event.HasAnyModifiers()) {
        openPopup();
        return;
    }
    event.Skip();
}

void CColorButton::onFocusChange(wxFocusEvent& event) {
    event.Skip();
    Refresh();
}

void CColorButton::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxRect client(GetClientSize());
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
    dc.Clear();

    const bool enabled = IsThisEnabled();
    const bool pushed = m_pressed || m_popup != nullptr;
    int flags = 0;
    if (pushed) {
        flags |= wxCONTROL_PRESSED;
    }
    if (!enabled) {
        flags |= wxCONTROL_DISABLED;
    }
    wxRendererNative::Get().DrawPushButton(this, dc, client, flags);
    if (HasFocus()) {
        wxRendererNative::Get().DrawFocusRect(this, dc, wxRect(client).Deflate(3));
    }

    const int edge = edgeSize();
    const wxPoint offset = pushed ? wxPoint(1, 1) : wxPoint(0, 0);
    // Clear of the focus rectangle, which lies 3 pixels in.
    wxRect inner = wxRect(client).Deflate(edge + 4);
    inner.Offset(offset);

    // The arrow at the right, with an etched line to its left.
    const int arrowCentreX = inner.GetRight() - kArrowAreaWidth / 2 + 1;
    const int arrowCentreY = inner.GetTop() + inner.GetHeight() / 2;
    const wxColour arrowColour =
        enabled ? *wxBLACK : wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
    const wxPoint arrow[] = {{arrowCentreX - 3, arrowCentreY - 1},
                             {arrowCentreX + 3, arrowCentreY - 1},
                             {arrowCentreX, arrowCentreY + 2}};
    dc.SetPen(wxPen(arrowColour));
    dc.SetBrush(wxBrush(arrowColour));
    dc.DrawPolygon(3, arrow);
    const int lineX = inner.GetRight() - kArrowAreaWidth;
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    dc.DrawLine(lineX, inner.GetTop(), lineX, inner.GetBottom() + 1);
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT)));
    dc.DrawLine(lineX + 1, inner.GetTop(), lineX + 1, inner.GetBottom() + 1);

    if (!enabled) {
        return;
    }
    wxRect swatch = inner;
    swatch.SetRight(lineX - edge - 1);
    if (swatch.IsEmpty()) {
        return;
    }
    const ColorRef shown = m_colour == kAutomaticColor ? m_defaultColour : m_colour;
    dc.SetPen(*wxBLACK_PEN);
    dc.SetBrush(wxBrush(toWxColour(shown)));
    dc.DrawRectangle(swatch);
}

}  // namespace tarn
