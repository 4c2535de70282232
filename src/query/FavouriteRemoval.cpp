#include "query/FavouriteRemoval.h"

SaveResult removeFavouriteRow(MainState& s, int row) {
    FlexGrid& g = s.serverGrid;
    const FlexGrid before = g;
    if (!g.removeRow(row))
        for (int c = 0; c < g.colCount(); ++c) g.setCellText(row, c, QString());
    for (int r = 1; r < g.rowCount(); ++r)
        if (!g.cellText(r, ServerCol::Number).isEmpty())
            g.setCellText(r, ServerCol::Number, QString::number(r));
    const SaveResult saved = saveSortedServerList(s);
    if (!saved) {
        g = before;
        g.refresh();
    }
    return saved;
}
