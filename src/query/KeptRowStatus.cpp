#include "query/KeptRowStatus.h"

#include "query/StatusWriter.h"
#include "state/MainState.h"

namespace {
constexpr int kStatusColumns[] = {ServerCol::Name, ServerCol::Players, ServerCol::Ping, ServerCol::GameType};

QString serverKey(const FlexGrid& g, int row) {
    return g.cellText(row, ServerCol::Address).trimmed() + QLatin1Char(':') +
           QString::number(queryPortOf(g, row));
}
}  // namespace

KeptRowStatus keepRowStatus(const FlexGrid& g) {
    KeptRowStatus kept;
    for (int row = 1; row < g.rowCount(); ++row) {
        if (g.cellText(row, ServerCol::Address).trimmed().isEmpty() || kept.contains(serverKey(g, row)))
            continue;
        QVector<FlexGrid::Cell> cells;
        for (int col = 0; col < g.colCount(); ++col) cells << *g.cell(row, col);
        kept.insert(serverKey(g, row), cells);
    }
    return kept;
}

void restoreRowStatus(FlexGrid& g, const KeptRowStatus& kept) {
    const int keepRow = g.currentRow(), keepCol = g.currentCol();
    for (int row = 1; row < g.rowCount(); ++row) {
        const auto cells = kept.constFind(serverKey(g, row));
        if (cells == kept.constEnd()) continue;
        g.setCurrentRow(row);
        for (const int col : kStatusColumns) g.setCellText(row, col, cells->value(col).text);
        for (int col = 0; col < std::min(g.colCount(), int(cells->size())); ++col) {
            g.setCurrentCol(col);
            g.setCellForeColour((*cells)[col].fore);
        }
    }
    g.setCurrentRow(keepRow);
    g.setCurrentCol(keepCol);
}
