#include <gtest/gtest.h>

#include "query/MainGrids.h"
#include "support/TestSupport.h"

namespace {
QStringList column(const FlexGrid& g, int col) {
    QStringList out;
    for (int r = 1; r < g.Rows(); ++r) out << g.TextMatrix(r, col);
    return out;
}

// Server rows: number, name, players, ping, game type.
void addServers(MainState& s, const QList<QStringList>& rows) {
    FlexGrid& g = s.ServerGrid;
    g.setRows(1 + rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        g.setTextMatrix(i + 1, 0, rows[i][0]);
        g.setTextMatrix(i + 1, 1, rows[i][1]);
        g.setTextMatrix(i + 1, 4, rows[i][2]);
        g.setTextMatrix(i + 1, 6, rows[i][3]);
        g.setTextMatrix(i + 1, 8, rows[i][4]);
    }
}
}  // namespace

TEST(MainGrids, ServerSortsAndRenumbers) {
    MainState s;
    SetupServerGrid(s);
    addServers(s, {{"1", "Bravo", "03/16", "120", "Ctf"},
                   {"2<", "alpha", "10/16", "45", "Onslaught"},
                   {"3", "Charlie", "09/16", "300", "Bombingrun"}});
    SortServerGrid(s, 4);
    EXPECT_EQ(column(s.ServerGrid, 4), (QStringList{"10/16", "09/16", "03/16"}));
    EXPECT_EQ(column(s.ServerGrid, 0), (QStringList{"1", "2", "3"}));  // marker gone
    SortServerGrid(s, 6);
    EXPECT_EQ(column(s.ServerGrid, 6), (QStringList{"45", "120", "300"}));
    SortServerGrid(s, 1);  // case-sensitive: capitals first
    EXPECT_EQ(column(s.ServerGrid, 1), (QStringList{"Bravo", "Charlie", "alpha"}));
    s.ServerGrid.setTextMatrix(2, 0, "2<");
    SortServerGrid(s, 3);  // no sort mode: order stays, numbers restored
    EXPECT_EQ(column(s.ServerGrid, 1), (QStringList{"Bravo", "Charlie", "alpha"}));
    EXPECT_EQ(column(s.ServerGrid, 0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(s.ServerSortCol, 3);
    s.ServerGrid.setTextMatrix(3, 0, "");
    SortServerGrid(s, 0);  // an empty number cell stays empty
    EXPECT_EQ(column(s.ServerGrid, 0), (QStringList{"1", "2", ""}));
}

// Never-answered and silent servers have no ping; fastest first, they come last.
TEST(MainGrids, PingSortPutsServersWithoutPingLast) {
    MainState s;
    SetupServerGrid(s);
    addServers(s, {{"1", "silent", "", "", ""}, {"2", "far", "", "300", ""},
                   {"3", "never", "", " ", ""}, {"4", "near", "", "12", ""}});
    SortServerGrid(s, ServerCol::Ping);
    EXPECT_EQ(column(s.ServerGrid, ServerCol::Name), (QStringList{"near", "far", "silent", "never"}));
    EXPECT_EQ(column(s.ServerGrid, ServerCol::Ping), (QStringList{"12", "300", "", ""}));
}

TEST(MainGrids, PlayerSortsTeamByHiddenNumber) {
    MainState s;
    SetupPlayerGrid(s);
    FlexGrid& f = s.Flex;
    f.setTextMatrix(1, 0, "zed");
    f.setTextMatrix(1, 1, "5");
    f.setTextMatrix(1, 2, "80");
    f.setTextMatrix(1, 4, "255");
    f.AddItem("Amy\t12\t40\t\t1");
    f.AddItem("bob\t-2\t120\t\t0");
    SortPlayerGrid(s, 3);
    EXPECT_EQ(column(f, 4), (QStringList{"0", "1", "255"}));
    EXPECT_EQ(s.PlayerSortCol, 3);
    SortPlayerGrid(s, 1);
    EXPECT_EQ(column(f, 1), (QStringList{"12", "5", "-2"}));
    SortPlayerGrid(s, 2);
    EXPECT_EQ(column(f, 2), (QStringList{"40", "80", "120"}));
    SortPlayerGrid(s, 0);
    EXPECT_EQ(column(f, 0), (QStringList{"Amy", "bob", "zed"}));
}

TEST(MainGrids, HighlightPaintsExactlyOneRow) {
    MainState s;
    SetupServerGrid(s);
    addServers(s, {{"1", "a", "", "", ""}, {"2", "b", "", "", ""}, {"3", "c", "", "", ""}});
    HighlightServerRow(s, 2);
    HighlightServerRow(s, 3);
    const FlexGrid& g = s.ServerGrid;
    EXPECT_EQ(g.HighLight(), 0);
    for (int c = 0; c < g.Cols(); ++c) {
        EXPECT_EQ(g.cell(3, c)->back, FlexGrid::kSystemHighlight);
        EXPECT_EQ(g.cell(3, c)->fore, FlexGrid::kSystemHighlightText);
        EXPECT_EQ(g.cell(2, c)->back, FlexGrid::kDefaultColour);
        EXPECT_EQ(g.cell(2, c)->fore, FlexGrid::kSystemWindowText);
        EXPECT_EQ(g.cell(1, c)->fore, FlexGrid::kDefaultColour);  // never painted
    }
}

TEST(MainGrids, BuddyHeaderSortsNameUpAndServerDown) {
    MainState s;
    SetupBuddyGrid(s);
    s.BudList.setRows(1);
    s.BudList.AddItem("bob\t");
    s.BudList.AddItem("Amy\tServer A");
    SortBuddyGrid(s, 0);
    EXPECT_EQ(column(s.BudList, 0), (QStringList{"Amy", "bob"}));
    SortBuddyGrid(s, 1);
    EXPECT_EQ(column(s.BudList, 1), (QStringList{"Server A", ""}));
}
