#pragma once

#include <wx/window.h>

#include <functional>

#include "app/resource_pictures.h"
#include "widgets/super_bitmap_button.h"

namespace tarn {

// The strip above the navigation trees with the Folders and Favorites buttons.
class CPaneChooseWnd : public wxWindow {
public:
    static constexpr int kControlId = 131;
    static constexpr int kFoldersButtonId = 1;
    static constexpr int kFavoritesButtonId = 2;

    CPaneChooseWnd(wxWindow* parent, const CResourcePictures& pictures);

    // What the buttons do; the owner shows the tree and marks the button active.
    void setHandlers(std::function<void()> showFolders, std::function<void()> showFavorites);
    // Marks one button as the current choice.
    void setFoldersActive(bool foldersActive);

    CSuperBitmapButton* foldersButton() const { return m_folders; }
    CSuperBitmapButton* favoritesButton() const { return m_favorites; }

private:
    void onPaint(wxPaintEvent& event);
    void onButton(wxCommandEvent& event);

    CSuperBitmapButton* m_folders = nullptr;
    CSuperBitmapButton* m_favorites = nullptr;
    std::function<void()> m_showFolders;
    std::function<void()> m_showFavorites;
};

}  // namespace tarn
