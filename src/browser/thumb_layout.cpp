#include "browser/thumb_layout.h"

#include <algorithm>

#include "app/settings.h"

namespace tarn {

int frameThickness(int width) {
    return width <= 30 ? 1 : (width <= 80 ? 2 : (width <= 120 ? 3 : 4));
}

int cellMargin(int width) {
    return width <= 30 ? 2 : (width <= 80 ? 3 : (width <= 120 ? 4 : 6));
}

CellGeometry cellGeometry(int boxWidth, int boxHeight) {
    CellGeometry g;
    g.boxWidth = settings::clampThumbSize(boxWidth);
    g.boxHeight = settings::clampThumbSize(boxHeight);
    g.frame = frameThickness(g.boxWidth);
    g.margin = cellMargin(g.boxWidth);
    g.cellWidth = g.boxWidth + 2 * (g.frame + g.margin) + 6;
    g.cellHeight = g.cellWidth + 30;
    return g;
}

PictureSize fitPicture(int sourceWidth, int sourceHeight, bool thumbnail, int photoWidth,
                       int photoHeight, int boxWidth, int boxHeight) {
    if (sourceWidth <= 0 || sourceHeight <= 0) {
        return {};
    }
    if (thumbnail && (photoWidth <= 0 || photoHeight <= 0)) {
        photoWidth = sourceWidth;
        photoHeight = sourceHeight;
    }
    PictureSize out;
    if (sourceWidth < sourceHeight) {
        if (sourceHeight >= boxHeight) {
            out.height = boxHeight;
        } else {
            out.height = thumbnail ? std::min(photoHeight, boxHeight) : sourceHeight;
        }
        out.width =
            static_cast<int>(static_cast<long long>(sourceWidth) * out.height / sourceHeight);
    } else {
        if (sourceWidth >= boxWidth) {
            out.width = boxWidth;
        } else {
            out.width = thumbnail ? std::min(photoWidth, boxWidth) : sourceWidth;
        }
        out.height =
            static_cast<int>(static_cast<long long>(sourceHeight) * out.width / sourceWidth);
    }
    // A box that is not square must still hold the whole picture.
    if (out.height > boxHeight) {
        out.height = boxHeight;
        out.width =
            static_cast<int>(static_cast<long long>(sourceWidth) * boxHeight / sourceHeight);
    }
    if (out.width > boxWidth) {
        out.width = boxWidth;
        out.height =
            static_cast<int>(static_cast<long long>(sourceHeight) * boxWidth / sourceWidth);
    }
    // A very thin picture still shows as a line.
    out.width = std::max(out.width, 1);
    out.height = std::max(out.height, 1);
    return out;
}

GridLayout::GridLayout(int cellWidth, int cellHeight, int clientWidth, int count)
    : m_cellWidth(std::max(cellWidth, 1)),
      m_cellHeight(std::max(cellHeight, 1)),
      m_columns(std::max(1, clientWidth / m_cellWidth)),
      m_count(std::max(count, 0)),
      m_rows((m_count + m_columns - 1) / m_columns) {}

int GridLayout::indexAt(int x, int y) const {
    if (x < 0 || y < 0) {
        return -1;
    }
    const int column = x / m_cellWidth;
    const int row = y / m_cellHeight;
    if (column >= m_columns) {
        return -1;
    }
    const long long index = static_cast<long long>(row) * m_columns + column;
    return index < m_count ? static_cast<int>(index) : -1;
}

int GridLayout::lastIndexOfRow(int row) const {
    return std::min((row + 1) * m_columns, m_count) - 1;
}

int navigate(int focus, NavigationKey key, int count, int columns, int rowsPerPage) {
    if (count <= 0) {
        return -1;
    }
    const int last = count - 1;
    if (focus < 0 || focus > last) {
        return key == NavigationKey::End ? last : 0;
    }
    columns = std::max(columns, 1);
    const int page = std::max(rowsPerPage, 1) * columns;
    const int lastRow = last / columns;
    switch (key) {
        case NavigationKey::Left:
            return std::max(focus - 1, 0);
        case NavigationKey::Right:
            return std::min(focus + 1, last);
        case NavigationKey::Up:
            return focus >= columns ? focus - columns : focus;
        case NavigationKey::Down:
            if (focus + columns <= last) {
                return focus + columns;
            }
            // The row below is shorter: land on its last item.
            return focus / columns < lastRow ? last : focus;
        case NavigationKey::PageUp:
            return focus >= page ? focus - page : focus % columns;
        case NavigationKey::PageDown:
            return std::min(focus + page, last);
        case NavigationKey::Home:
            return 0;
        case NavigationKey::End:
            return last;
    }
    return focus;
}

bool RefreshThrottle::onChange() {
    if (m_pausing) {
        m_changedDuringPause = true;
        return false;
    }
    m_pausing = true;
    return true;
}

bool RefreshThrottle::onPauseEnd() {
    if (m_changedDuringPause) {
        m_changedDuringPause = false;
        m_pausing = true;
        return true;
    }
    m_pausing = false;
    return false;
}

void RefreshThrottle::reset() {
    m_pausing = false;
    m_changedDuringPause = false;
}

}  // namespace tarn
