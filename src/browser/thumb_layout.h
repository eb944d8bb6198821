#pragma once

namespace tarn {

// Sizes of one cell of the thumbnail grid, derived from the thumbnail box.
struct CellGeometry {
    int boxWidth = 85;
    int boxHeight = 85;
    int frame = 3;   // thickness of the white frame around a thumbnail
    int margin = 4;  // space between the selection band and the cell edge
    int cellWidth = 105;
    int cellHeight = 135;

    // The bottom strip that holds the label.
    static constexpr int kLabelHeight = 15;
    // The picture area is the cell without this bottom strip.
    static constexpr int kBelowPicture = 17;
    int pictureAreaHeight() const { return cellHeight - kBelowPicture; }
};

// 1, 2, 3 or 4 pixels for widths up to 30, 80, 120 and above.
int frameThickness(int width);
int cellMargin(int width);
// The box is clamped to 36..200 on each side first.
CellGeometry cellGeometry(int boxWidth, int boxHeight);

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The size a picture is drawn at inside the box. source is the bitmap drawn (thumbnail, icon or
// folder picture); with a thumbnail the photo's own size bounds the enlargement, so a small
// photo is never blown up past its real size. A thumbnail whose photo size is unknown is
// bounded by the thumbnail itself. Neither side ever exceeds the box.
PictureSize fitPicture(int sourceWidth, int sourceHeight, bool thumbnail, int photoWidth,
                       int photoHeight, int boxWidth, int boxHeight);

// Cells in rows of as many as fit across the client width (at least one).
class GridLayout {
public:
    GridLayout(int cellWidth, int cellHeight, int clientWidth, int count);

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    int rowOf(int index) const { return index / m_columns; }
    int columnOf(int index) const { return index % m_columns; }
    // The item under a point given in grid coordinates (y counted from the first row); -1 over
    // empty space.
    int indexAt(int x, int y) const;
    // Item range of rows first..last (inclusive), cut to the count; first > last when none.
    int firstIndexOfRow(int row) const { return row * m_columns; }
    int lastIndexOfRow(int row) const;

private:
    int m_cellWidth;
    int m_cellHeight;
    int m_columns;
    int m_count;
    int m_rows;
};

enum class NavigationKey { Left, Right, Up, Down, PageUp, PageDown, Home, End };

// The item a key moves the focus to, as an icon view does: left and right step through the
// order, up and down by a row, page keys by the rows of a page, a move past the end stops at
// the last item. With no focused item every key starts at the first item (End at the last).
// -1 for an empty list.
int navigate(int focus, NavigationKey key, int count, int columns, int rowsPerPage);

// Folder watching: the first change refreshes at once and starts a two-second pause; changes
// during the pause give one more refresh when it ends (which starts another pause).
class RefreshThrottle {
public:
    static constexpr int kPauseMilliseconds = 2000;

    // True: refresh now and start the pause.
    bool onChange();
    // True: refresh now and start another pause.
    bool onPauseEnd();
    bool pausing() const { return m_pausing; }
    void reset();

private:
    bool m_pausing = false;
    bool m_changedDuringPause = false;
};

}  // namespace tarn
