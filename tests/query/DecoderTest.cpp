// How replies become the server row, the players grid, the panel and the text "Copy" puts
// on the clipboard; how parts are put together (also over loopback; crashes: the fuzzer).
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"
#include "platform/Text1252.h"
#include "query/NativeReplies.h"
#include "query/PlayersAndBuddies.h"
#include "query/ReplyGathering.h"
#include "query/StatusDecoders.h"
#include "query/Ut2String.h"

// UT2 servers list fewer players than they announce (some absurdly many): the row shows those listed.
TEST(Decoder, Ut2RowInAutomaticModeCountsListedPlayersAndLeavesPlayersAndPanelEmpty) {
    AskedOnce t;
    t.s.autoScanMode = true;
    // Ghost has no frags key right after the name.
    const QByteArray players =
        playerKeys(0, "Alpha") + playerKeys(1, "Beta") + "\\player_2\\Ghost\\ping_2\\5\\frags_2\\1";
    const QByteArray reply = ut2004Reply("10000", players).replace("xDeathMatch", "ONSOnslaughtGame");
    t.feed(reply, t.port + 1);  // from servers not asked: nothing changes
    t.feed(reply, t.port, QStringLiteral("127.0.0.2"));
    EXPECT_EQ(t.cell(1, ServerCol::Name), kHost);
    t.reply(reply);
    EXPECT_EQ(t.cell(1, ServerCol::Name), "Test Server");
    EXPECT_EQ(t.cell(1, ServerCol::Players), "02/16");
    EXPECT_LT(t.cell(1, ServerCol::Ping).toInt(), 1000);
    EXPECT_EQ(t.cell(1, ServerCol::GameType), "Onslaught");
    EXPECT_EQ(t.s.playerGrid.rowCount(), 2);
    EXPECT_EQ(t.s.playerGrid.cellText(1, 0), "");
    EXPECT_EQ(t.s.panel.title, "Server Information:");
}

// The probe's rules belong to the server that sent them, also when its status comes in
// parts; the admin name of the status wins over the probe's. Missing rules show "N/A"
// (checked over loopback).
TEST(Decoder, Ut2SelectedServerFillsPlayersByTeamThePanelAndTheCopyText) {
    AskedOnce t;
    t.s.autoScanMode = false;
    t.s.playerSortCol = PlayerCol::Team;
    t.feed(probeReply({"AdminName", "Probe", "AdminEmail", "root@example.com", "GoalScore", "25", "TimeLimit",
                       "20", "Translocator", "True", "Mutator", "MutInstaGib", "Mutator", "MutLowGrav"}),
           t.port - 9);
    t.feed(probeReply({"TimeLimit", "15"}), 9000 - 9);  // another server's
    const QByteArray players = playerKeys(0, "Alpha", "1") + playerKeys(1, "Beta", "255") +
                               playerKeys(2, "Gamma", "0") + playerKeys(3, "Delta", "7") +
                               "\\player_4\\Cut\\frags_4";  // the last key has no value: no player
    const QByteArray reply = ut2004Reply("5", "\\adminname\\Root\\gamever\\3369abc" + players);
    for (const QByteArray& part : numberedParts(reply, 1, {"\\numplayers", "\\player_2"})) t.reply(part);
    EXPECT_EQ(
        serverInfoCopyText(t.s),
        "Server information for: Test Server\r\nMap: Torlan (ONS-Torlan)\r\nRoot ( root@example.com )\r\n"
        "Time Limit: 20\r\nVersion:3369ABC\r\nP/W: No\r\nTranslocator: Yes\r\n\r\n"
        "Game Type: Xdeathmatch\r\n\r\nMutators: MutInstaGib, MutLowGrav\r\n\r\nGoal Limit: 25\r\n\r\n"
        // team numbers sorted as numbers; the last "Ping:" is the team
        "Player:Gamma\tFrags:6\tPing:52\tPing:0\t\r\n\r\n"
        "Player:Alpha\tFrags:0\tPing:50\tPing:1\t\r\n\r\n"
        "Player:Delta\tFrags:9\tPing:53\tPing:7\t\r\n\r\n"
        "Player:Beta\tFrags:3\tPing:51\tPing:255\t\r\n\r\n");
    EXPECT_EQ(t.s.panel.address, kHost);
    EXPECT_EQ(t.s.panel.gamePort, "7777");  // the game port Launch joins
    const int pictures[] = {PictureRed, PictureBlue, 0, PictureSpec};
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(t.s.playerGrid.cell(row, PlayerCol::Team)->picture, pictures[row - 1]);
}

TEST(Decoder, ControlBytesKeptAs1252TextAndKeysReadInAnyCase) {
    AskedOnce t;
    const QByteArray name = QByteArray("\x1b\xff\x01\x01Red\x07\t\xe9", 10);
    t.reply("\\gamename\\UT2004\\HostName\\Caps\\NUMPLAYERS\\1\\MaxPlayers\\\\Player_0\\" + name +
            "\\FRAGS_0\\0\\ping_0\\9\\team_0\\0\\final\\");
    EXPECT_EQ(t.cell(1, ServerCol::Name), "Caps");
    EXPECT_EQ(t.cell(1, ServerCol::Players), "01/");  // an empty count stays empty
    EXPECT_EQ(t.s.playerGrid.cellText(1, 0), windows1252ToUnicode(name.mid(4)));  // the colour code dropped
    EXPECT_EQ(t.s.playerGrid.cellText(1, 1), "0");  // the tab did not split the cells
}

TEST(Decoder, UtRowAndPanelKeepTheAnnouncedCountLowerCaseAndBlanksInPings) {
    AskedOnce t(false);
    const QByteArray players = playerKeys(0, "A") + playerKeys(1, "B") + playerKeys(2, "C") +
                               "\\player_3\\D\\frags_3\\2\\ping_3\\ 61\\team_3\\1";
    t.reply(
        utReply("6", "\\gametype\\x\\mutators\\InstaGib Arena\\goalteamscore\\3\\password\\True" + players));
    EXPECT_EQ(t.cell(1, ServerCol::Players), "06/16");
    EXPECT_EQ(t.cell(1, ServerCol::GameCode), "ut");
    EXPECT_EQ(t.cell(1, ServerCol::GameType), "DEATHMATCHPLUS");  // the first "gametype" counts
    ASSERT_EQ(t.s.playerGrid.rowCount(), 5);
    for (int row = 1; row < 5; ++row) {
        if (t.s.playerGrid.cellText(row, 0) == "D") { EXPECT_EQ(t.s.playerGrid.cellText(row, 2), " 61"); }
    }
    EXPECT_EQ(serverInfoCopyText(t.s).section("\r\n", 3, 13),
              "Time Limit: \r\nVersion:\r\nP/W: Yes\r\nTranslocator:\r\n\r\nGame Type: deathmatchplus\r\n\r\n"
              "Mutators: instagib arena\r\n\r\nGoal Limit: 3\r\n");  // no "N/A" for UT, no translocator
}

// What the row and the panel show for the values servers send.
TEST(Decoder, ValuesShownForWhatServersSend) {
    using Rules = QList<QPair<QString, QString>>;
    const std::tuple<QByteArray, Rules, QString ServerStatus::*, const char*> cases[] = {
        {utReply("0", "\\password\\2"), {}, &ServerStatus::password, ""},  // neither yes nor no
        {utReply("0", "\\password\\FALSE"), {}, &ServerStatus::password, "No"},
        {utReply().replace("DeathMatchPlus", "CTFGame"), {}, &ServerStatus::gameType, "CTF"},
        {ut2004Reply(), {{"Translocator", "false"}}, &ServerStatus::translocator, "No"}};
    for (const auto& [reply, rules, field, shown] : cases) {
        const std::optional<ServerStatus> st = decodeStatusReply(reply, rules);
        ASSERT_TRUE(st) << reply.constData();
        EXPECT_EQ(*st.*field, shown) << reply.constData();
    }
}

// Servers answering at once may use the same query id: each part goes to its own server.
TEST(Decoder, PartsOfTwoServersWithTheSameQueryIdStayApart) {
    MonitorFixture t(favourites(kQuietUtPort - 1, 2, "UT"));
    t.m.refreshAll();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return t.m.querier().awaitsStatusReply(kHost, kQuietUtPort - 1) &&
               t.m.querier().awaitsStatusReply(kHost, kQuietUtPort);
    }));
    const auto a = numberedParts(utReply().replace("UT Server", "A"), 1, {"\\numplayers"});
    const auto b = numberedParts(utReply().replace("UT Server", "B"), 1, {"\\numplayers"});
    t.feed(a[0], kQuietUtPort - 1);
    t.feed(b[1], kQuietUtPort);
    t.feed(b[0], kQuietUtPort);
    t.feed(a[1], kQuietUtPort - 1);
    EXPECT_EQ(t.cell(1, ServerCol::Name) + "|" + t.cell(2, ServerCol::Name), "A|B");
}

TEST(Gathering, DuplicateHugeMissingAndTooManyPartsNeverComplete) {
    ReplyAssembly r;
    EXPECT_FALSE(r.add("\\gamename\\ut\\hostname\\A\\queryid\\1.1"));
    EXPECT_FALSE(r.add("\\gamename\\ut\\hostname\\Dup\\queryid\\1.1"));      // the first stays
    EXPECT_FALSE(r.add("\\numplayers\\0\\queryid\\1.4294967295\\final\\"));  // far past any reply
    EXPECT_FALSE(r.add("\\x\\y\\queryid\\1.3\\final\\"));                    // part 2 missing
    const auto text = r.add("\\numplayers\\0\\queryid\\1.2");
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->contains("hostname\\A\\"));
    // Parts of another reply number never fill this one's gaps.
    ReplyAssembly two;
    EXPECT_FALSE(two.add("\\gamename\\ut\\queryid\\8.1"));
    EXPECT_FALSE(two.add("\\numplayers\\0\\queryid\\9.2\\final\\"));
    EXPECT_TRUE(two.add("\\numplayers\\0\\queryid\\8.2\\final\\"));
    // Without part numbers "final" ends the reply only where a key stands.
    ReplyAssembly plain;
    EXPECT_FALSE(plain.add("\\gamename\\ut\\hostname\\final\\numplayers\\1\\player_0\\final\\"));
    EXPECT_TRUE(plain.add("frags_0\\1\\final\\"));
    // Part 0 is no part number: the datagram is a reply of its own.
    EXPECT_TRUE(ReplyAssembly().add("\\gamename\\ut\\queryid\\8.0\\final\\")->contains("gamename"));
    // Past the size limit nothing completes any more, not even a whole reply.
    ReplyAssembly big;
    for (int i = 0; i < 100; ++i) big.add("\\pad\\" + QByteArray(1000, 'x'));
    EXPECT_FALSE(big.add(utReply()));
}

// The strings of the UT2 native replies: a length byte, then text ended by NUL, or UCS-2
// when the length is negative; a string running past the end is none. (The rules after
// an odd string staying in step: the query command's table of reply shapes.)
TEST(Gathering, Ut2Strings) {
    const std::tuple<const char*, std::optional<QString>, qsizetype> cases[] = {
        {"00", "", 1},
        {"0100", "", 2},
        {"04426f6200", "Bob", 5},
        {"06436166c3a900", "Café", 7},
        {"05436166e900", "Café", 6},
        {"87410175006b00610073007a0000000278", "Łukasz", 15},
        {"05426f", std::nullopt, 0},
        {"834100", std::nullopt, 0}};
    for (const auto& [hex, text, next] : cases) {
        qsizetype pos = 0;
        EXPECT_EQ(readUt2String(QByteArray::fromHex(hex), pos), text) << hex;
        EXPECT_EQ(pos, next) << hex;
    }
}

// A server's own replies: strings behind a length byte, UCS-2 ones behind a byte with its
// top bit set; a reply cut short keeps what came whole and reads nothing past its end.
TEST(Decoder, NativeRepliesReadUcs2NamesAndStopAtACutRecord) {
    const QByteArray ucs2Player = QByteArray("\x80\0\0\0\x02" "\x01\0\0\0" "\x86", 10) +
                                  QByteArray("A\x01u\0k\0a\0s\0\0\0", 12) + QByteArray("\x32\0\0\0\x03\0\0\0\0\0\0\0", 12);
    const auto players = readNativePlayers(ucs2Player + ucs2Player.mid(5, 9));
    ASSERT_EQ(players.size(), 1);
    EXPECT_EQ(players[0].name, QString::fromUtf8("Łukas"));
    EXPECT_EQ(players[0].ping, "50");
    EXPECT_EQ(players[0].score, "3");
    EXPECT_EQ(nativeReplyType(QByteArray("\\status\\\0\0", 10)), std::nullopt);
    EXPECT_EQ(nativeReplyType(QByteArray("\x79\0\0\0\x02", 5)), NativeType::Players);
    EXPECT_FALSE(readNativeInfo(QByteArray("\x80\0\0\0\0\x01\0\0\0\0\x07\x1e\0\0", 14)));
}
