#include "support/GridFiles.h"

#include "query/MainGrids.h"
#include "state/FavouritesFiles.h"

QStringList gridColumn(const FlexGrid& g, int col) {
    QStringList out;
    for (int r = 1; r < g.rowCount(); ++r) out << g.cellText(r, col);
    return out;
}

QStringList gridRows(const FlexGrid& g) {
    QStringList rows;
    for (int r = 1; r < g.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < g.colCount(); ++c)
            if (g.colWidth(c) != 0) cells << g.cellText(r, c);
        rows << cells.join('|');
    }
    return rows;
}

LoadedMainWindow::LoadedMainWindow() {
    setUpServerGrid(s);
    setUpBuddyGrid(s);
    setUpPlayerGrid(s);
    loadServerList(s);
    loadBuddyList(s);
}
