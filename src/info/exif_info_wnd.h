#pragma once

#include <wx/dc.h>
#include <wx/window.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/background_task.h"
#include "imaging/exif_text.h"

namespace tarn {

// The EXIF summary below the histogram: eight facts of the focused photo in four lines of two
// columns, read off the UI thread when the focused file changes.
class CExifInfoWnd : public wxWindow {
public:
    static constexpr int kId = 140;
    static constexpr int kHeight = 74;

    explicit CExifInfoWnd(wxWindow* parent, wxWindowID id = kId);
    ~CExifInfoWnd() override;

    // Empties the texts and repaints; a non-empty path with a fast-thumbnail extension then
    // has its EXIF items read by a worker, whose texts are shown unless another file was set
    // meanwhile. An empty path means no focused file.
    void setFile(const std::string& path);

    const ExifPanelTexts& texts() const { return m_texts; }
    // Files whose reading has ended (shown or overtaken), for tests to wait on.
    int finishedRequests() const { return m_finished; }

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
    std::uint64_t m_request = 0;
    int m_finished = 0;
    BackgroundTasks m_worker;
};

}  // namespace tarn
