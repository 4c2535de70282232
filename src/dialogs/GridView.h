#pragma once
#include <QAbstractTableModel>
#include <QHash>
#include <QPixmap>
#include <QTableView>
#include <functional>

#include "state/FlexGrid.h"

// Shows a FlexGrid: row 0 as the column headers, the data rows below, column widths
// in twips (15 to a pixel; width 0 hides a column), the grid's alignments, cell
// colours and pictures, all text plain. The grid stays the data; the view follows it.
//
// A designed width is a starting width: never narrower than the header and the usual
// content in the font in use. A width the user drags stays until the grid's designed
// width for that column changes (setting up the grid again with the same design keeps
// it). The fill column takes whatever width is left over.
//
// A mouse press sets the grid's mouseRow/mouseCol (0 for the header, -1 below the last
// row), makes a pressed data cell the grid's current cell, and then calls the click
// handler, as a click on the grid control does.
//
// Keys: Tab leaves the grid for the next control; the arrow, page, Home and End keys
// move the current row and, where the grid selects rows (setKeysSelectRows), do what a
// click on that row does (so does Space). Enter and a double-click on a data row call the activate
// handler, Delete the delete handler; a grid without one lets the key go on to its window.
class GridView : public QTableView {
    Q_OBJECT
public:
    GridView(FlexGrid& grid, QWidget* parent = nullptr);
    ~GridView() override;

    void setClickHandler(std::function<void()> handler) { clickHandler_ = std::move(handler); }
    void setActivateHandler(std::function<void()> handler) { activateHandler_ = std::move(handler); }
    void setDeleteHandler(std::function<void()> handler) { deleteHandler_ = std::move(handler); }
    // Whether moving with the keys, or a right press, is a click on the row (the players
    // grid, where a click adds a buddy, only moves its focus frame).
    void setKeysSelectRows(bool on) { keysSelectRows_ = on; }
    // The picture of a cell's picture index (1-based); an empty pixmap for none.
    void setPictureProvider(std::function<QPixmap(int)> provider);
    // Texts the column must show whole, e.g. "99999" for a port.
    void setUsualContent(int col, const QStringList& samples);
    // The column that grows with the view; -1 for none.
    void setFillColumn(int col);

    // Shows only the rows whose text in the column contains the text, ignoring case; an
    // empty text shows every row. The rows stay in the grid.
    void setRowFilter(int col, const QString& text);
    bool rowShown(int row) const { return row >= 1 && !isRowHidden(row - 1); }

    // The width of each column as the user left it (designed or dragged), in pixels; a
    // width given back is kept until the grid's design for that column changes. Hidden
    // columns and the fill column keep their own.
    QList<int> columnWidths() const;
    void setColumnWidths(const QList<int>& widths);

    FlexGrid& grid() { return grid_; }

    // Pixels of a width in twips.
    static int twipsToPixels(int twips) { return twips / 15; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Model;
    void gridChanged(FlexGrid::Change change);
    void applyColumns();
    void headerPressed(int col);
    void selectRowByKey(const QModelIndex& index);
    void sectionDragged(int col, int newWidth);
    int leastWidth(int col) const;
    void setWidth(int col, int width);
    void fitFillColumn();
    void applyRowFilter();

    FlexGrid& grid_;
    Model* model_;
    std::function<void()> clickHandler_;
    std::function<void()> activateHandler_;
    std::function<void()> deleteHandler_;
    bool keysSelectRows_ = false;
    int keyedRow_ = -1;  // the row last taken by a click or a key, as the view counts
    int shownTopRow_ = -1;
    QHash<int, QStringList> usualContent_;
    int fillColumn_ = -1;
    QVector<int> appliedTwips_;  // the designed width each column was last given
    QVector<int> baseWidths_;    // designed or dragged width in pixels
    bool applying_ = false;
    int filterCol_ = -1;
    QString filterText_;
    bool filterPending_ = false;
};
