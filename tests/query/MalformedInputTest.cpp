// Bad datagrams never crash, never reach the wrong row, and stay bounded.
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"
#include "platform/Text1252.h"

namespace {
const QString kHost = QStringLiteral("127.0.0.1");
}

TEST(MalformedInput, RandomBytesAndTruncatedReplies) {
    MonitorFixture t;
    const int ut = addFavourite(t.s, kHost, 7778, "UT");
    addFavourite(t.s, kHost, 7787, "UT3");
    QRandomGenerator rng(4711);
    const QByteArray good = withPlayers(ut2004Reply({}, "3"), playerKeys(0, "a") + playerKeys(1, "b") + playerKeys(2, "c"));
    for (int i = 0; i < 3000; ++i) {
        QByteArray d;
        switch (i % 3) {
            case 0:
                d.resize(int(rng.bounded(1, 1400)));
                for (char& c : d) c = char(rng.bounded(256));
                break;
            case 1: d = good.left(int(rng.bounded(good.size()))) + "\\final\\"; break;
            default:
                d = good;
                for (int k = 0; k < 5; ++k) d[int(rng.bounded(d.size()))] = char(rng.bounded(256));
        }
        t.m.onDatagram(d, kHost, i % 2 ? 7778 : 7787);
        t.m.onDatagram(d, kHost, 7778 - 9);
    }
    EXPECT_LE(t.m.reply().StatusText.size(), ServerMonitor::kMaxStatusText);
    EXPECT_NE(t.s.ServerGrid.TextMatrix(ut, 7), "");
}

TEST(MalformedInput, TenThousandPlayersAnnounced) {
    MonitorFixture t;
    const int row = addFavourite(t.s, kHost, 7787, "UT3");
    QByteArray players;
    for (int i = 0; i < 40; ++i) players += playerKeys(i, "P" + QByteArray::number(i));
    t.m.onDatagram(withPlayers(ut2004Reply({}, "10000"), players), kHost, 7787);
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 4), "40/16");
    EXPECT_EQ(t.s.Flex.Rows(), 41);
}

TEST(MalformedInput, ControlBytesKeptAs1252TextAndColourCodesDropped) {
    MonitorFixture t;
    addFavourite(t.s, kHost, 7787, "UT3");
    const QByteArray name = QByteArray("\x1b\xff\x01\x01Red\x07\t\xe9", 10);
    t.m.onDatagram(withPlayers(ut2004Reply({}, "1"), playerKeys(0, name)), kHost, 7787);
    EXPECT_EQ(t.s.Flex.TextMatrix(1, 0), windows1252ToUnicode(name.mid(4)));
    EXPECT_EQ(t.s.Flex.TextMatrix(1, 1), "0");  // the tab did not split the cells
}

TEST(MalformedInput, KeysInOddCapitals) {
    MonitorFixture t;
    const int row = addFavourite(t.s, kHost, 7778, "UT");
    t.m.onDatagram("\\gamename\\UT\\HostName\\Caps\\NUMPLAYERS\\1\\MaxPlayers\\8"
                   "\\Player_0\\Zed\\FRAGS_0\\3\\ping_0\\ 9\\team_0\\0\\final\\",
                   kHost, 7778);
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 1), "Caps");
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 4), "01/08");
    EXPECT_EQ(t.s.Flex.TextMatrix(1, 0), "Zed");
}

TEST(MalformedInput, UnknownSourcesChangeNothing) {
    MonitorFixture t;
    const int row = addFavourite(t.s, kHost, 7778, "UT");
    t.m.onDatagram("\\gamename\\ut\\hostname\\Part", kHost, 7778);
    t.m.onDatagram(utReply({}), "127.0.0.2", 7778);
    t.m.onDatagram(utReply({}), kHost, 9999);
    t.m.onDatagram(utReply({}), "", 7778);
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 1), kHost);
    EXPECT_EQ(t.m.reply().StatusText, "\\gamename\\ut\\hostname\\Part");
}
