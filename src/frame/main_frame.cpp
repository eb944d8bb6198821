#include "frame/main_frame.h"

namespace tarn {

CMainFrame::CMainFrame(AppContext& context, const CSystemImageLists& iconLists)
    : wxFrame(nullptr, wxID_ANY, wxString::FromUTF8("Tarn Photo Viewer")),
      m_context(context),
      m_iconLists(iconLists) {
    SetMinSize(wxSize(400, 400));
}

}  // namespace tarn
