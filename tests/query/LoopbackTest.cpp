// Real queries over loopback to the stand-in server.
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"
#include "platform/Text1252.h"
#include "state/AppConfig.h"
#include "support/StandinProcess.h"
#include "support/TestSupport.h"

namespace {
const QString kHost = QStringLiteral("127.0.0.1");

// Queries the row until its name changes or the time is up.
bool queryUntilNamed(MonitorFixture& t, int row, int ms = 3000) {
    const QString before = t.s.ServerGrid.TextMatrix(row, 1);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        t.m.QueryServer(t.s.ServerGrid.TextMatrix(row, 2), t.s.ServerGrid.TextMatrix(row, 3).toInt(),
                        t.s.ServerGrid.TextMatrix(row, 7));
        pumpEvents(150);
        if (t.s.ServerGrid.TextMatrix(row, 1) != before) return true;
    }
    return false;
}
}  // namespace

TEST(Loopback, UtReplyInSeveralDatagramsReversed) {
    const int port = testPortBase(1);
    StandinProcess server({"--game", "ut", "--port", QString::number(port), "--name", "Loop UT",
                           "--player-count", "20", "--split", "300", "--reverse", "--garbage"});
    ASSERT_TRUE(server.ready());
    MonitorFixture t;
    const int row = addFavourite(t.s, kHost, port, "UT");
    ASSERT_TRUE(queryUntilNamed(t, row));
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 1), "Loop UT");
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 4), "20/16");
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 7), "ut");
    EXPECT_EQ(t.s.Flex.Rows(), 21);
}

TEST(Loopback, Ut2004SelectedServerWithProbeAndColourCodes) {
    const int port = testPortBase(12);
    StandinProcess server({"--game", "ut2004", "--port", QString::number(port), "--name", "Loop 2004",
                           "--player-count", "3", "--colour", "--mutators", "MutInstaGib,MutLowGrav",
                           "--delay-ms", "20"});
    ASSERT_TRUE(server.ready());
    appConfig().RefreshDelay = "1";
    MonitorFixture t;
    const int row = addFavourite(t.s, kHost, port, "UT3");
    ASSERT_TRUE(queryUntilNamed(t, row));
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 1), "Loop 2004");  // shown without its colour code
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 4), "03/16");
    EXPECT_EQ(t.s.panel.Label8, "Mutators: MutInstaGib, MutLowGrav");
    EXPECT_EQ(t.s.panel.Label9, "Goal Limit: 25");
    EXPECT_EQ(t.s.panel.Label6, "Translocator: Yes");
    EXPECT_EQ(t.s.panel.Text2, QString::number(port - 10));
    EXPECT_GE(t.s.ServerGrid.TextMatrix(row, 6).toInt(), 20);  // the delay is in the ping
}

TEST(Loopback, Ut2003LowerCaseRulesAndFinalFirst) {
    const int port = testPortBase(15);
    StandinProcess server({"--game", "ut2003", "--port", QString::number(port), "--name", "Loop 2003",
                           "--player-count", "12", "--split", "200", "--final-first", "--timelimit", "30"});
    ASSERT_TRUE(server.ready());
    appConfig().RefreshDelay = "1";
    MonitorFixture t;
    const int row = addFavourite(t.s, kHost, port, "UT2");
    ASSERT_TRUE(queryUntilNamed(t, row));
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 4), "12/16");
    EXPECT_EQ(t.s.panel.Label3, "Time Limit: 30");
}

TEST(Loopback, LostFinalDatagramDecodesNothing) {
    const int port = testPortBase(3);
    StandinProcess server({"--game", "ut", "--port", QString::number(port), "--player-count", "10",
                           "--split", "200", "--drop", "3"});
    ASSERT_TRUE(server.ready());
    MonitorFixture t;
    const int row = addFavourite(t.s, kHost, port, "UT");
    EXPECT_FALSE(queryUntilNamed(t, row, 800));
    EXPECT_TRUE(t.s.ReadyToQuery);
}

TEST(Loopback, AutomaticScanVisitsEveryServer) {
    const int port = testPortBase(5);
    StandinProcess server({"--game", "ut", "--port", QString::number(port), "--servers", "4",
                           "--name", "Scan"});
    ASSERT_TRUE(server.ready());
    appConfig().RefreshDelay = "1";
    MonitorFixture t;
    for (int i = 0; i < 4; ++i) addFavourite(t.s, kHost, port + i, "UT");
    addFavourite(t.s, kHost, 0, "UT");  // a broken row does not stall the scan
    t.s.ReadyToQuery = true;
    t.s.AutoScan.setEnabled(true);
    pumpEvents(1600);
    t.s.AutoScan.setEnabled(false);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(t.s.ServerGrid.TextMatrix(i + 1, 1), QString("Scan %1").arg(i + 1));
}
