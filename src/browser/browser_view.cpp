#include "browser/browser_view.h"

namespace tarn {

CBrowserView::CBrowserView(wxWindow* parent, AppContext& context, const CSystemImageLists& icons,
                           const CResourcePictures& pictures)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(200, 200), wxBORDER_NONE) {
    m_title = new CTitle(this, kTitleId, "Folders");
    m_title->SetName("BrowserViewTitle");
    m_folderTree = new CShellTree(this, kFolderTreeId, context, icons);
    // The favorites tree is filled once favorites exist; until then it stays empty.
    m_favoritesTree = new wxTreeCtrl(this, kFavoritesTreeId, wxDefaultPosition, wxDefaultSize,
                                     wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT);
    m_favoritesTree->Hide();
    m_chooser = new CPaneChooseWnd(this, pictures);
    m_chooser->setHandlers([this] { showFolders(); }, [this] { showFavorites(); });
    m_chooser->setFoldersActive(true);
    Bind(wxEVT_SIZE, &CBrowserView::onSize, this);
    Bind(wxEVT_SET_FOCUS, &CBrowserView::onSetFocus, this);
}

void CBrowserView::showFolders() {
    m_favoritesTree->Hide();
    m_folderTree->Show();
    m_title->setText("Folders");
    m_chooser->Show();
    m_chooser->setFoldersActive(true);
    m_folderTree->SetFocus();
}

void CBrowserView::showFavorites() {
    m_folderTree->Hide();
    m_favoritesTree->Show();
    m_title->setText("Favorites");
    m_chooser->Show();
    m_chooser->setFoldersActive(false);
    m_favoritesTree->SetFocus();
}

void CBrowserView::onSize(wxSizeEvent& event) {
    event.Skip();
    const wxSize size = GetClientSize();
    m_title->SetSize(0, 0, size.x, 16);
    const wxRect trees(0, 16, size.x, std::max(0, size.y - 42));
    m_folderTree->SetSize(trees);
    m_favoritesTree->SetSize(trees);
    m_chooser->SetSize(0, size.y - 26, size.x, 26);
}

void CBrowserView::onSetFocus(wxFocusEvent&) {
    if (m_folderTree->IsShown() || !m_favoritesTree->IsShown()) {
        m_folderTree->SetFocus();
    } else {
        m_favoritesTree->SetFocus();
    }
}

}  // namespace tarn
