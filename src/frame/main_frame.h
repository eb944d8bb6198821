#pragma once

#include <wx/frame.h>

#include "app/app_context.h"
#include "app/system_image_lists.h"

namespace tarn {

// The one top-level window. It owns every pane for the life of the process.
class CMainFrame : public wxFrame {
public:
    CMainFrame(AppContext& context, const CSystemImageLists& iconLists);

private:
    AppContext& m_context;
    const CSystemImageLists& m_iconLists;
};

}  // namespace tarn
