// The automatic scan, the clicks on the grids that choose the mode, the header sorts.
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"

namespace {
QStringList column(const FlexGrid& g, int col) {
    QStringList out;
    for (int r = 1; r < g.rowCount(); ++r) out << g.cellText(r, col);
    return out;
}

// The rows, their cells separated by tabs, in place of the grid's rows.
void fill(FlexGrid& g, std::initializer_list<const char*> rows) {
    g.setRowCount(int(rows.size()) + 1);
    int r = 0;
    for (const char* row : rows) {
        const QStringList cells = QString(row).split('\t');
        ++r;
        for (int c = 0; c < cells.size(); ++c) g.setCellText(r, c, cells[c]);
    }
}
// Favourites on loopback ports nobody answers on, a tick every 200 ms.
struct Scan : MonitorFixture {
    explicit Scan(int rows, int firstPort = quietPort(0), const char* code = "UT")
        : MonitorFixture(favourites(firstPort, rows, code)) {
        appConfig().refreshDelay = QStringLiteral("1");
        s.readyToQuery = true;
    }
};

}  // namespace

TEST(ScanScheduling, MarkerWalksAndWrapsNeverMarksALoneOrEmptyRowAndClosingEndsTheProgram) {
    Scan t(3);
    t.s.readyToQuery = false;  // a query in progress: the tick waits
    t.m.onAutoScanTick();
    EXPECT_EQ(t.s.scanRow, 0);
    t.s.readyToQuery = true;
    for (const char* marks : {"1< 2 3", "1 2< 3", "1 2 3<", "1< 2 3"}) {
        t.m.onAutoScanTick();
        EXPECT_EQ(column(t.s.serverGrid, 0).join(' '), marks);
    }
    EXPECT_EQ(t.s.scanRow, 1);
    EXPECT_TRUE(t.s.autoScanMode);
    // With the program closing, the next tick of either timer ends it.
    ProgramEndRecorder ended;
    t.s.exitRequested = true;
    t.s.autoScanTimer.setEnabled(true);
    t.m.onAutoScanTick();
    t.s.selectedScanTimer.setEnabled(true);
    t.m.onClickScanTick();
    EXPECT_FALSE(t.s.autoScanTimer.isEnabled());
    EXPECT_FALSE(t.s.selectedScanTimer.isEnabled());
    EXPECT_EQ(ended.count, 2);

    Scan one(1);
    one.m.onAutoScanTick();
    EXPECT_EQ(one.cell(1, 0), "1");
    Scan none(0);
    none.m.onAutoScanTick();
    none.m.onAutoScanTick();
    EXPECT_EQ(none.cell(1, 0), "");
    ASSERT_TRUE(saveSortedServerList(none.s));
    EXPECT_EQ(none.folder.read(kServersFileName), "");  // no favourite "::"
}

TEST(ScanScheduling, ClicksOnTheServerAndBuddyGridsChooseTheMode) {
    Scan t(3);
    t.s.autoScanTimer.setEnabled(true);
    t.s.serverGrid.setMouseCell(2, 1);
    t.m.onServerGridClicked();  // a row: the selected server is asked
    EXPECT_FALSE(t.s.autoScanTimer.isEnabled());
    EXPECT_TRUE(t.s.selectedScanTimer.isEnabled());
    EXPECT_FALSE(t.s.autoScanMode);
    EXPECT_EQ(t.s.scanRow, 2);
    EXPECT_EQ(t.s.panel.address, kHost);
    EXPECT_EQ(t.s.serverGrid.cell(2, 0)->back, FlexGrid::kSystemHighlight);

    t.s.autoScanTimer.setEnabled(true);  // automatic mode again
    t.s.selectedScanTimer.setEnabled(false);
    t.s.serverGrid.setMouseCell(0, 0);
    t.m.onServerGridClicked();  // the header: sorts and stops the scan
    EXPECT_FALSE(t.s.autoScanTimer.isEnabled());
    EXPECT_FALSE(t.s.selectedScanTimer.isEnabled());

    t.s.serverGrid.setCellText(3, ServerCol::Address, "");
    t.s.panel.map = "Map: X";
    t.s.serverGrid.setMouseCell(3, 1);
    t.m.onServerGridClicked();  // a row without an address: highlighted, nothing asked
    EXPECT_EQ(t.s.panel.map, "Map: ");
    EXPECT_FALSE(t.s.selectedScanTimer.isEnabled());
    for (int col = 0; col < t.s.serverGrid.colCount(); ++col) {  // one row highlighted
        EXPECT_EQ(t.s.serverGrid.cell(3, col)->back, FlexGrid::kSystemHighlight);
        EXPECT_EQ(t.s.serverGrid.cell(2, col)->back, FlexGrid::kDefaultColour);
    }

    t.s.serverGrid.setCellText(2, 1, "Buddy Place");
    t.s.buddyGrid.setCellText(1, 0, "bob");
    t.s.buddyGrid.setCellText(1, 1, "Buddy Place");
    t.s.autoScanTimer.setEnabled(true);
    t.s.buddyGrid.setMouseCell(1, 0);
    t.m.onBuddyGridClicked();  // a buddy: the buddy's server is asked
    EXPECT_EQ(t.s.scanRow, 2);
    EXPECT_TRUE(t.s.selectedScanTimer.isEnabled());
    EXPECT_FALSE(t.s.autoScanTimer.isEnabled());
    EXPECT_EQ(t.s.serverGrid.topRow(), 2);
}

// Numbers are compared as numbers; servers without a ping come last; the server rows are
// renumbered, the scan's marker dropped, whatever the column.
TEST(MainGrids, HeaderSortsOfTheServerAndPlayersGrids) {
    MainState s;
    setUpServerGrid(s);
    setUpPlayerGrid(s);
    // Number, name, address, port, players, -, ping: a silent server has no ping, one
    // never answered a blank.
    fill(s.serverGrid, {"1\tBravo\t\t\t03/16\t\t120", "2\talpha\t\t\t10/16\t\t", "3\tCharlie\t\t\t09/16\t\t ",
                        "4\tDelta\t\t\t00/16\t\t45"});
    // Name, frags, ping, -, team number.
    fill(s.playerGrid, {"zed\t5\t80\t\t255", "Amy\t12\t40\t\t1", "bob\t-2\t120\t\t0", "cat\t0\t60\t\t2"});
    // Server grid or players grid, column, the names in their order.
    const std::tuple<bool, int, const char*> sorts[] = {
        {true, ServerCol::Players, "alpha Charlie Bravo Delta"},  // most players first
        {true, ServerCol::Ping, "Delta Bravo alpha Charlie"},     // fastest first
        {true, ServerCol::Name, "Bravo Charlie Delta alpha"},     // capitals first
        {false, PlayerCol::Team, "bob Amy cat zed"},
        {false, PlayerCol::Score, "Amy zed cat bob"},  // negative frags below none
        {false, PlayerCol::Ping, "Amy cat zed bob"},
        {false, PlayerCol::Name, "Amy bob cat zed"}};
    for (const auto& [server, col, names] : sorts) {
        SCOPED_TRACE(names);
        if (server) {
            s.serverGrid.setCellText(2, 0, "2<");
            sortServerGrid(s, col);
            EXPECT_EQ(column(s.serverGrid, 0).join(' '), "1 2 3 4");
        } else {
            sortPlayerGrid(s, col);
        }
        EXPECT_EQ(column(server ? s.serverGrid : s.playerGrid, server ? 1 : 0).join(' '),
                  names);  // the names
    }
}
