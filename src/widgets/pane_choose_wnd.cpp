#include "widgets/pane_choose_wnd.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

namespace tarn {

namespace {
const wxColour kStripGrey(237, 237, 237);
}  // namespace

CPaneChooseWnd::CPaneChooseWnd(wxWindow* parent, const CResourcePictures& pictures)
    : wxWindow(parent, kControlId, wxDefaultPosition, wxSize(-1, 27), wxBORDER_NONE,
               "PaneChooseWnd") {
    SetBackgroundColour(kStripGrey);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_folders =
        new CSuperBitmapButton(this, kFoldersButtonId, wxPoint(8, 1), wxSize(67, 24), "FoldersBtn");
    m_folders->setPictures(pictures.bitmap("pane folders.png"),
                           pictures.bitmap("pane folders pressed.png"),
                           pictures.bitmap("pane folders hover.png"), wxBitmap());
    m_favorites = new CSuperBitmapButton(this, kFavoritesButtonId, wxPoint(83, 1), wxSize(76, 24),
                                         "LibraryBtn");
    m_favorites->setPictures(pictures.bitmap("pane favorites.png"),
                             pictures.bitmap("pane favorites pressed.png"),
                             pictures.bitmap("pane favorites hover.png"), wxBitmap());
    Bind(wxEVT_PAINT, &CPaneChooseWnd::onPaint, this);
    Bind(wxEVT_BUTTON, &CPaneChooseWnd::onButton, this);
}

void CPaneChooseWnd::setHandlers(std::function<void()> showFolders,
                                 std::function<void()> showFavorites) {
    m_showFolders = std::move(showFolders);
    m_showFavorites = std::move(showFavorites);
}

void CPaneChooseWnd::setFoldersActive(bool foldersActive) {
    m_folders->setActive(foldersActive);
    m_favorites->setActive(!foldersActive);
}

void CPaneChooseWnd::onButton(wxCommandEvent& event) {
    if (event.GetId() == kFoldersButtonId && m_showFolders) {
        m_showFolders();
    } else if (event.GetId() == kFavoritesButtonId && m_showFavorites) {
        m_showFavorites();
    }
}

void CPaneChooseWnd::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(kStripGrey));
    dc.Clear();
    // The etched line between the buttons: a shadow and a highlight column.
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    dc.DrawLine(78, 1, 78, 25);
    dc.SetPen(wxPen(*wxWHITE));
    dc.DrawLine(79, 1, 79, 25);
}

}  // namespace tarn
