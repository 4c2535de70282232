#pragma once
#include <QAbstractTableModel>
#include <QPixmap>
#include <QTableView>
#include <functional>

#include "state/FlexGrid.h"

// Shows a FlexGrid: row 0 as the column headers, the data rows below, column widths
// in twips (15 to a pixel; width 0 hides a column), the grid's alignments, cell
// colours and pictures. The grid stays the data; the view follows its changes.
//
// A mouse press sets the grid's MouseRow/MouseCol (0 for the header, -1 below the last
// row), makes a pressed data cell the grid's current cell, and then calls the click
// handler, as a click on the grid control does.
class GridView : public QTableView {
    Q_OBJECT
public:
    GridView(FlexGrid& grid, QWidget* parent = nullptr);
    ~GridView() override;

    void setClickHandler(std::function<void()> handler) { clickHandler_ = std::move(handler); }
    // The picture of a cell's picture index (1-based); an empty pixmap for none.
    void setPictureProvider(std::function<QPixmap(int)> provider);

    FlexGrid& grid() { return grid_; }

    // Pixels of a width in twips.
    static int twipsToPixels(int twips) { return twips / 15; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    class Model;
    void gridChanged(FlexGrid::Change change);
    void applyColumns();
    void headerPressed(int col);

    FlexGrid& grid_;
    Model* model_;
    std::function<void()> clickHandler_;
    int shownTopRow_ = -1;
};
