#include "info/exif_info_wnd.h"

#include <wx/control.h>
#include <wx/dcbuffer.h>
#include <wx/dcclient.h>

#include <algorithm>
#include <utility>

#include "imaging/exif_properties.h"
#include "imaging/thumbnail_maker.h"

namespace tarn {
namespace {

const wxColour kBackground(232, 232, 232);
const wxColour kTextColour(78, 78, 78);
constexpr int kLineTop = 5;
constexpr int kLineHeight = 16;
constexpr int kLeftColumn = 10;
constexpr int kLeftColumnRightMargin = 60;
constexpr int kRightColumnFromRight = 55;

}  // namespace

CExifInfoWnd::CExifInfoWnd(wxWindow* parent, wxWindowID id)
    : wxWindow(parent, id, wxDefaultPosition, wxSize(-1, kHeight),
               wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE, "ExifInfoWnd"),
      m_worker(*this) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);  // painting covers it all
    Bind(wxEVT_PAINT, &CExifInfoWnd::onPaint, this);
}

CExifInfoWnd::~CExifInfoWnd() {
    m_worker.waitAll();
}

void CExifInfoWnd::setFile(const std::string& path) {
    // One reader at a time: a read is short, and holding a key down must not pile up threads.
    m_worker.waitAll();
    const std::uint64_t request = ++m_request;
    m_texts = ExifPanelTexts();
    Refresh();
    if (path.empty() || !hasFastThumbnailExtension(path)) {
        ++m_finished;
        return;
    }
    m_worker.run<ExifPanelTexts>(
        [path] {
            ExifProperties store;
            return store.load(path) ? exifPanelTexts(store) : ExifPanelTexts();
        },
        [this, request](ExifPanelTexts texts) {
            ++m_finished;
            if (request == m_request) {
                m_texts = std::move(texts);
                Refresh();
            }
        });
}

wxFont CExifInfoWnd::textFont() {
    return wxFont(wxFontInfo(8.5).FaceName("Tahoma").Family(wxFONTFAMILY_SWISS));
}

std::vector<CExifInfoWnd::DrawnText> CExifInfoWnd::layoutTexts(wxDC& dc) const {
    const int width = GetClientSize().x;
    const wxRect left(kLeftColumn, 0, std::max(0, width - kLeftColumnRightMargin - kLeftColumn),
                      kLineHeight);
    const wxRect right(width - kRightColumnFromRight, 0, kRightColumnFromRight, kLineHeight);
    const auto line = [](wxRect box, int index) {
        box.y = kLineTop + index * kLineHeight;
        return box;
    };
    const std::string makeAndModel = m_texts.make + " " + m_texts.model;
    const std::vector<std::pair<std::string, wxRect>> texts = {
        {makeAndModel.size() > 1 ? makeAndModel : std::string(), line(left, 0)},
        {m_texts.exposureTime, line(right, 0)},
        {m_texts.focalLength.empty() ? std::string() : "Focal length: " + m_texts.focalLength,
         line(left, 1)},
        {m_texts.fNumber, line(right, 1)},
        {m_texts.exposureProgram, line(left, 2)},
        {m_texts.iso.empty() ? std::string() : "ISO: " + m_texts.iso, line(right, 2)},
        {m_texts.exposureBias.empty() ? std::string() : "Exposure bias: " + m_texts.exposureBias,
         line(left, 3)},
    };
    dc.SetFont(textFont());
    std::vector<DrawnText> drawn;
    for (const auto& [text, box] : texts) {
        if (text.empty()) {
            continue;
        }
        drawn.push_back({wxControl::Ellipsize(wxString::FromUTF8(text), dc, wxELLIPSIZE_END,
                                              box.width, wxELLIPSIZE_FLAGS_NONE),
                         box});
    }
    return drawn;
}

std::vector<CExifInfoWnd::DrawnText> CExifInfoWnd::drawnTexts() const {
    wxClientDC dc(const_cast<CExifInfoWnd*>(this));
    return layoutTexts(dc);
}

void CExifInfoWnd::draw(wxDC& dc) const {
    const wxSize size = GetClientSize();
    dc.SetBrush(wxBrush(kBackground));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(0, 0, size.x, size.y);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetTextForeground(kTextColour);
    for (const DrawnText& text : layoutTexts(dc)) {
        const wxDCClipper clip(dc, text.box);
        const int y = text.box.y + (text.box.height - dc.GetCharHeight()) / 2;
        dc.DrawText(text.text, text.box.x, y);
    }
}

void CExifInfoWnd::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    draw(dc);
}

}  // namespace tarn
