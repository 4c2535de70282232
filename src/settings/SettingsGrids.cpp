#include "settings/SettingsGrids.h"

#include <QStringList>

#include "query/MainGrids.h"
#include "state/FavouritesFiles.h"

void layoutSettingsServerGrid(FlexGrid& g, int gameColumnWidth) {
    g.Clear();
    g.setCols(5);
    g.setRows(2);
    g.setFixedRows(1);
    g.setFixedCols(0);
    const char* headers[] = {"#", "Server IP", "Q. Port", "Game"};
    const int widths[] = {300, 1500, 675, gameColumnWidth};
    for (int c = 0; c < 4; ++c) {
        g.setTextMatrix(0, c, QString::fromLatin1(headers[c]));
        g.setColWidth(c, widths[c]);
        g.setColAlignment(c, FlexGrid::AlignLeftCenter);
    }
    g.setColWidth(kRestColumn, 0);
}

void layoutSettingsBuddyGrid(FlexGrid& g) {
    g.Clear();
    g.setCols(1);
    g.setRows(2);
    g.setFixedRows(1);
    g.setFixedCols(0);
    g.setColWidth(0, 3300);
    g.setTextMatrix(0, 0, QStringLiteral("Buddy List"));
    g.setColAlignment(0, FlexGrid::AlignLeftCenter);
}

LinesRead loadSettingsServerGrid(FlexGrid& g) {
    return loadFavouritesInto(g, [&g](int row, int, const FavouriteLine& fav) {
        g.setTextMatrix(row, 0, QString::number(row));
        g.setTextMatrix(row, 1, fav.address);
        g.setTextMatrix(row, 2, fav.port);
        g.setTextMatrix(row, 3, fav.code);
        g.setTextMatrix(row, kRestColumn, fav.rest);
    });
}

void highlightClickedRow(FlexGrid& g) {
    const int row = g.MouseRow();
    if (row <= 0 || row >= g.Rows()) return;
    highlightGridRow(g, row);
}

void appendGridRow(FlexGrid& g, const QStringList& cells) {
    g.setRows(g.Rows() + 1);
    const int row = g.Rows() - 1;
    for (int c = 0; c < cells.size() && c < g.Cols(); ++c) g.setTextMatrix(row, c, cells[c]);
}
