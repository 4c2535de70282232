// How a UT reply differs from a UT2003/UT2004 one on screen.
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"

namespace {
const QString kHost = QStringLiteral("127.0.0.1");
const int kPort = kQuietUtPort;

// The selected server, asked once.
struct UtDecode : MonitorFixture {
    int row = 1;
    UtDecode() : MonitorFixture({QStringLiteral("127.0.0.1:%1:UT").arg(kPort)}) {
        s.ScanRow = row;
        ask(row);
    }
    void feed(const QByteArray& d) { MonitorFixture::feed(d, kPort); }
};
}  // namespace

TEST(UtDecoder, GameTypeDisplay) {
    EXPECT_EQ(utGameTypeDisplay("CTFGAME"), "CTF");
    EXPECT_EQ(utGameTypeDisplay("DEATHMATCHPLUS"), "DEATHMATCHPLUS");
    EXPECT_EQ(utGameTypeDisplay("GAMEGAME"), "");
}

TEST(UtDecoder, RowAndPanel) {
    UtDecode t;
    const QByteArray players = playerKeys(0, "A") + playerKeys(1, "B") + playerKeys(2, "C") + playerKeys(3, "D");
    t.feed(withPlayers(utReply({{"gametype", "x"}, {"mutators", "InstaGib Arena"},
                                {"goalteamscore", "3"}, {"password", "True"}}, "6"), players));
    const FlexGrid& g = t.s.ServerGrid;
    EXPECT_EQ(g.TextMatrix(t.row, 1), "UT Server");
    EXPECT_EQ(g.TextMatrix(t.row, 4), "06/16");  // the announced count stays
    EXPECT_EQ(g.TextMatrix(t.row, 7), "ut");
    EXPECT_EQ(g.TextMatrix(t.row, 8), "DEATHMATCHPLUS");
    EXPECT_EQ(t.s.Flex.Rows(), 5);
    const InfoPanel& p = t.s.panel;
    EXPECT_EQ(p.Label7, "Game Type: deathmatchplus");
    EXPECT_EQ(p.Label3, "Time Limit: ");  // no "N/A" for UT
    EXPECT_EQ(p.Label5, "P/W: Yes");
    EXPECT_EQ(p.Label6, "Translocator:");  // design caption, never written
    EXPECT_EQ(p.Label8, "Mutators: instagib arena");
    EXPECT_EQ(p.Label9, "Goal Limit: 3");
}

TEST(UtDecoder, CtfGameAndLeadingBlankPing) {
    UtDecode t;
    QByteArray r = utReply({}, "1");
    r.replace("DeathMatchPlus", "CTFGame");
    t.feed(withPlayers(r, "\\player_0\\Solo\\frags_0\\2\\ping_0\\ 61\\team_0\\1"));
    EXPECT_EQ(t.s.ServerGrid.TextMatrix(t.row, 8), "CTF");
    EXPECT_EQ(t.s.panel.Label7, "Game Type: ctf");
    EXPECT_EQ(t.s.Flex.TextMatrix(1, 2), " 61");
}

TEST(UtDecoder, KeyAsLastFieldLeavesValueEmpty) {
    const auto st = decodeStatusReply(
        "\\gamename\\ut\\hostname\\Cut\\numplayers\\1\\player_0\\Last\\frags_0\\4\\maxplayers", {});
    ASSERT_TRUE(st);
    EXPECT_EQ(st->hostName, "Cut");
    EXPECT_EQ(st->maxPlayers, "");
    ASSERT_EQ(st->players.size(), 1);
    EXPECT_EQ(st->players[0].name, "Last");
    EXPECT_EQ(st->players[0].ping, "");
}
