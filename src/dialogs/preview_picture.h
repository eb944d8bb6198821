#pragma once

#include <wx/bitmap.h>
#include <wx/window.h>

namespace tarn {

// The open dialog's preview box: a bitmap inside a one-pixel frame, sized to fit both.
class CPreviewPicture : public wxWindow {
public:
    static constexpr int kBorder = 1;

    CPreviewPicture(wxWindow* parent, const wxPoint& position);

    // Sets the bitmap and takes its size plus the frame; an invalid bitmap empties the box.
    void SetBitmap(const wxBitmap& bitmap);
    const wxBitmap& GetBitmap() const { return m_bitmap; }

private:
    void onPaint(wxPaintEvent& event);

    wxBitmap m_bitmap;
};

}  // namespace tarn
