// How a UT2003/UT2004 reply becomes the server row, the players grid and the panel.
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"

namespace {
const QString kHost = QStringLiteral("127.0.0.1");
const int kPort = kQuietUt2Port;

// The selected server, asked once.
struct Ut2Decode : MonitorFixture {
    int row = 1;
    Ut2Decode() : MonitorFixture({QStringLiteral("127.0.0.1:%1:UT3").arg(kPort)}) {
        s.ScanRow = row;
        ask(row);
    }
    void feed(const QByteArray& d, int port = kPort, const QString& host = kHost) {
        MonitorFixture::feed(d, port, host);
    }
};
}  // namespace

TEST(Ut2Decoder, GameTypeDisplay) {
    const struct { const char* in; const char* shown; } cases[] = {
        {"ONSONSLAUGHTGAME", "Onslaught"}, {"INVASION", "Invasion"},
        {"XDEATHMATCH", "Xdeathmatch"}, {"", ""}, {"XCTFGAME", "Xctfgame"}};
    for (const auto& c : cases)
        EXPECT_EQ(ut2GameTypeDisplay(QString::fromLatin1(c.in)), QString::fromLatin1(c.shown)) << c.in;
}

TEST(Ut2Decoder, PasswordDisplay) {
    const struct { const char* in; const char* shown; } cases[] = {
        {"0", "No"}, {"1", "Yes"}, {"", "No"}, {"TrUe", "Yes"}, {"FALSE", "No"}, {"maybe", ""}, {"2", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(passwordDisplay(QString::fromLatin1(c.in)), QString::fromLatin1(c.shown)) << c.in;
}

TEST(Ut2Decoder, RowShowsNamePaddedPlayersPingAndGameType) {
    Ut2Decode t;
    t.s.AutoScanMode = true;
    const QByteArray players = playerKeys(0, "Alpha") + playerKeys(1, "Beta", "1") + playerKeys(2, "Gamma");
    t.feed(withPlayers(ut2004Reply({{"gametype", "ONSOnslaughtGame"}}, "3"), players));
    const FlexGrid& g = t.s.ServerGrid;
    EXPECT_EQ(g.TextMatrix(t.row, 1), "Test Server");
    EXPECT_EQ(g.TextMatrix(t.row, 4), "03/16");
    EXPECT_LT(g.TextMatrix(t.row, 6).toInt(), 1000);
    // the first gametype key wins: xDeathMatch
    EXPECT_EQ(g.TextMatrix(t.row, 8), "Xdeathmatch");
    EXPECT_EQ(g.TextMatrix(t.row, 7), "UT3");
    // automatic mode: players grid emptied, panel untouched
    EXPECT_EQ(t.s.Flex.Rows(), 2);
    EXPECT_EQ(t.s.Flex.TextMatrix(1, 0), "");
    EXPECT_EQ(t.s.panel.Frame1, "Server Information:");
    EXPECT_EQ(t.s.panel.Text2, "");
}

TEST(Ut2Decoder, PlayerCountCorrectedToPlayersListed) {
    Ut2Decode t;
    // 4 announced, players 0 and 1 listed; player 2 has no frags key right after it
    const QByteArray players = playerKeys(0, "Alpha") + playerKeys(1, "Beta") +
                               "\\player_2\\Ghost\\ping_2\\5\\frags_2\\1";
    t.feed(withPlayers(ut2004Reply({}, "4"), players));
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(t.row, 4), "02/16");
    EXPECT_EQ(t.s.Flex.Rows(), 3);
}

TEST(Ut2Decoder, SelectedModeFillsPlayersAndPanel) {
    Ut2Decode t;
    t.s.AutoScanMode = false;
    t.s.PlayerSortCol = 3;  // by team number
    t.feed(probeReply({{"AdminName", "Root"}, {"GoalScore", "25"}, {"TimeLimit", "20"},
                               {"Translocator", "True"}, {"Mutator", "MutInstaGib"},
                               {"Mutator", "MutLowGrav"}}),
           kPort - 9);
    const QByteArray players = playerKeys(0, "Alpha", "1") + playerKeys(1, "Beta", "255") +
                               playerKeys(2, "Gamma", "0") + playerKeys(3, "Delta", "7");
    t.feed(withPlayers(ut2004Reply({{"adminname", "Root"}, {"adminemail", "root@example.com"},
                                    {"gamever", "3369abc"}}, "4"), players));
    const InfoPanel& p = t.s.panel;
    EXPECT_EQ(p.Frame1, "Server information for: Test Server");
    EXPECT_EQ(p.Label1, "Map: Torlan (ONS-Torlan)");
    EXPECT_EQ(p.Text3, "Root ( root@example.com )");
    EXPECT_EQ(p.Label3, "Time Limit: 20");
    EXPECT_EQ(p.Label4, "Version:3369ABC");
    EXPECT_EQ(p.Label5, "P/W: No");
    EXPECT_EQ(p.Label6, "Translocator: Yes");
    EXPECT_EQ(p.Label7, "Game Type: Xdeathmatch");
    EXPECT_EQ(p.Label8, "Mutators: MutInstaGib, MutLowGrav");
    EXPECT_EQ(p.Label9, "Goal Limit: 25");
    EXPECT_EQ(p.Text1, kHost);
    EXPECT_EQ(p.Text2, "7777");

    const FlexGrid& f = t.s.Flex;
    ASSERT_EQ(f.Rows(), 5);  // four players, no trailing empty row
    // sorted by team number, numerically
    const char* order[] = {"Gamma", "Alpha", "Delta", "Beta"};
    const int pictures[] = {PictureRed, PictureBlue, 0, PictureSpec};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(f.TextMatrix(i + 1, 0), QString::fromLatin1(order[i]));
        EXPECT_EQ(f.cell(i + 1, 3)->picture, pictures[i]) << order[i];
    }
    EXPECT_EQ(f.TextMatrix(2, 1), "0");   // Alpha's frags
    EXPECT_EQ(f.TextMatrix(2, 2), "50");  // Alpha's ping
    EXPECT_EQ(f.TextMatrix(2, 4), "1");
    EXPECT_TRUE(f.Redraw());
}

TEST(Ut2Decoder, MissingProbeValuesAndPasswordKey) {
    Ut2Decode t;
    QByteArray r = ut2004Reply({});
    r.replace("\\password\\0", "");
    t.feed(r);
    EXPECT_EQ(t.s.panel.Label3, "Time Limit: N/A");
    EXPECT_EQ(t.s.panel.Label5, "P/W: No");
    EXPECT_EQ(t.s.panel.Label8, "Mutators: ");
}

TEST(Ut2Decoder, ProbeKeptForReplyInSeveralDatagrams) {
    Ut2Decode t;
    t.feed(probeReply({{"TimeLimit", "15"}}), kPort - 9);
    const QByteArray whole = ut2004Reply({});
    const qsizetype cut = whole.indexOf("\\numplayers");
    t.feed(whole.left(cut) + "\\queryid\\1.1");
    t.feed(whole.mid(cut).replace("\\final\\", "\\queryid\\1.2\\final\\"));
    EXPECT_EQ(t.s.panel.Label3, "Time Limit: 15");
}

TEST(Ut2Decoder, ProbeOfAnotherServerIsNotUsed) {
    Ut2Decode t;
    t.feed(probeReply({{"TimeLimit", "15"}}), 9000 - 9);
    t.feed(ut2004Reply({}));
    EXPECT_EQ(t.s.panel.Label3, "Time Limit: N/A");
}

TEST(Ut2Decoder, NoHostnameEmptiesTheServerCell) {
    Ut2Decode t;
    QByteArray r = ut2004Reply({});
    r.replace("\\hostname\\Test Server", "");
    t.feed(r);
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(t.row, 1), "");
}

TEST(Ut2Decoder, KeyAsLastFieldReadsNothing) {
    // A reply cut right after a key has no value to read: no status at all.
    EXPECT_FALSE(decodeStatusReply("\\gamename\\ut2004\\hostname\\Late\\maxplayers", {}));
    EXPECT_TRUE(decodeStatusReply("\\gamename\\ut2004\\hostname\\Late\\maxplayers\\8", {}));
}

TEST(Ut2Decoder, ReplyFromAServerNotAskedChangesNothing) {
    Ut2Decode t;
    t.feed(ut2004Reply({}), kPort + 1);
    t.feed(ut2004Reply({}), kPort, QStringLiteral("127.0.0.2"));
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(t.row, 1), kHost);
}
