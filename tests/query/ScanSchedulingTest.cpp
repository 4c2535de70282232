// The automatic scan, the selected-server mode and the clicks that choose between them.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include "QueryTestHelpers.h"

namespace {
// Favourites on loopback ports nobody answers on.
QStringList favourites(int rows, int firstPort, const char* code) {
    QStringList lines;
    for (int i = 0; i < rows; ++i) lines << favourite(firstPort + i, code);
    return lines;
}

struct Scan : MonitorFixture {
    explicit Scan(int rows, int firstPort = 40000, const char* code = "UT")
        : MonitorFixture(favourites(rows, firstPort, code)) {
        appConfig().RefreshDelay = QStringLiteral("1");
        s.ReadyToQuery = true;
    }
    QString mark(int row) const { return s.ServerGrid.TextMatrix(row, 0); }
};

// A loopback port that notes when each datagram came.
struct Listener {
    QUdpSocket socket;
    QElapsedTimer clock;
    QList<QPair<qint64, QByteArray>> received;
    explicit Listener(int port) {
        socket.bind(QHostAddress::LocalHost, quint16(port));
        clock.start();
        QObject::connect(&socket, &QUdpSocket::readyRead, [this] {
            while (socket.hasPendingDatagrams())
                received.append({clock.elapsed(), socket.receiveDatagram().data()});
        });
    }
};
}  // namespace

TEST(ScanScheduling, MarkerWalksAndWrapsNeverMarksALoneOrEmptyRowAndClosingEndsTheProgram) {
    Scan t(3);
    t.s.ReadyToQuery = false;  // a query in progress: the tick waits
    t.m.AutoScan_Timer();
    EXPECT_EQ(t.s.ScanRow, 0);
    t.s.ReadyToQuery = true;
    const QStringList marks[] = {{"1<", "2", "3"}, {"1", "2<", "3"}, {"1", "2", "3<"}, {"1<", "2", "3"}};
    for (const QStringList& expected : marks) {
        t.m.AutoScan_Timer();
        EXPECT_EQ((QStringList{t.mark(1), t.mark(2), t.mark(3)}), expected);
    }
    EXPECT_EQ(t.s.ScanRow, 1);
    EXPECT_TRUE(t.s.AutoScanMode);
    // With the program closing, the next tick of either timer ends it.
    ProgramEndRecorder ended;
    t.s.ExitRequested = true;
    t.s.AutoScan.setEnabled(true);
    t.m.AutoScan_Timer();
    t.s.ClickScan.setEnabled(true);
    t.m.ClickScan_Timer();
    EXPECT_FALSE(t.s.AutoScan.Enabled());
    EXPECT_FALSE(t.s.ClickScan.Enabled());
    EXPECT_EQ(ended.count, 2);

    Scan one(1);
    one.m.AutoScan_Timer();
    EXPECT_EQ(one.mark(1), "1");
    Scan none(0);
    none.m.AutoScan_Timer();
    none.m.AutoScan_Timer();
    EXPECT_EQ(none.mark(1), "");
    ASSERT_TRUE(SaveSortedServerList(none.s));
    EXPECT_EQ(none.folder.read(kServersFileName), "");  // no favourite "::"
}

// The probe wait holds no handler: the tick returns before "\status\" is sent, which
// follows RefreshDelay x 100 ms after the probe. A lower-case game code sends no probe.
TEST(ScanScheduling, ProbeWaitIsRefreshDelayTimesHundredWithoutBlocking) {
    const int port = testPortBase(3);
    // RefreshDelay, tick interval, probe wait, game code.
    const std::tuple<const char*, int, int, const char*> cases[] = {
        {"", 400, 200, "UT3"}, {"5", 1000, 500, "UT2"}, {"5", 1000, 0, "ut2"}};
    for (const auto& [delay, interval, waitMs, code] : cases) {
        SCOPED_TRACE(code);
        Scan t(1, port, code);
        Listener game(port - 9), query(port);
        appConfig().RefreshDelay = QString::fromLatin1(delay);
        t.m.AutoScan_Timer();
        EXPECT_FALSE(t.m.querier().awaitsStatusReply(kHost, port)) << "the tick waited";
        EXPECT_EQ(t.s.AutoScan.Interval(), interval);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !query.received.isEmpty(); }));
        pumpEvents(50);  // time for a second datagram that must not come
        ASSERT_EQ(query.received.size(), 1);
        EXPECT_EQ(query.received[0].second, "\\status\\");
        EXPECT_GE(query.received[0].first, waitMs);
        EXPECT_EQ(game.received.size(), waitMs ? 1 : 0);
    }
}

TEST(ScanScheduling, ClicksOnTheServerAndBuddyGridsChooseTheMode) {
    Scan t(3);
    t.s.AutoScan.setEnabled(true);
    t.s.ServerGrid.setMouseCell(2, 1);
    t.m.ServerGrid_Click();  // a row: the selected server is asked
    EXPECT_FALSE(t.s.AutoScan.Enabled());
    EXPECT_TRUE(t.s.ClickScan.Enabled());
    EXPECT_FALSE(t.s.AutoScanMode);
    EXPECT_EQ(t.s.ScanRow, 2);
    EXPECT_EQ(t.s.panel.Text1, kHost);
    EXPECT_EQ(t.s.ServerGrid.cell(2, 0)->back, FlexGrid::kSystemHighlight);

    t.s.AutoScan.setEnabled(true);  // automatic mode again
    t.s.ClickScan.setEnabled(false);
    t.s.ServerGrid.setTextMatrix(2, 0, "2<");
    t.s.ServerGrid.setMouseCell(0, 0);
    t.m.ServerGrid_Click();  // the header: sorts and stops the scan
    EXPECT_FALSE(t.s.AutoScan.Enabled());
    EXPECT_FALSE(t.s.ClickScan.Enabled());
    EXPECT_EQ(t.mark(2), "2");

    t.s.ServerGrid.setTextMatrix(3, ServerCol::Address, "");
    t.s.panel.Label1 = "Map: X";
    t.s.ServerGrid.setMouseCell(3, 1);
    t.m.ServerGrid_Click();  // a row without an address: highlighted, nothing asked
    EXPECT_EQ(t.s.panel.Label1, "Map: ");
    EXPECT_FALSE(t.s.ClickScan.Enabled());
    for (int col = 0; col < t.s.ServerGrid.Cols(); ++col) {  // one row highlighted
        EXPECT_EQ(t.s.ServerGrid.cell(3, col)->back, FlexGrid::kSystemHighlight);
        EXPECT_EQ(t.s.ServerGrid.cell(2, col)->back, FlexGrid::kDefaultColour);
    }

    t.s.ServerGrid.setTextMatrix(2, 1, "Buddy Place");
    t.s.BudList.setTextMatrix(1, 0, "bob");
    t.s.BudList.setTextMatrix(1, 1, "Buddy Place");
    t.s.AutoScan.setEnabled(true);
    t.s.BudList.setMouseCell(1, 0);
    t.m.BudList_Click();  // a buddy: the buddy's server is asked
    EXPECT_EQ(t.s.ScanRow, 2);
    EXPECT_TRUE(t.s.ClickScan.Enabled());
    EXPECT_FALSE(t.s.AutoScan.Enabled());
    EXPECT_EQ(t.s.ServerGrid.TopRow(), 2);
}
