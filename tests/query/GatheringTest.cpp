// When a gathered status reply is complete, and which decoder it goes to.
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"
#include "query/ReplyGathering.h"

namespace {
const QString kHost = QStringLiteral("127.0.0.1");
constexpr int kPort = 7778;
}  // namespace

TEST(Gathering, CompletionRules) {
    const struct { const char* text; bool complete; } cases[] = {
        {"\\gamename\\ut\\numplayers\\3\\final\\", true},
        {"\\gamename\\ut\\numplayers\\3\\", false},                    // no final
        {"\\numplayers\\3\\final\\", false},                           // no gamename
        {"\\GameName\\ut\\numplayers\\3\\final\\", false},             // key case matters
        {"\\gamename\\ut\\final\\", false},                            // no numplayers
        {"\\gamename\\ut\\NumPlayers\\3\\final\\", true},              // numplayers any case
        {"\\gamename\\ut\\numplayers\\9\\player_0\\a\\player_10\\b\\final\\", true},  // player_1 found inside player_10
        {"\\gamename\\ut\\numplayers\\10\\player_0\\a\\final\\", false},  // waits for player_2
        {"\\gamename\\ut\\numplayers\\12\\player_0\\a\\player_4\\e\\final\\", true},
        {"\\gamename\\ut\\numplayers\\12\\final\\", true},             // no player_0 listed
        {"\\gamename\\ut\\numplayers\\x\\final\\", true},              // no number: no wait
        {"\\gamename\\ut\\numplayers\\10000\\player_0\\a\\player_2\\c\\final\\", true},  // "10"
    };
    for (const auto& c : cases)
        EXPECT_EQ(isStatusComplete(QString::fromLatin1(c.text)), c.complete) << c.text;
}

TEST(Gathering, GameRouting) {
    EXPECT_EQ(replyGame("\\gamename\\ut2004\\"), ReplyGame::Ut2);
    EXPECT_EQ(replyGame("\\gamename\\UT2\\"), ReplyGame::Ut2);
    EXPECT_EQ(replyGame("\\gamename\\ut2d\\"), ReplyGame::Ut2);
    EXPECT_EQ(replyGame("\\gamename\\Ut\\"), ReplyGame::Ut);
    EXPECT_EQ(replyGame("\\gamename\\unreal\\"), ReplyGame::None);
}

TEST(Gathering, ProbeDatagramTest) {
    EXPECT_TRUE(isProbeDatagram(QString::fromLatin1(QByteArray("\x80\0\0\0\x01", 5))));
    EXPECT_FALSE(isProbeDatagram(QString::fromLatin1(QByteArray("\0\0\\status", 9))));  // NUL NUL first
    EXPECT_FALSE(isProbeDatagram("\\hostname\\x"));
}

TEST(Gathering, TenPlayersHeldUntilPlayerTwoArrives) {
    MonitorFixture t;
    const int row = addFavourite(t.s, kHost, kPort, "UT");
    QByteArray first = utReply({}, "10");
    first = withPlayers(first, playerKeys(0, "a") + playerKeys(1, "b"));
    t.m.onDatagram(first, kHost, kPort);
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 1), kHost);  // held
    t.m.onDatagram(playerKeys(2, "c") + "\\queryid\\9.2", kHost, kPort);
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 1), "UT Server");
    EXPECT_EQ(t.m.reply().StatusText, "");
}

TEST(Gathering, DatagramsJoinedInArrivalOrderFinalFirst) {
    MonitorFixture t;
    const int row = addFavourite(t.s, kHost, kPort, "UT");
    t.m.onDatagram("\\numplayers\\0\\final\\\\queryid\\3.2", kHost, kPort);
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 1), kHost);
    t.m.onDatagram("\\gamename\\ut\\hostname\\Late Start\\queryid\\3.1", kHost, kPort);
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 1), "Late Start");
}

TEST(Gathering, RepliesOfTwoServersNeverMix) {
    MonitorFixture t;
    const int a = addFavourite(t.s, kHost, kPort, "UT");
    const int b = addFavourite(t.s, kHost, kPort + 1, "UT");
    t.m.onDatagram("\\gamename\\ut\\hostname\\Server A\\queryid\\1.1", kHost, kPort);
    t.m.onDatagram(utReply({}).replace("UT Server", "Server B"), kHost, kPort + 1);
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(a, 1), kHost);
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(b, 1), "Server B");
}

TEST(Gathering, StatusDatagramEndsTheProbeWait) {
    MonitorFixture t;
    addFavourite(t.s, kHost, kPort, "UT3");
    t.m.reply().AwaitingProbe = true;
    t.m.onDatagram(probeReply({}), kHost, kPort - 9);
    EXPECT_TRUE(t.m.reply().AwaitingProbe);
    t.m.onDatagram("\\gamename\\ut2004", kHost, kPort);
    EXPECT_FALSE(t.m.reply().AwaitingProbe);
}

TEST(Gathering, OversizedReplyDroppedThroughItsFinal) {
    MonitorFixture t;
    const int row = addFavourite(t.s, kHost, kPort, "UT");
    const QByteArray chunk = "\\pad\\" + QByteArray(1000, 'x');
    t.m.onDatagram("\\gamename\\ut\\hostname\\Flood", kHost, kPort);
    for (int i = 0; i < 200; ++i) {
        t.m.onDatagram(chunk, kHost, kPort);
        ASSERT_LE(t.m.reply().StatusText.size(), ServerMonitor::kMaxStatusText);
    }
    t.m.onDatagram("\\gamename\\ut\\numplayers\\0\\final\\", kHost, kPort);
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 1), kHost);  // the flood decoded nothing
    t.m.onDatagram(utReply({}), kHost, kPort);             // the next reply is fine
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(row, 1), "UT Server");
    for (int i = 0; i < 100; ++i) t.m.onDatagram(probeReply({{"Pad", QByteArray(500, 'p')}}), kHost, kPort - 9);
    EXPECT_LE(t.m.reply().ProbeBuffer.size(), ServerMonitor::kMaxProbeBuffer);
}

TEST(Gathering, DecodedReplyNotifiesThePanel) {
    MonitorFixture t;
    addFavourite(t.s, kHost, kPort, "UT");
    int notified = 0;
    t.m.panelChanged = [&] { ++notified; };
    t.m.onDatagram("\\gamename\\ut\\hostname\\Half", kHost, kPort);
    EXPECT_EQ(notified, 0);
    t.m.onDatagram(utReply({}), kHost, kPort);
    EXPECT_EQ(notified, 1);
}
