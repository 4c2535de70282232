#include "settings/SettingsGrids.h"

#include <QStringList>

#include "query/MainGrids.h"
#include "state/FavouritesFiles.h"

void layoutSettingsServerGrid(FlexGrid& g, int gameColumnWidth) {
    g.clear();
    g.setColCount(5);
    g.setRowCount(2);
    g.setFixedRows(1);
    g.setFixedCols(0);
    const char* headers[] = {"#", "Server IP", "Q. Port", "Game"};
    const int widths[] = {300, 1500, 675, gameColumnWidth};
    for (int c = 0; c < 4; ++c) {
        g.setCellText(0, c, QString::fromLatin1(headers[c]));
        g.setColWidth(c, widths[c]);
        g.setColAlignment(c, FlexGrid::AlignLeftCenter);
    }
    g.setColWidth(kRestColumn, 0);
}

void layoutSettingsBuddyGrid(FlexGrid& g) {
    g.clear();
    g.setColCount(1);
    g.setRowCount(2);
    g.setFixedRows(1);
    g.setFixedCols(0);
    g.setColWidth(0, 3300);
    g.setCellText(0, 0, QStringLiteral("Buddy List"));
    g.setColAlignment(0, FlexGrid::AlignLeftCenter);
}

LinesRead loadSettingsServerGrid(FlexGrid& g) {
    return loadFavouritesInto(g, [&g](int row, int, const FavouriteLine& fav) {
        g.setCellText(row, 0, QString::number(row));
        g.setCellText(row, 1, fav.address);
        g.setCellText(row, 2, fav.port);
        g.setCellText(row, 3, fav.code);
        g.setCellText(row, kRestColumn, fav.rest);
    });
}

void highlightClickedRow(FlexGrid& g) {
    const int row = g.mouseRow();
    if (row <= 0 || row >= g.rowCount()) return;
    highlightGridRow(g, row);
}

void appendGridRow(FlexGrid& g, const QStringList& cells) {
    g.setRowCount(g.rowCount() + 1);
    const int row = g.rowCount() - 1;
    for (int c = 0; c < cells.size() && c < g.colCount(); ++c) g.setCellText(row, c, cells[c]);
}
