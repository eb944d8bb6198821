#include "info/histogram_wnd.h"

#include <wx/dcbuffer.h>
#include <wx/menu.h>

#include <memory>

#include "commands/menu_builder.h"
#include "imaging/image_draw.h"

namespace tarn {

namespace {

struct ChannelCommand {
    int command;
    HistogramChannel channel;
    const settings::FlagKey* key;
};

constexpr ChannelCommand kChannelCommands[] = {
    {cmd::kHistogramRed, kHistRed, &settings::kShowRed},
    {cmd::kHistogramGreen, kHistGreen, &settings::kShowGreen},
    {cmd::kHistogramBlue, kHistBlue, &settings::kShowBlue},
    {cmd::kHistogramGray, kHistGrey, &settings::kShowGray},
};

}  // namespace

CHistogramWnd::CHistogramWnd(wxWindow* parent, SettingsStore& settings)
    : wxWindow(parent, kWindowId, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE),
      m_settings(settings),
      m_imageExtensions(sortedImageExtensions()),
      m_worker(*this) {
    SetName("HistStatWnd");
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    for (const ChannelCommand& row : kChannelCommands) {
        m_shown[row.channel] = m_settings.get(*row.key);
        const HistogramChannel channel = row.channel;
        m_commands.add(
            row.command, CommandHandlers::always, [this, channel] { return m_shown[channel]; },
            [this, channel] { toggle(channel); });
    }
    Bind(wxEVT_PAINT, &CHistogramWnd::onPaint, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        Refresh(false);
    });
    Bind(wxEVT_CONTEXT_MENU, &CHistogramWnd::onContextMenu, this);
    Bind(wxEVT_MENU, &CHistogramWnd::onCommand, this, kFirstCommandUiId, lastCommandUiId());
    Bind(wxEVT_UPDATE_UI, &CHistogramWnd::onUpdateUi, this, kFirstCommandUiId, lastCommandUiId());
}

CHistogramWnd::~CHistogramWnd() {
    m_worker.waitAll();
    for (const ChannelCommand& row : kChannelCommands) {
        m_settings.set(*row.key, m_shown[row.channel]);
    }
}

void CHistogramWnd::setFile(const std::string& path) {
    m_path = path;
    CallAfter(&CHistogramWnd::startRequest);
}

void CHistogramWnd::startRequest() {
    // One worker at a time: the thumbnail is small, so waiting here is short.
    m_worker.waitAll();
    const std::uint64_t request = ++m_request;
    m_bins = {};
    m_maxima = {};
    if (m_path.empty() || !histogramPathExists(m_path)) {
        ++m_finished;
        Refresh(false);
        return;
    }
    std::string path = m_path;
    const std::vector<std::string>* extensions = &m_imageExtensions;
    m_worker.run<FileHistogram>(
        [path = std::move(path), extensions] { return computeFileHistogram(path, *extensions); },
        [this, request](FileHistogram result) {
            if (request != m_request) {
                return;
            }
            m_bins = result.bins;
            m_maxima = result.maxima;
            ++m_finished;
            Refresh(false);
        });
}

void CHistogramWnd::toggle(HistogramChannel channel) {
    m_shown[channel] = !m_shown[channel];
    Refresh(false);
}

RgbPicture CHistogramWnd::picture() const {
    const wxSize size = GetClientSize();
    return drawBrowserHistogram(m_bins, m_maxima, m_shown, size.x, size.y);
}

void CHistogramWnd::onPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    drawRgbPicture(dc, picture(), 0, 0);
}

void CHistogramWnd::onContextMenu(wxContextMenuEvent& event) {
    wxPoint at = event.GetPosition();
    at = at == wxDefaultPosition ? wxPoint(GetClientSize().x / 2, GetClientSize().y / 2)
                                 : ScreenToClient(at);
    const std::unique_ptr<wxMenu> menu(buildContextMenu(MenuId::Histogram));
    menu->UpdateUI(GetEventHandler());
    PopupMenu(menu.get(), at);
}

void CHistogramWnd::onCommand(wxCommandEvent& event) {
    const int command = commandOfUiId(event.GetId());
    if (m_commands.handles(command)) {
        m_commands.runCommand(command);
    } else {
        event.Skip();
    }
}

void CHistogramWnd::onUpdateUi(wxUpdateUIEvent& event) {
    const std::optional<CommandState> state = m_commands.commandState(commandOfUiId(event.GetId()));
    if (!state) {
        event.Skip();
        return;
    }
    event.Enable(state->enabled);
    event.Check(state->checked);
}

}  // namespace tarn
