#pragma once

#include <wx/window.h>

#include "app/app_context.h"
#include "app/system_image_lists.h"
#include "browser/image_list_ctrl.h"

namespace tarn {

// The right pane of the browser: holds the thumbnail list over its whole client area.
class CWorkSpaceView : public wxWindow {
public:
    static constexpr int kListId = 133;

    CWorkSpaceView(wxWindow* parent, AppContext& context, const CSystemImageLists& icons);

    CImageListCtrl* list() const { return m_list; }

private:
    CImageListCtrl* m_list;
};

}  // namespace tarn
