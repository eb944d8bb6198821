// Drawing of the thumbnail list: each cell is composed off-screen, then the background is
// painted once around the cells.
#include "browser/image_list_ctrl.h"

#include <algorithm>

#include "app/resource_pictures.h"
#include "imaging/image_draw.h"

namespace tarn {

namespace {

// Colours are given as the program's 0x00BBGGRR values.
wxColour colorRef(std::uint32_t bgr) {
    return wxColour(static_cast<unsigned char>(bgr & 0xFF),
                    static_cast<unsigned char>((bgr >> 8) & 0xFF),
                    static_cast<unsigned char>((bgr >> 16) & 0xFF));
}

const wxColour kBackground = colorRef(0x8A8A8A);
const wxColour kSelectedFocused = colorRef(0x645050);
const wxColour kSelectedUnfocused = colorRef(0x787373);
const wxColour kBoxOutline = colorRef(0xC8C8C8);
const wxColour kFocusLight = colorRef(0xDCDCDC);

constexpr int kOverlaySide = 32;
constexpr int kSystemIconSide = 32;

wxFont labelFont() {
    return wxFont(wxFontInfo(8.5).FaceName("Tahoma"));
}

// A little arrow in a white square, for themes without a link emblem.
wxBitmap drawnOverlay() {
    wxBitmap bitmap(kOverlaySide, kOverlaySide);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetPen(wxPen(*wxBLACK, 1));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(0, 0, kOverlaySide, kOverlaySide);
    dc.SetPen(wxPen(colorRef(0x7F3F00), 4));
    dc.DrawLine(9, 23, 22, 10);
    dc.DrawLine(13, 9, 23, 9);
    dc.DrawLine(23, 9, 23, 19);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

wxBitmap scaled(const wxBitmap& source, const wxSize& size) {
    if (!source.IsOk() || size.x <= 0 || size.y <= 0) {
        return {};
    }
    if (source.GetSize() == size) {
        return source;
    }
    wxImage image = source.ConvertToImage();
    image.Rescale(size.x, size.y, wxIMAGE_QUALITY_HIGH);
    return wxBitmap(image);
}

}  // namespace

void CImageListCtrl::loadPictures() {
    const CResourcePictures pictures(m_context.folders.programFolder);
    m_folderSource = pictures.bitmap("folder.png");
    if (!m_folderSource.IsOk()) {
        m_folderSource = wxArtProvider::GetBitmap("folder", wxART_OTHER, wxSize(128, 128));
    }
    m_overlay = pictures.bitmap("shortcut overlay.png");
    if (!m_overlay.IsOk()) {
        m_overlay = wxArtProvider::GetBitmap("emblem-symbolic-link", wxART_OTHER,
                                             wxSize(kOverlaySide, kOverlaySide));
    }
    m_overlay =
        m_overlay.IsOk() ? scaled(m_overlay, wxSize(kOverlaySide, kOverlaySide)) : drawnOverlay();
}

// ---- drawing ---------------------------------------------------------------------------

const wxBitmap& CImageListCtrl::folderPicture(const wxSize& size) {
    if (!m_folderScaled.IsOk() || m_folderScaled.GetSize() != size) {
        m_folderScaled = scaled(m_folderSource, size);
    }
    return m_folderScaled;
}

void CImageListCtrl::onPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    const wxSize client = GetClientSize();
    wxRegion update = GetUpdateRegion();
    if (m_eraseOnce) {
        m_eraseOnce = false;
        update = wxRegion(0, 0, client.x, client.y);
    }
    wxRegion background(0, 0, client.x, client.y);
    background.Intersect(update);

    const bool focused = HasFocus();
    const int count = m_model.count();
    if (count > 0 && client.x > 0) {
        // A row of cells is drawn into one picture and handed to the display at once: a
        // transfer per cell costs more than drawing the cells.
        const int rowHeight = m_geometry.cellHeight;
        if (!m_rowBuffer.IsOk() || m_rowBuffer.GetWidth() != client.x ||
            m_rowBuffer.GetHeight() != rowHeight) {
            m_rowBuffer = wxBitmap(client.x, rowHeight);
        }
        wxMemoryDC row(m_rowBuffer);
        const GridLayout grid = layout();
        const int firstRow = static_cast<int>(GetVisibleRowsBegin());
        const int endRow = std::min(static_cast<int>(GetVisibleRowsEnd()), grid.rows());
        for (int r = firstRow; r < endRow; ++r) {
            const wxRect rowRect(0, (r - firstRow) * rowHeight, client.x, rowHeight);
            if (update.Contains(rowRect) == wxOutRegion) {
                continue;
            }
            row.SetPen(*wxTRANSPARENT_PEN);
            row.SetBrush(wxBrush(kBackground));
            row.DrawRectangle(0, 0, client.x, rowHeight);
            for (int i = grid.firstIndexOfRow(r); i <= grid.lastIndexOfRow(r); ++i) {
                const wxRect rect = itemRect(i);
                if (update.Contains(rect) == wxOutRegion) {
                    continue;
                }
                // Nothing of a cell reaches into its neighbours.
                row.SetDeviceOrigin(rect.x, 0);
                row.SetClippingRegion(0, 0, rect.width, rect.height);
                drawCell(row, i, focused);
                row.DestroyClippingRegion();
            }
            row.SetDeviceOrigin(0, 0);
            const wxRect part = update.GetBox().Intersect(rowRect);
            dc.Blit(part.x, part.y, part.width, part.height, &row, part.x, part.y - rowRect.y);
            background.Subtract(rowRect);
        }
        requestVisible();
    }
    dc.SetDeviceClippingRegion(background);
    dc.SetBackground(wxBrush(kBackground));
    dc.Clear();
    dc.DestroyClippingRegion();
    if (count == 0) {
        drawEmptyText(dc);
    }
}

void CImageListCtrl::drawEmptyText(wxDC& dc) {
    const wxString text = "There are no items in selected folder.";
    dc.SetFont(labelFont());
    dc.SetTextForeground(*wxWHITE);
    const int width = GetClientSize().x;
    // Word-wrapped: words go on a line while they fit.
    wxArrayString lines;
    wxString line;
    for (const wxString& word : wxSplit(text, ' ')) {
        const wxString candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && dc.GetTextExtent(candidate).x > width) {
            lines.Add(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    lines.Add(line);
    int y = 10;
    for (const wxString& l : lines) {
        const wxSize extent = dc.GetTextExtent(l);
        dc.DrawText(l, (width - extent.x) / 2, y);
        y += extent.y;
    }
}

void CImageListCtrl::drawCell(wxDC& dc, int index, bool listFocused) {
    FolderItem& item = *m_model.item(index);
    const CellGeometry& g = m_geometry;
    // The caller has drawn the background under the cell.

    const wxColour selection =
        item.selected ? (listFocused ? kSelectedFocused : kSelectedUnfocused) : kBackground;

    // Picture source and its drawn size.
    wxImageList* icons = m_icons.large();
    int sourceWidth = kSystemIconSide;
    int sourceHeight = kSystemIconSide;
    if (icons != nullptr) {
        icons->GetSize(item.iconIndex, sourceWidth, sourceHeight);
    }
    bool withThumbnail = false;
    const bool folderPictureShown = item.browsableFolder && !item.thumbnail;
    if (item.thumbnail) {
        const int w = static_cast<int>(FreeImage_GetWidth(item.thumbnail.get()));
        const int h = static_cast<int>(FreeImage_GetHeight(item.thumbnail.get()));
        if (w > 0 && h > 0) {
            sourceWidth = w;
            sourceHeight = h;
            withThumbnail = true;
        } else {
            item.thumbnail.reset();
        }
    } else if (folderPictureShown && m_folderSource.IsOk()) {
        sourceWidth = m_folderSource.GetWidth();
        sourceHeight = m_folderSource.GetHeight();
    }
    const PictureSize drawn = fitPicture(sourceWidth, sourceHeight, withThumbnail, item.photoWidth,
                                         item.photoHeight, g.boxWidth, g.boxHeight);
    const int areaHeight = g.pictureAreaHeight();
    const wxRect picture((g.cellWidth - drawn.width) / 2, (areaHeight - drawn.height) / 2,
                         drawn.width, drawn.height);
    const int f = frameThickness(std::max(drawn.width, drawn.height));

    dc.SetPen(*wxTRANSPARENT_PEN);
    if (withThumbnail) {
        dc.SetBrush(wxBrush(selection));
        dc.DrawRectangle(picture.Inflate(f + 3, f + 3));
        dc.SetBrush(*wxWHITE_BRUSH);
        dc.DrawRectangle(picture.Inflate(f, f));
        // The image wrapper owns what it holds: it draws a copy of the stored thumbnail.
        fipImage copy;
        copy = FreeImage_Clone(item.thumbnail.get());
        const RGBQUAD white{255, 255, 255, 0};
        drawEx(dc, picture, copy, false, &white, nullptr, StretchMode::Fast);
        // Made for another box size: make it again, showing this one meanwhile.
        if (drawn.width != sourceWidth && !item.thumbnailPending && !m_sizeTracking) {
            item.thumbnailPending = true;
            m_worker.request(m_model, index, index);
        }
    } else {
        const wxRect box((g.cellWidth - g.boxWidth) / 2, (areaHeight - g.boxHeight) / 2, g.boxWidth,
                         g.boxHeight);
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.SetPen(wxPen(item.selected ? selection : kBoxOutline, 1));
        dc.DrawRectangle(box.Inflate(f + 3, f + 3));
        if (folderPictureShown && m_folderSource.IsOk()) {
            const wxBitmap& folder = folderPicture(picture.GetSize());
            if (folder.IsOk()) {
                dc.DrawBitmap(folder, picture.GetPosition(), true);
            }
        } else if (icons != nullptr) {
            icons->Draw(item.iconIndex, dc, (g.cellWidth - sourceWidth) / 2,
                        (areaHeight - sourceHeight) / 2, wxIMAGELIST_DRAW_TRANSPARENT);
        }
    }
    if (item.kind == kKindShortcut && m_overlay.IsOk()) {
        dc.DrawBitmap(m_overlay, picture.GetLeft(), picture.GetBottom() + 1 - kOverlaySide, true);
    }

    // The label, unless an editor covers it.
    if (index == m_labelEdit) {
        return;
    }
    dc.SetFont(labelFont());
    const wxString name = wxString::FromUTF8(item.displayName);
    const int textWidth = dc.GetTextExtent(name).x;
    wxRect label(0, g.cellHeight - CellGeometry::kLabelHeight, g.cellWidth,
                 CellGeometry::kLabelHeight);
    if (textWidth + 4 < g.cellWidth) {
        label.width = textWidth + 4;
        label.x = (g.cellWidth - label.width) / 2;
    }
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(selection));
    dc.DrawRectangle(label);
    if (item.focused) {
        dc.SetPen(wxPen(kFocusLight, 1));
        dc.DrawLine(label.GetLeft(), label.GetBottom(), label.GetLeft(), label.GetTop());
        dc.DrawLine(label.GetLeft(), label.GetTop(), label.GetRight(), label.GetTop());
        dc.SetPen(wxPen(*wxBLACK, 1));
        dc.DrawLine(label.GetRight(), label.GetTop(), label.GetRight(), label.GetBottom());
        dc.DrawLine(label.GetRight(), label.GetBottom(), label.GetLeft() - 1, label.GetBottom());
    }
    const wxString shown =
        wxControl::Ellipsize(name, dc, wxELLIPSIZE_END, label.width - 4, wxELLIPSIZE_FLAGS_NONE);
    dc.SetTextForeground(*wxWHITE);
    dc.SetClippingRegion(label);
    dc.DrawLabel(shown, label, wxALIGN_CENTER);
    dc.DestroyClippingRegion();
}
}  // namespace tarn
