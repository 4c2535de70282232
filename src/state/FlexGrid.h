#pragma once
#include <QString>
#include <QVector>
#include <cstdint>
#include <functional>

// The grid every list of the program is built on: a table of text cells with one
// header row. The grids are the program's data store for favourites, players and
// buddies, so this class keeps the exact behaviour the windows rely on; GridView
// only shows it.
class FlexGrid {
public:
    // Colours are 0xRRGGBB, 0 for the grid's default, or one of the system colours.
    using Colour = std::uint32_t;
    static constexpr Colour kDefaultColour = 0;
    static constexpr Colour kSystemWindowText = 0x80000008;
    static constexpr Colour kSystemHighlight = 0x8000000D;
    static constexpr Colour kSystemHighlightText = 0x8000000E;

    enum Alignment { AlignLeftCenter = 1, AlignCenterCenter = 4 };
    enum SortMode { SortNumericAscending = 3, SortNumericDescending = 4,
                    SortStringAscending = 7, SortStringDescending = 8 };

    struct Cell {
        QString text;
        Colour back = kDefaultColour;
        Colour fore = kDefaultColour;
        int picture = 0;  // 1-based index into the window's picture list, 0 for none
    };

    // What a view must redraw after a change.
    enum class Change { Layout, Cells };
    using Listener = std::function<void(Change)>;

    FlexGrid(int rows = 2, int cols = 2);

    int rowCount() const { return int(cells_.size()); }
    void setRowCount(int rows);
    int colCount() const { return cols_; }
    void setColCount(int cols);
    int fixedRows() const { return fixedRows_; }
    void setFixedRows(int n) { fixedRows_ = n; }
    int fixedCols() const { return fixedCols_; }
    void setFixedCols(int n) { fixedCols_ = n; }

    void clear();  // empties every cell; counts, widths and alignments stay

    QString cellText(int row, int col) const;
    void setCellText(int row, int col, const QString& text);
    const Cell* cell(int row, int col) const;

    int colWidth(int col) const;  // twips; -1 is the default width
    void setColWidth(int col, int twips);
    int colAlignment(int col) const;  // 0 when never set
    void setColAlignment(int col, int alignment);

    // Appends a row whose cells from column 0 are the text split at tabs.
    void appendRow(const QString& text);
    // Deletes a data row; the last remaining data row is refused (returns false).
    bool removeRow(int row);

    int currentRow() const { return row_; }
    void setCurrentRow(int row);  // also collapses the selection to the current cell
    int currentCol() const { return col_; }
    void setCurrentCol(int col);
    int selectionEndRow() const { return rowSel_; }
    void setSelectionEndRow(int row) { rowSel_ = row; }
    int selectionEndCol() const { return colSel_; }
    void setSelectionEndCol(int col) { colSel_ = col; }

    // Properties of the current cell.
    Colour cellBackColour() const;
    void setCellBackColour(Colour colour);
    Colour cellForeColour() const;
    void setCellForeColour(Colour colour);
    int cellPicture() const;
    void setCellPicture(int picture);

    int topRow() const { return topRow_; }
    void setTopRow(int row);

    // The cell under the mouse at the last click, set by the view (or a test).
    int mouseRow() const { return mouseRow_; }
    int mouseCol() const { return mouseCol_; }
    void setMouseCell(int row, int col) { mouseRow_ = row; mouseCol_ = col; }

    // Sorts the data rows by the columns currentCol()..selectionEndCol() with one of the SortMode values;
    // other values do nothing. Rows move whole, with their colours and pictures.
    void sort(int mode);

    bool redraw() const { return redraw_; }
    void setRedraw(bool on);  // turning it back on repaints once
    void refresh() { notify(Change::Layout); }

    // 0 turns the grid's own selection colouring off.
    int highlight() const { return highlight_; }
    void setHighlight(int value) {
        highlight_ = value;
        notify(Change::Cells);
    }

    void setListener(Listener listener) { listener_ = std::move(listener); }

private:
    Cell* cellAt(int row, int col);
    void notify(Change change);
    static int compareNumeric(const QString& a, const QString& b);

    QVector<QVector<Cell>> cells_;
    QVector<int> widths_;
    QVector<int> alignments_;
    int cols_ = 0;
    int fixedRows_ = 1;
    int fixedCols_ = 0;
    int row_ = 1, col_ = 0, rowSel_ = 1, colSel_ = 0;
    int topRow_ = 1;
    int mouseRow_ = 0, mouseCol_ = 0;
    int highlight_ = 1;
    bool redraw_ = true;
    bool pendingLayout_ = false;
    Listener listener_;
};

// Reads a cell the way the windows read numbers: the leading decimal number, blanks
// before it ignored, 0 when there is none.
double leadingNumber(const QString& text);
