#pragma once

#include <wx/treectrl.h>
#include <wx/window.h>

#include "app/app_context.h"
#include "app/resource_pictures.h"
#include "app/system_image_lists.h"
#include "browser/shell_tree.h"
#include "widgets/pane_choose_wnd.h"
#include "widgets/title_wnd.h"

namespace tarn {

// The navigation pane: a title strip over the folder tree or the favorites tree, with the
// pane chooser below.
class CBrowserView : public wxWindow {
public:
    static constexpr int kTitleId = 130;
    static constexpr int kFolderTreeId = 137;
    static constexpr int kFavoritesTreeId = 144;

    CBrowserView(wxWindow* parent, AppContext& context, const CSystemImageLists& icons,
                 const CResourcePictures& pictures);

    CShellTree* folderTree() const { return m_folderTree; }
    wxTreeCtrl* favoritesTree() const { return m_favoritesTree; }
    CTitle* title() const { return m_title; }
    CPaneChooseWnd* paneChooser() const { return m_chooser; }

    void showFolders();
    void showFavorites();
    bool foldersShown() const { return m_folderTree->IsShown(); }

private:
    void onSize(wxSizeEvent& event);
    void onSetFocus(wxFocusEvent& event);

    CTitle* m_title;
    CShellTree* m_folderTree;
    wxTreeCtrl* m_favoritesTree;
    CPaneChooseWnd* m_chooser;
};

}  // namespace tarn
