// The automatic scan, the selected-server mode and the autoscan menu item.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "QueryTestHelpers.h"
#include "state/AppConfig.h"
#include "support/TestSupport.h"

namespace {
// Unroutable-free loopback ports nobody answers on.
const QString kHost = QStringLiteral("127.0.0.1");

struct Scan : MonitorFixture {
    Scan(int rows) {
        appConfig().RefreshDelay = QStringLiteral("1");
        for (int i = 0; i < rows; ++i) addFavourite(s, kHost, 40000 + i, "UT");
        s.ReadyToQuery = true;
    }
    QString mark(int row) const { return s.ServerGrid.TextMatrix(row, 0); }
};
}  // namespace

TEST(ScanScheduling, MarkerWalksAndWraps) {
    Scan t(3);
    t.m.AutoScan_Timer();
    EXPECT_EQ(t.s.ScanRow, 1);
    EXPECT_EQ(t.mark(1), "1<");
    EXPECT_EQ(t.mark(3), "3");
    t.m.AutoScan_Timer();
    EXPECT_EQ(t.mark(1), "1");
    EXPECT_EQ(t.mark(2), "2<");
    t.m.AutoScan_Timer();
    t.m.AutoScan_Timer();
    EXPECT_EQ(t.s.ScanRow, 1);
    EXPECT_EQ(t.mark(1), "1<");
    EXPECT_EQ(t.mark(3), "3");
    EXPECT_TRUE(t.s.AutoScanMode);
}

TEST(ScanScheduling, SingleFavouriteShowsNoMarker) {
    Scan t(1);
    t.m.AutoScan_Timer();
    EXPECT_EQ(t.mark(1), "1");
}

TEST(ScanScheduling, TickWaitsWhileQueryInProgress) {
    Scan t(3);
    t.s.ReadyToQuery = false;
    t.m.AutoScan_Timer();
    EXPECT_EQ(t.s.ScanRow, 0);
}

TEST(ScanScheduling, RefreshDelaySetsIntervalAndProbeWait) {
    const struct { const char* delay; int interval; int minWaitMs; } cases[] = {
        {"", 400, 200}, {"5", 1000, 500}};
    for (const auto& c : cases) {
        Scan t(0);
        addFavourite(t.s, kHost, 40100, "UT2");
        appConfig().RefreshDelay = QString::fromLatin1(c.delay);
        QElapsedTimer clock;
        clock.start();
        t.m.AutoScan_Timer();
        EXPECT_EQ(t.s.AutoScan.Interval(), c.interval);
        EXPECT_GE(clock.elapsed(), c.minWaitMs) << "probe wait";
        EXPECT_LT(clock.elapsed(), c.minWaitMs + 300);
        EXPECT_TRUE(t.s.ReadyToQuery);
    }
    EXPECT_EQ(appConfig().RefreshDelay, "5");
}

TEST(ScanScheduling, LowerCaseCodeGetsNoProbe) {
    Scan t(0);
    addFavourite(t.s, kHost, 40200, "ut2");
    appConfig().RefreshDelay = "5";
    QElapsedTimer clock;
    clock.start();
    t.m.AutoScan_Timer();
    EXPECT_LT(clock.elapsed(), 200);
}

TEST(ScanScheduling, UnusableRowsAreSkippedAndTheScanGoesOn) {
    // A port below 1 sends nothing but leaves the scan free to go on; an address
    // without three dots is skipped without touching any state.
    const struct { const char* address; int port; bool readyBefore; bool readyAfter; } cases[] = {
        {"127.0.0.1", 0, true, true}, {"127.0.0.1", -5, false, true},
        {"localhost", 40300, false, false}, {"", 40300, true, true}};
    for (const auto& c : cases) {
        Scan t(0);
        t.s.ReadyToQuery = c.readyBefore;
        t.m.QueryServer(QString::fromLatin1(c.address), c.port, "UT");
        EXPECT_EQ(t.s.ReadyToQuery, c.readyAfter) << c.address << " " << c.port;
    }
}

TEST(ScanScheduling, RowWithBadPortDoesNotStallTheScan) {
    Scan t(0);
    addFavourite(t.s, kHost, 40400, "UT");
    addFavourite(t.s, kHost, 40401, "UT");
    t.s.ServerGrid.setTextMatrix(1, 3, "x");
    t.m.AutoScan_Timer();
    t.m.AutoScan_Timer();
    EXPECT_EQ(t.s.ScanRow, 2);
}

TEST(ScanScheduling, ExitRequestedEndsTheProgram) {
    ProgramEndRecorder ended;
    Scan t(1);
    t.s.ExitRequested = true;
    t.s.AutoScan.setEnabled(true);
    t.m.AutoScan_Timer();
    EXPECT_FALSE(t.s.AutoScan.Enabled());
    t.s.ClickScan.setEnabled(true);
    t.m.ClickScan_Timer();
    EXPECT_FALSE(t.s.ClickScan.Enabled());
    EXPECT_EQ(ended.count, 2);
}

TEST(ScanScheduling, ServerRowClickStartsSelectedMode) {
    Scan t(3);
    t.s.AutoScan.setEnabled(true);
    t.s.ServerGrid.setMouseCell(2, 1);
    t.m.ServerGrid_Click();
    EXPECT_FALSE(t.s.AutoScan.Enabled());
    EXPECT_TRUE(t.s.ClickScan.Enabled());
    EXPECT_FALSE(t.s.AutoScanMode);
    EXPECT_EQ(t.s.ScanRow, 2);
    EXPECT_EQ(t.s.panel.Text1, kHost);
    EXPECT_EQ(t.s.ServerGrid.cell(2, 0)->back, FlexGrid::kSystemHighlight);
}

TEST(ScanScheduling, HeaderClickSortsAndStopsAutomaticMode) {
    Scan t(3);
    t.s.AutoScan.setEnabled(true);
    t.s.ServerGrid.setTextMatrix(2, 0, "2<");
    t.s.ServerGrid.setMouseCell(0, 0);
    t.m.ServerGrid_Click();
    EXPECT_FALSE(t.s.AutoScan.Enabled());
    EXPECT_FALSE(t.s.ClickScan.Enabled());
    EXPECT_EQ(t.mark(2), "2");
}

TEST(ScanScheduling, ClickOnRowWithoutAddressQueriesNothing) {
    Scan t(2);
    t.s.ServerGrid.setTextMatrix(2, 2, "");
    t.s.panel.Label1 = "Map: X";
    t.s.ServerGrid.setMouseCell(2, 1);
    t.m.ServerGrid_Click();
    EXPECT_EQ(t.s.panel.Label1, "Map: ");
    EXPECT_FALSE(t.s.ClickScan.Enabled());
    EXPECT_EQ(t.s.ServerGrid.cell(2, 1)->back, FlexGrid::kSystemHighlight);
}

TEST(ScanScheduling, BuddyClickSelectsTheBuddysServer) {
    Scan t(3);
    t.s.ServerGrid.setTextMatrix(3, 1, "Buddy Place");
    t.s.BudList.setTextMatrix(1, 0, "bob");
    t.s.BudList.setTextMatrix(1, 1, "Buddy Place");
    t.s.AutoScan.setEnabled(true);
    t.s.BudList.setMouseCell(1, 0);
    t.m.BudList_Click();
    EXPECT_EQ(t.s.ScanRow, 3);
    EXPECT_TRUE(t.s.ClickScan.Enabled());
    EXPECT_FALSE(t.s.AutoScan.Enabled());
    EXPECT_EQ(t.s.ServerGrid.TopRow(), 3);
}

TEST(ScanScheduling, AutoscanMenuAndIndicator) {
    Scan t(1);
    t.s.panel.Label1 = "Map: X";
    t.m.mnuauto_Click();
    EXPECT_TRUE(t.s.AutoScan.Enabled());
    EXPECT_TRUE(t.s.ReadyToQuery);
    EXPECT_EQ(t.s.panel.Label1, "Map: ");
    t.m.ASIndicator_Timer();
    EXPECT_EQ(t.s.mnuautoCaption, "&Autoscan: On");
    t.s.ClickScan.setEnabled(true);
    t.m.mnuauto_Click();
    EXPECT_FALSE(t.s.AutoScan.Enabled());
    EXPECT_FALSE(t.s.AutoScanMode);
    EXPECT_FALSE(t.s.ReadyToQuery);
    EXPECT_TRUE(t.s.ClickScan.Enabled());
    t.m.ASIndicator_Timer();
    EXPECT_EQ(t.s.mnuautoCaption, "&Autoscan: Off");
}

TEST(ScanScheduling, TimersRunTheMonitorsHandlers) {
    Scan t(2);
    t.s.AutoScan.fire();
    EXPECT_EQ(t.s.ScanRow, 1);
    t.s.ASIndicator.fire();
    EXPECT_EQ(t.s.mnuautoCaption, "&Autoscan: Off");
}
