#pragma once

#include <wx/window.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/background_task.h"
#include "app/settings.h"
#include "commands/command_handlers.h"
#include "imaging/histogram.h"
#include "info/file_histogram.h"

namespace tarn {

// The browser's histogram of the focused file, computed on a small thumbnail in the background
// with a scale per channel. The channel flags come from the settings when it is built and go
// back when it is destroyed.
class CHistogramWnd : public wxWindow {
public:
    static constexpr int kWindowId = 141;

    CHistogramWnd(wxWindow* parent, SettingsStore& settings);
    ~CHistogramWnd() override;

    // The file to show (empty for none). The work starts from the event queue, after the
    // worker of the previous file has ended; a result for a file set since is dropped.
    void setFile(const std::string& path);
    const std::string& file() const { return m_path; }

    // "&Red", "&Green", "&Blue", "Gr&ay": the frame routes them here; the context menu too.
    CommandReceiver& commands() { return m_commands; }

    bool shown(HistogramChannel channel) const { return m_shown[channel]; }
    // Requests handled so far whose worker has handed its result back (or that needed none).
    int finishedRequests() const { return m_finished; }
    // What a paint of the current state draws, at the client size.
    RgbPicture picture() const;

private:
    void startRequest();
    void toggle(HistogramChannel channel);
    void onPaint(wxPaintEvent& event);
    void onContextMenu(wxContextMenuEvent& event);
    void onCommand(wxCommandEvent& event);
    void onUpdateUi(wxUpdateUIEvent& event);

    SettingsStore& m_settings;
    ChannelFlags m_shown{};
    ChannelHistograms m_bins{};
    ChannelMaxima m_maxima{};
    std::string m_path;
    const std::vector<std::string> m_imageExtensions;
    // Counts requests: a result whose number is not the latest is dropped.
    std::uint64_t m_request = 0;
    int m_finished = 0;
    CommandHandlers m_commands;
    // Last: its destructor waits for the worker before the rest goes.
    BackgroundTasks m_worker;
};

}  // namespace tarn
