#pragma once
#include <QPixmap>
#include <QTableView>
#include <functional>

#include "shell/FlexGrid.h"

class FlexGridModel;

// Shows a FlexGrid: row 0 as the header, 0-width columns hidden, cell colours and
// pictures. A click records the cell under the mouse in the grid and calls the handler.
class GridView : public QTableView {
    Q_OBJECT
public:
    GridView(FlexGrid& grid, QWidget* parent = nullptr);
    ~GridView() override;
    void setClickHandler(std::function<void()> handler) { click_ = std::move(handler); }
    void setPictureProvider(std::function<QPixmap(int)> provider);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void applyLayout();

    FlexGrid& grid_;
    FlexGridModel* model_;
    std::function<void()> click_;
};
