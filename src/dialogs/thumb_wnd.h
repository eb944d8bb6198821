#pragma once

#include <wx/window.h>

#include "common/rect.h"
#include "imaging/fip_super_image.h"

namespace tarn {

// The small picture window of the effect dialogs' previews: its image shrunk to fit and centred
// on white.
class CThumbWnd : public wxWindow {
public:
    CThumbWnd(wxWindow* parent, wxWindowID id, const wxPoint& position = wxDefaultPosition,
              const wxSize& size = wxDefaultSize);

    // The image shown; change it through here and call Refresh, or hand a new one over.
    fipSuperImage& image() { return m_image; }
    void setImage(const fipImage& image);
    // Where the picture is drawn in the client area; empty without one.
    Rect pictureRect() const;

private:
    void onPaint(wxPaintEvent& event);

    fipSuperImage m_image;
};

}  // namespace tarn
