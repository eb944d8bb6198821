#include "dialogs/thumb_wnd.h"

#include <wx/dcbuffer.h>

#include "dialogs/thumb_fit.h"
#include "imaging/image_draw.h"

namespace tarn {

CThumbWnd::CThumbWnd(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size)
    : wxWindow(parent, id, position, size, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CThumbWnd::onPaint, this);
}

void CThumbWnd::setImage(const fipImage& image) {
    m_image = image;
    Refresh(false);
}

Rect CThumbWnd::pictureRect() const {
    if (!m_image.isValid()) {
        return {};
    }
    const wxSize client = GetClientSize();
    return thumbPictureRect(static_cast<int>(m_image.getWidth()),
                            static_cast<int>(m_image.getHeight()), client.x, client.y);
}

void CThumbWnd::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    const Rect r = pictureRect();
    if (r.empty()) {
        return;
    }
    const RGBQUAD white{255, 255, 255, 0};
    drawEx(dc, wxRect(r.left, r.top, r.width(), r.height()), m_image, false, &white, nullptr,
           StretchMode::Quality);
}

}  // namespace tarn
