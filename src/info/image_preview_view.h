#pragma once

#include <wx/window.h>

#include <string>

#include "widgets/title_wnd.h"

namespace tarn {

class CExifInfoWnd;
class CHistogramWnd;
class SettingsStore;

// The information pane below the navigation trees: a title strip over the histogram and the
// EXIF summary of the file focused in the thumbnail list.

class CImagePreviewView : public wxWindow {
public:
    static constexpr int kTitleId = 138;
    static constexpr int kTitleHeight = 16;

    // The histogram keeps its channel choices in the settings.
    CImagePreviewView(wxWindow* parent, SettingsStore& settings);

    // The focused item's file; an empty path when no item has the focus clears the pane.
    void showFile(const std::string& path);

    CTitle* title() const { return m_title; }
    CExifInfoWnd* exifWindow() const { return m_exif; }
    CHistogramWnd* histogram() const { return m_histogram; }

private:
    void onSize(wxSizeEvent& event);

    // Children owned by the window.
    CTitle* m_title;
    CHistogramWnd* m_histogram;
    CExifInfoWnd* m_exif;
};

}  // namespace tarn
