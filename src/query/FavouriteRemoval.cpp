#include "query/FavouriteRemoval.h"

SaveResult removeFavouriteRow(MainState& s, int row) {
    FlexGrid& g = s.ServerGrid;
    const FlexGrid before = g;
    if (!g.RemoveItem(row))
        for (int c = 0; c < g.Cols(); ++c) g.setTextMatrix(row, c, QString());
    for (int r = 1; r < g.Rows(); ++r)
        if (!g.TextMatrix(r, ServerCol::Number).isEmpty())
            g.setTextMatrix(r, ServerCol::Number, QString::number(r));
    const SaveResult saved = SaveSortedServerList(s);
    if (!saved) {
        g = before;
        g.Refresh();
    }
    return saved;
}
