// What a click on a header of the server, players or buddies grid does to the rows.
#include <gtest/gtest.h>

#include "query/MainGrids.h"
#include "support/TestSupport.h"

namespace {
QStringList column(const FlexGrid& g, int col) {
    QStringList out;
    for (int r = 1; r < g.Rows(); ++r) out << g.TextMatrix(r, col);
    return out;
}

// The rows, their cells separated by tabs, in place of the grid's rows.
void fill(FlexGrid& g, std::initializer_list<const char*> rows) {
    g.setRows(int(rows.size()) + 1);
    int r = 0;
    for (const char* row : rows) {
        const QStringList cells = QString(row).split('\t');
        ++r;
        for (int c = 0; c < cells.size(); ++c) g.setTextMatrix(r, c, cells[c]);
    }
}
}  // namespace

// Numbers are renumbered and the scan's marker dropped, whatever the column.
TEST(MainGrids, ServerSortsRenumberAndPutServersWithoutPingLast) {
    MainState s;
    SetupServerGrid(s);
    FlexGrid& g = s.ServerGrid;
    // Number, name, address, port, players, -, ping: a silent server has no ping, one
    // never answered a blank.
    fill(g, {"1\tBravo\t\t\t03/16\t\t120", "2\talpha\t\t\t10/16\t\t", "3\tCharlie\t\t\t09/16\t\t ",
             "4\tDelta\t\t\t00/16\t\t45"});
    const std::pair<int, QStringList> sorts[] = {
        {ServerCol::Players, {"alpha", "Charlie", "Bravo", "Delta"}},     // most players first
        {ServerCol::Ping, {"Delta", "Bravo", "alpha", "Charlie"}},        // fastest first
        {ServerCol::Name, {"Bravo", "Charlie", "Delta", "alpha"}},        // capitals first
        {ServerCol::QueryPort, {"Bravo", "Charlie", "Delta", "alpha"}}};  // no sort: the order stays
    for (const auto& [col, names] : sorts) {
        SCOPED_TRACE(col);
        g.setTextMatrix(2, 0, "2<");
        SortServerGrid(s, col);
        EXPECT_EQ(column(g, ServerCol::Name), names);
        EXPECT_EQ(column(g, 0), (QStringList{"1", "2", "3", "4"}));
    }
    g.setTextMatrix(4, 0, "");
    SortServerGrid(s, 0);  // an empty number cell stays empty
    EXPECT_EQ(column(g, 0), (QStringList{"1", "2", "3", ""}));
}

TEST(MainGrids, PlayersSortByNumbersTeamByItsHiddenNumberAndBuddiesByNameUpServerDown) {
    MainState s;
    SetupPlayerGrid(s);
    SetupBuddyGrid(s);
    // Name, frags, ping, -, team number.
    fill(s.Flex, {"zed\t5\t80\t\t255", "Amy\t12\t40\t\t1", "bob\t-2\t120\t\t0"});
    const std::pair<int, QStringList> sorts[] = {{PlayerCol::Team, {"bob", "Amy", "zed"}},
                                                 {PlayerCol::Score, {"Amy", "zed", "bob"}},
                                                 {PlayerCol::Ping, {"Amy", "zed", "bob"}},
                                                 {PlayerCol::Name, {"Amy", "bob", "zed"}}};
    for (const auto& [col, names] : sorts) {
        SortPlayerGrid(s, col);
        EXPECT_EQ(column(s.Flex, 0), names) << col;
    }
    fill(s.BudList, {"bob\t", "Amy\tServer A"});
    SortBuddyGrid(s, 0);
    EXPECT_EQ(column(s.BudList, 0), (QStringList{"Amy", "bob"}));
    SortBuddyGrid(s, 1);
    EXPECT_EQ(column(s.BudList, 1), (QStringList{"Server A", ""}));
}
