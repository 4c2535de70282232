// The master protocol's pieces that need no connection: the validate answer, the list
// reader, the address rules, and "masters.ini", the user's list of masters.
#include <gtest/gtest.h>

#include "master/GameSpyValidate.h"
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
                                                         {"010.1.2.3:7778", "10.1.2.3:7778"},
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
}
