#pragma once

#include <wx/dc.h>
#include <wx/window.h>

#include <string>
#include <vector>

#include "imaging/exif_text.h"

namespace tarn {

// The EXIF summary below the histogram: eight facts of the focused photo in four lines of two
// columns, read when the focused file changes.
class CExifInfoWnd : public wxWindow {
public:
    static constexpr int kId = 140;
    static constexpr int kHeight = 74;

    explicit CExifInfoWnd(wxWindow* parent, wxWindowID id = kId);

    // Empties the texts; a non-empty path with a fast-thumbnail extension then fills them from
    // the file's EXIF items. An empty path means no focused file. Repaints.
    void setFile(const std::string& path);

    const ExifPanelTexts& texts() const { return m_texts; }

    // One text as painted: cut with an ellipsis to its box.
    struct DrawnText {
        wxString text;
        wxRect box;
    };
    // What painting draws at the window's present width, in drawing order.
    std::vector<DrawnText> drawnTexts() const;
    // Paints the whole client area into the DC.
    void draw(wxDC& dc) const;

    static wxFont textFont();

private:
    void onPaint(wxPaintEvent& event);
    std::vector<DrawnText> layoutTexts(wxDC& dc) const;

    ExifPanelTexts m_texts;
};

}  // namespace tarn
