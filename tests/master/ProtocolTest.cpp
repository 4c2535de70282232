// The master protocol's pieces that need no connection: the validate answer, the list
// reader, the address rules, and "masters.ini", the user's list of masters.
#include <gtest/gtest.h>

#include "master/GameSpyExchange.h"
#include "master/GameSpyValidate.h"
#include "master/Ut2MasterExchange.h"
#include "master/MasterList.h"
#include "master/MasterServers.h"
#include "support/TestSupport.h"

// Answers to known challenges; no answer without a key or for an overlong challenge.
TEST(Validate, AnswersForUtsKey) {
    const std::tuple<QByteArray, QByteArray, QByteArray> cases[] = {
        {"ut", "ABCDEF", "5OOIQ5Ha"},
        {"UT", "wookie", "2/TYFMRc"},
        {"ut", "AB", "5OMA"},  // a short challenge is padded to three bytes
        {"ut", QByteArray(64, 'A'),
         "5JKW72I2srdFzIsiwZa16xIlMGxBEA1vkBBH9asT3NwQSTGjw4Y9QL7nUyIbHv12GewNrJdDIvJfagZl8cW6NgAA"},
        {"ut", QByteArray(65, 'A'), ""},
        {"ut2004", "ABCDEF", ""}};
    for (const auto& [game, challenge, answer] : cases)
        EXPECT_EQ(gameSpyValidate(challenge, gameSpyKey(game)), answer)
            << game.constData() << challenge.constData();
}

// Unusable: port 0 or past 65535, bad shapes, nobody (0.0.0.0), multicast, broadcast, names.
TEST(ServerAddresses, OnlyUsableIpv4AddressesAndPorts) {
    const std::pair<const char*, const char*> cases[] = {{"127.0.0.1:7778", "127.0.0.1:7778"},
                                                         {"81.169.200.4:65535", "81.169.200.4:65535"},
                                                         {"010.1.2.3:7778", nullptr},
                                                         {"127.0.0.1:0", nullptr},
                                                         {"127.0.0.1:99999", nullptr},
                                                         {"127.0.0:7778", nullptr},
                                                         {"127.0.0.1.5:7778", nullptr},
                                                         {"256.1.1.1:7778", nullptr},
                                                         {"0.0.0.0:7778", nullptr},
                                                         {"224.0.0.1:7778", nullptr},
                                                         {"255.255.255.255:7778", nullptr},
                                                         {"ut.example.org:7778", nullptr},
                                                         {"1.2.3.4:+7778", nullptr},
                                                         {"1.2.3.4", nullptr}};
    for (const auto& [text, parsed] : cases) {
        const auto s = parseServerAddress(QByteArrayView(text));
        EXPECT_EQ(s ? s->text() : QString(), QString::fromLatin1(parsed)) << text;
    }
}

// The same servers and the same end however the bytes are cut.
TEST(ListReader, WhatEndsAListHoweverTheBytesAreCut) {
    using State = MasterListReader::State;
    const std::tuple<QByteArray, bool, State, int> cases[] = {
        {"\\ip\\127.0.0.1:7778\\ip\\127.0.0.1:0\\ip\\127.0.0.3:7798\\final\\", false, State::Complete, 2},
        {"\\ip\\127.0.0.1:7778\\final", true, State::Complete, 1},
        {"\\ip\\127.0.0.1:7778", true, State::Reading, 0},  // closed early
        {"\\ip\\127.0.0.1:7778\\FINAL\\", false, State::Complete, 1},
        {"\\queryid\\1.1\\ip\\127.0.0.1:7778\\final\\", false, State::Complete, 1},
        {"ip\\127.0.0.1:7778\\final\\", false, State::Garbage, 0},
        {"\\ip\\" + QByteArray(300, '1') + "\\final\\", false, State::Garbage, 0},
        {"\\i\x01p\\127.0.0.1:7778\\final\\", false, State::Garbage, 0},
        {"\\error\\Bad validation\\final\\", false, State::MasterSaidError, 0},
        {"\\IP\\127.0.0.1:7778\\ip\\final", true, State::Reading, 1},  // "final" in an entry's place
        {"\\ip\\127.0.0.1:7778\\finals", true, State::Reading, 1}};
    for (const auto& [bytes, closed, state, servers] : cases) {
        for (qsizetype cut = 1; cut <= bytes.size(); ++cut) {
            SCOPED_TRACE(bytes.constData() + (" cut " + std::to_string(cut)));
            MasterListReader r;
            qsizetype got = 0;
            for (qsizetype i = 0; i < bytes.size(); i += cut) got += r.feed(bytes.mid(i, cut)).size();
            if (closed) r.finish();
            EXPECT_EQ(r.state(), state);
            EXPECT_EQ(got, servers);
        }
    }
}

// The greeting's own "\final\" may come in a read of its own and ends nothing; a whole
// list without a server is no list.
TEST(GameSpyExchange, GreetingSplitOverReadsAndEmptyLists) {
    using F = MasterFailure;
    const std::tuple<QList<QByteArray>, int, F> cases[] = {
        {{"\\basic\\\\secure\\ABCDEF", "\\final\\", "\\ip\\127.0.0.1:7778\\final\\"}, 1, F::None},
        {{"\\basic\\\\sec", "ure\\ABC", "DEF\\fi", "nal\\\\ip\\127.0.0.1:7778\\ip\\127.0.0.2:7778\\final\\"},
         2,
         F::None},
        {{"\\basic\\\\secure\\ABCDEF\\final\\", "\\final\\"}, 0, F::NoServers},
        {{"\\basic\\\\secure\\ABCDEF", "\\final\\"}, 0, F::ClosedEarly},
        {{"\\basic\\\\secure\\ABCDEF", "\\ip\\127.0.0.1:0\\final\\"}, 0, F::NoServers},
        {{"\\basic\\\\"}, 0, F::NoChallenge}};
    for (const auto& [reads, servers, failure] : cases) {
        SCOPED_TRACE(reads.join('|').toStdString());
        GameSpyExchange e("ut");
        qsizetype got = 0;
        for (const QByteArray& r : reads) {
            const auto step = e.feed(r);
            got += step.servers.size();
        }
        if (e.state() != MasterExchange::State::Complete && e.state() != MasterExchange::State::Failed)
            e.closed();
        EXPECT_EQ(got, servers);
        EXPECT_EQ(e.failure(), failure);
    }
}

// A UT2 record: the address in byte order, the game port + 10 as the query port, the
// master's texts when they fit the record; unusable servers and short records left out.
TEST(Ut2Records, AddressPortsAndTextsAsTheRecordHoldsThem) {
    const QByteArray head("\x51\xa9\xc8\x04\x61\x1e\x62\x1e", 8);  // 81.169.200.4, 7777, 7778
    const QByteArray tail = ut2String("DM-Rankin") + ut2String("xDeathMatch") + "\x05\x10" + ut2Dword(0);
    const QByteArray ucs2("\x83\x4f\x00\xe9\x00\x00\x00", 7);  // -3: "O", "é" and the NUL in UCS-2
    const std::pair<QByteArray, const char*> cases[] = {
        {head + ut2String("My Server") + tail, "81.169.200.4:7787 UT3 My Server|DM-Rankin|Xdeathmatch|5/16"},
        {head + ut2String(QByteArray(70, 'n')) + tail,
         "81.169.200.4:7787 UT3 70n|DM-Rankin|Xdeathmatch|5/16"},
        {head + ucs2 + tail, "81.169.200.4:7787 UT3 Oé|DM-Rankin|Xdeathmatch|5/16"},
        {head + ut2String("\x1b\x01\xff\x01Red") + tail,
         "81.169.200.4:7787 UT3 Red|DM-Rankin|Xdeathmatch|5/16"},
        {head + "\x5aTrunc", "81.169.200.4:7787 UT3"},  // a name longer than its record
        {head, "81.169.200.4:7787 UT3"},
        {head.first(7), ""},
        {QByteArray(4, '\0') + head.sliced(4), ""},               // 0.0.0.0
        {head.first(4) + QByteArray(4, '\0'), ""},                // game port 0
        {head.first(4) + QByteArray("\xfa\xff\x00\x01", 4), ""},  // 65530 + 10 is no port
        {"\xe0\x00\x00\x01" + head.sliced(4), ""}};               // multicast
    for (const auto& [body, expected] : cases) {
        const auto s = decodeUt2Record(body, Game::UT2004);
        QString text;
        if (s) text = s->server.text() + ' ' + s->gameCode;
        if (s && s->hasDetails) {
            const QString name = s->hostName == QString(70, 'n') ? "70n" : s->hostName;
            text += QStringLiteral(" %1|%2|%3|%4/%5")
                        .arg(name, s->map, s->gameType)
                        .arg(s->numPlayers)
                        .arg(s->maxPlayers);
        }
        EXPECT_EQ(text, QString::fromUtf8(expected)) << body.toHex().constData();
    }
}

namespace {
QStringList texts(const QList<MasterAddress>& masters) {
    QStringList t;
    for (const MasterAddress& m : masters) t << m.text();
    return t;
}
}  // namespace

// The community masters when the file is missing or lists none; written only when missing.
TEST(MastersFile, LinesInOrderBadLinesLeftOutAndNoneGivesTheCommunityMasters) {
    TempProgramFolder folder;
    EXPECT_EQ(texts(loadMasters()), texts(defaultMasters()));
    ASSERT_TRUE(writeDefaultMastersIfMissing());
    EXPECT_TRUE(folder.read("masters.ini").contains("master.333networks.com:28900\r\n"));
    const QByteArray none = "; nothing here\r\n\r\nnot a master!\r\n";
    folder.write("masters.ini", none);
    ASSERT_TRUE(writeDefaultMastersIfMissing());
    EXPECT_EQ(folder.read("masters.ini"), none);
    EXPECT_EQ(texts(loadMasters()), texts(defaultMasters()));
    folder.write("masters.ini",
                 "# mine first\r\n  master.example.org:28905  \r\n127.0.0.1\r\nhost:0\r\nhost:99999\r\n"
                 "spaced name:28900\r\n10.0.0.1:28900\n");
    EXPECT_EQ(texts(loadMasters()),
              QStringList({"master.example.org:28905", "127.0.0.1:28900", "10.0.0.1:28900"}));
    // Each game's masters: by section, or by a game code on the line; a game the file
    // names none for gets its defaults.
    folder.write("masters.ini",
                 "ut.example.org\r\nmine.example.org:28903:UT3\r\n[UT2004]\r\n127.0.0.1\r\n"
                 "10.0.0.2:28900:ut\r\n[ut2]\r\n10.0.0.3:1234\r\n");
    EXPECT_EQ(texts(loadMasters(Game::UT)), QStringList({"ut.example.org:28900", "10.0.0.2:28900"}));
    EXPECT_EQ(texts(loadMasters(Game::UT2004)), QStringList({"mine.example.org:28903", "127.0.0.1:28902"}));
    EXPECT_EQ(texts(loadMasters(Game::UT2003)), QStringList({"10.0.0.3:1234"}));
    folder.write("masters.ini", "ut.example.org\r\n");
    EXPECT_EQ(texts(loadMasters(Game::UT2004)), texts(defaultMasters(Game::UT2004)));
}
