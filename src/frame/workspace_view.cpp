#include "frame/workspace_view.h"

namespace tarn {

CWorkSpaceView::CWorkSpaceView(wxWindow* parent, AppContext& context,
                               const CSystemImageLists& icons)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(400, 400), wxBORDER_NONE) {
    // The initial size would also become the least width the splitter leaves the list, and
    // the folder column would be squeezed below its own limit to keep it.
    SetMinSize(wxDefaultSize);
    SetBackgroundStyle(wxBG_STYLE_PAINT);  // always covered by the list
    m_list = new CImageListCtrl(this, kListId, context, icons);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
        e.Skip();
        m_list->SetSize(GetClientSize());
    });
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent&) { m_list->SetFocus(); });
}

}  // namespace tarn
