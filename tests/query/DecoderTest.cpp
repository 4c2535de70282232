// How a UT, UT2003 or UT2004 reply becomes the server row, the players grid and the panel.
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"

namespace {
// The one favourite of the given game, asked once as the selected server.
struct Decode : MonitorFixture {
    int port;
    explicit Decode(bool ut2 = true)
        : MonitorFixture({favourite(ut2 ? kQuietUt2Port : kQuietUtPort, ut2 ? "UT3" : "UT")}),
          port(ut2 ? kQuietUt2Port : kQuietUtPort) {
        s.ScanRow = 1;
        ask(1);
    }
    void feed(const QByteArray& d) { MonitorFixture::feed(d, port); }
};
}  // namespace

TEST(Decoder, Ut2RowInAutomaticModeLeavesPlayersAndPanelEmpty) {
    Decode t;
    t.s.AutoScanMode = true;
    const QByteArray players = playerKeys(0, "Alpha") + playerKeys(1, "Beta", "1") + playerKeys(2, "Gamma");
    t.feed(withPlayers(ut2004Reply({}, "3").replace("xDeathMatch", "ONSOnslaughtGame"), players));
    EXPECT_EQ(t.cell(1, ServerCol::Name), "Test Server");
    EXPECT_EQ(t.cell(1, ServerCol::Players), "03/16");
    EXPECT_LT(t.cell(1, ServerCol::Ping).toInt(), 1000);
    EXPECT_EQ(t.cell(1, ServerCol::GameType), "Onslaught");
    EXPECT_EQ(t.s.Flex.Rows(), 2);
    EXPECT_EQ(t.s.Flex.TextMatrix(1, 0), "");
    EXPECT_EQ(t.s.panel.Frame1, "Server Information:");
}

// UT2 servers list fewer players than they announce; the row shows those listed.
TEST(Decoder, Ut2PlayerCountCorrectedToPlayersListed) {
    Decode t;
    // player 2 has no frags key right after it
    t.feed(withPlayers(ut2004Reply({}, "4"),
                       playerKeys(0, "Alpha") + playerKeys(1, "Beta") + "\\player_2\\Ghost\\ping_2\\5\\frags_2\\1"));
    EXPECT_EQ(t.cell(1, ServerCol::Players), "02/16");
    EXPECT_EQ(t.s.Flex.Rows(), 3);
}

TEST(Decoder, Ut2SelectedModeFillsPlayersByTeamAndThePanelWithProbeRules) {
    Decode t;
    t.s.AutoScanMode = false;
    t.s.PlayerSortCol = 3;  // by team number
    t.MonitorFixture::feed(probeReply({{"AdminName", "Root"}, {"GoalScore", "25"}, {"TimeLimit", "20"},
                                       {"Translocator", "True"}, {"Mutator", "MutInstaGib"}, {"Mutator", "MutLowGrav"}}),
                           t.port - 9);
    const QByteArray players = playerKeys(0, "Alpha", "1") + playerKeys(1, "Beta", "255") +
                               playerKeys(2, "Gamma", "0") + playerKeys(3, "Delta", "7");
    t.feed(withPlayers(ut2004Reply({{"adminname", "Root"}, {"adminemail", "root@example.com"}, {"gamever", "3369abc"}}, "4"),
                       players));
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
    const char* order[] = {"Gamma", "Alpha", "Delta", "Beta"};  // team numbers sorted as numbers
    const int pictures[] = {PictureRed, PictureBlue, 0, PictureSpec};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(f.TextMatrix(i + 1, 0), QString::fromLatin1(order[i]));
        EXPECT_EQ(f.cell(i + 1, 3)->picture, pictures[i]) << order[i];
    }
    EXPECT_EQ(f.TextMatrix(2, 1), "0");   // Alpha's frags
    EXPECT_EQ(f.TextMatrix(2, 2), "50");  // Alpha's ping
}

TEST(Decoder, Ut2MissingKeysShowNAOrNothing) {
    Decode t;
    QByteArray r = ut2004Reply({});
    r.replace("\\password\\0", "").replace("\\hostname\\Test Server", "");
    t.feed(r);
    EXPECT_EQ(t.cell(1, ServerCol::Name), "");
    EXPECT_EQ(t.s.panel.Label3, "Time Limit: N/A");
    EXPECT_EQ(t.s.panel.Label5, "P/W: No");
    EXPECT_EQ(t.s.panel.Label8, "Mutators: ");
}

// The probe's rules belong to the server that sent them, also when its status comes in parts.
TEST(Decoder, ProbeRulesAreUsedOnlyForTheirOwnServer) {
    for (const bool own : {true, false}) {
        Decode t;
        t.MonitorFixture::feed(probeReply({{"TimeLimit", "15"}}), own ? t.port - 9 : 9000 - 9);
        for (const QByteArray& part : numberedParts(ut2004Reply({}), 1, {"\\numplayers"})) t.feed(part);
        EXPECT_EQ(t.s.panel.Label3, own ? "Time Limit: 15" : "Time Limit: N/A");
    }
}

TEST(Decoder, ReplyFromAServerNotAskedChangesNothing) {
    Decode t;
    t.MonitorFixture::feed(ut2004Reply({}), t.port + 1);
    t.MonitorFixture::feed(ut2004Reply({}), t.port, QStringLiteral("127.0.0.2"));
    EXPECT_EQ(t.cell(1, ServerCol::Name), kHost);
}

// A reply cut right after a key: UT reads the value as empty, UT2 reads nothing at all.
TEST(Decoder, KeyAsLastField) {
    EXPECT_FALSE(decodeStatusReply("\\gamename\\ut2004\\hostname\\Late\\maxplayers", {}));
    const auto st = decodeStatusReply(
        "\\gamename\\ut\\hostname\\Cut\\numplayers\\1\\player_0\\Last\\frags_0\\4\\maxplayers", {});
    ASSERT_TRUE(st);
    EXPECT_EQ(st->maxPlayers, "");
    ASSERT_EQ(st->players.size(), 1);
    EXPECT_EQ(st->players[0].name, "Last");
    EXPECT_EQ(st->players[0].ping, "");
}

TEST(Decoder, UtRowAndPanelKeepTheAnnouncedCountAndLowerCase) {
    Decode t(false);
    const QByteArray players = playerKeys(0, "A") + playerKeys(1, "B") + playerKeys(2, "C") + playerKeys(3, "D");
    t.feed(withPlayers(utReply({{"gametype", "x"}, {"mutators", "InstaGib Arena"}, {"goalteamscore", "3"},
                                {"password", "True"}}, "6"), players));
    EXPECT_EQ(t.cell(1, ServerCol::Name), "UT Server");
    EXPECT_EQ(t.cell(1, ServerCol::Players), "06/16");
    EXPECT_EQ(t.cell(1, ServerCol::GameCode), "ut");
    EXPECT_EQ(t.cell(1, ServerCol::GameType), "DEATHMATCHPLUS");
    EXPECT_EQ(t.s.Flex.Rows(), 5);
    const InfoPanel& p = t.s.panel;
    EXPECT_EQ(p.Label7, "Game Type: deathmatchplus");
    EXPECT_EQ(p.Label3, "Time Limit: ");  // no "N/A" for UT
    EXPECT_EQ(p.Label5, "P/W: Yes");
    EXPECT_EQ(p.Label6, "Translocator:");  // design caption, never written
    EXPECT_EQ(p.Label8, "Mutators: instagib arena");
    EXPECT_EQ(p.Label9, "Goal Limit: 3");
}

TEST(Decoder, UtCtfGameAndLeadingBlankPing) {
    Decode t(false);
    QByteArray r = utReply({}, "1");
    t.feed(withPlayers(r.replace("DeathMatchPlus", "CTFGame"), "\\player_0\\Solo\\frags_0\\2\\ping_0\\ 61\\team_0\\1"));
    EXPECT_EQ(t.cell(1, ServerCol::GameType), "CTF");
    EXPECT_EQ(t.s.panel.Label7, "Game Type: ctf");
    EXPECT_EQ(t.s.Flex.TextMatrix(1, 2), " 61");
}
