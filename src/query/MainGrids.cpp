#include "query/MainGrids.h"

namespace {
struct Column {
    const char* header;
    int width;      // twips; -1 leaves the default
    int alignment;  // 0 leaves it unset
};

void layOut(FlexGrid& g, const std::initializer_list<Column>& columns) {
    g.clear();
    g.setColCount(int(columns.size()));
    g.setRowCount(2);
    g.setFixedRows(1);
    g.setFixedCols(0);
    int c = 0;
    for (const Column& col : columns) {
        g.setCellText(0, c, QString::fromLatin1(col.header));
        if (col.width >= 0) g.setColWidth(c, col.width);
        if (col.alignment) g.setColAlignment(c, col.alignment);
        ++c;
    }
}

void selectColumn(FlexGrid& g, int col) {
    g.setCurrentCol(col);
    g.setSelectionEndCol(col);
}

// Fastest first; servers without a ping (never answered, or silent) last.
void sortByPing(FlexGrid& g) {
    static const QString kNoPing = QStringLiteral("4294967296");
    for (int r = 1; r < g.rowCount(); ++r)
        if (g.cellText(r, ServerCol::Ping).trimmed().isEmpty()) g.setCellText(r, ServerCol::Ping, kNoPing);
    g.sort(FlexGrid::SortNumericAscending);
    for (int r = 1; r < g.rowCount(); ++r)
        if (g.cellText(r, ServerCol::Ping) == kNoPing) g.setCellText(r, ServerCol::Ping, QString());
}

constexpr int kAlignLeft = FlexGrid::AlignLeftCenter;
constexpr int kAlignCentre = FlexGrid::AlignCenterCenter;
}  // namespace

void setUpServerGrid(MainState& s) {
    layOut(s.serverGrid, {{"#", 350, kAlignLeft},
                          {"Server", 2950, kAlignLeft},
                          {"Server IP", 0, 0},
                          {"Q.Port", 0, kAlignLeft},
                          {"Players", 675, kAlignLeft},
                          {"", 0, 0},
                          {"Ping", 450, kAlignLeft},
                          {"Game", 0, 0},
                          {"Game Type", 1000, 0},
                          {"Game", -1, 0}});
}

void setUpBuddyGrid(MainState& s) {
    FlexGrid& g = s.buddyGrid;
    layOut(g, {{"Buddy", 1500, kAlignLeft}, {"Server", 2100, kAlignLeft}});
    selectColumn(g, 1);
    g.sort(FlexGrid::SortStringDescending);
}

void setUpPlayerGrid(MainState& s) {
    layOut(s.playerGrid, {{"Player", 1600, kAlignLeft},
                          {"Score", 585, kAlignCentre},
                          {"Ping", 675, kAlignCentre},
                          {"Team", 800, kAlignLeft},
                          {"idTeam", 0, kAlignCentre}});
}

void sortServerGrid(MainState& s, int col) {
    s.serverSortCol = col;
    FlexGrid& g = s.serverGrid;
    if (g.selectionEndRow() == 0) return;
    selectColumn(g, col);
    switch (col) {
        case ServerCol::Name: g.sort(FlexGrid::SortStringAscending); break;
        case ServerCol::Players: g.sort(FlexGrid::SortStringDescending); break;  // "03/16": fullest first
        case ServerCol::Ping: sortByPing(g); break;
        case ServerCol::GameType:
        case ServerCol::GameName: g.sort(FlexGrid::SortStringAscending); break;
        default: break;
    }
    // "#" equals the row index again, which also clears the scan marker.
    for (int i = 1; i < g.rowCount(); ++i)
        if (!g.cellText(i, ServerCol::Number).isEmpty())
            g.setCellText(i, ServerCol::Number, QString::number(i));
}

void sortPlayerGrid(MainState& s, int col) {
    s.playerSortCol = col;
    FlexGrid& g = s.playerGrid;
    if (g.selectionEndRow() == 0) return;
    if (col == PlayerCol::Team) col = PlayerCol::TeamNumber;  // the picture sorts by the team number
    selectColumn(g, col);
    switch (col) {
        case PlayerCol::Name: g.sort(FlexGrid::SortStringAscending); break;
        case PlayerCol::Score: g.sort(FlexGrid::SortNumericDescending); break;
        case PlayerCol::Ping:
        case PlayerCol::TeamNumber: g.sort(FlexGrid::SortNumericAscending); break;
        default: break;
    }
}

void sortBuddyGrid(MainState& s, int col) {
    FlexGrid& g = s.buddyGrid;
    selectColumn(g, col);
    g.sort(col == 0 ? FlexGrid::SortStringAscending : FlexGrid::SortStringDescending);
}

void highlightGridRow(FlexGrid& g, int row) {
    const int lastRow = g.rowCount() - 1, lastCol = g.colCount() - 1;
    g.setHighlight(0);
    for (int r = 1; r <= lastRow; ++r) {
        if (r == row) continue;
        g.setCurrentRow(r);
        for (int c = 0; c <= lastCol; ++c) {
            g.setCurrentCol(c);
            if (g.cellBackColour() != FlexGrid::kSystemHighlight) break;
            g.setCellBackColour(FlexGrid::kDefaultColour);
            g.setCellForeColour(FlexGrid::kSystemWindowText);
        }
    }
    g.setCurrentRow(row);
    for (int c = 0; c <= lastCol; ++c) {
        g.setCurrentCol(c);
        g.setCellBackColour(FlexGrid::kSystemHighlight);
        g.setCellForeColour(FlexGrid::kSystemHighlightText);
    }
}

void highlightServerRow(MainState& s, int row) { highlightGridRow(s.serverGrid, row); }

void clearServerInfo(MainState& s) {
    InfoPanel& p = s.panel;
    p.title = QStringLiteral("Server Information:");
    p.map = QStringLiteral("Map: ");
    p.admin.clear();
    p.timeLimit = QStringLiteral("Time Limit: ");
    p.version = QStringLiteral("Version:");
    p.password = QStringLiteral("P/W: ");
    p.translocator = QStringLiteral("Translocator: ");
    p.gameType = QStringLiteral("Game Type:  ");
    p.mutators = QStringLiteral("Mutators: ");
    p.goalLimit = QStringLiteral("Goal Limit: ");
    p.address.clear();
    p.gamePort.clear();
}
