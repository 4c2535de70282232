// The master protocol's pieces that need no connection: the validate answer, the list
// reader and the address rules.
#include <gtest/gtest.h>

#include "master/GameSpyValidate.h"
#include "master/MasterList.h"

TEST(Validate, KnownAnswersForUtsKey) {
    const struct { QByteArray challenge, answer; } cases[] = {
        {"ABCDEF", "5OOIQ5Ha"},
        {"wookie", "2/TYFMRc"},
        {"AB", "5OMA"},  // a short challenge is padded to three bytes
        {QByteArray(64, 'A'),
         "5JKW72I2srdFzIsiwZa16xIlMGxBEA1vkBBH9asT3NwQSTGjw4Y9QL7nUyIbHv12GewNrJdDIvJfagZl8cW6NgAA"},
    };
    for (const auto& c : cases) EXPECT_EQ(gameSpyValidate(c.challenge, gameSpyKey("ut")), c.answer) << c.challenge.constData();
}

TEST(Validate, NoAnswerWithoutAKeyOrForAnOverlongChallenge) {
    EXPECT_EQ(gameSpyKey("UT"), "Z5Nfb0");
    EXPECT_TRUE(gameSpyKey("ut2004").isEmpty());
    EXPECT_TRUE(gameSpyValidate("ABCDEF", "").isEmpty());
    EXPECT_TRUE(gameSpyValidate(QByteArray(65, 'A'), "Z5Nfb0").isEmpty());
}

TEST(ServerAddresses, OnlyUsableIpv4AddressesAndPorts) {
    const struct { const char* text; const char* parsed; } cases[] = {
        {"127.0.0.1:7778", "127.0.0.1:7778"},
        {"81.169.200.4:65535", "81.169.200.4:65535"},
        {"010.1.2.3:7778", "10.1.2.3:7778"},
        {"127.0.0.1:0", nullptr},
        {"127.0.0.1:99999", nullptr},
        {"127.0.0.1:", nullptr},
        {"127.0.0:7778", nullptr},
        {"127.0.0.1.5:7778", nullptr},
        {"256.1.1.1:7778", nullptr},
        {"0.0.0.0:7778", nullptr},       // nobody
        {"224.0.0.1:7778", nullptr},     // multicast
        {"255.255.255.255:7778", nullptr},
        {"ut.example.org:7778", nullptr},
        {"1.2.3.4:+7778", nullptr},
        {"1.2.3.4", nullptr},
    };
    for (const auto& c : cases) {
        const auto s = parseServerAddress(QByteArrayView(c.text));
        if (c.parsed) {
            ASSERT_TRUE(s) << c.text;
            EXPECT_EQ(s->text(), QString::fromLatin1(c.parsed));
        } else {
            EXPECT_FALSE(s) << c.text;
        }
    }
}

TEST(ListReader, SameListHoweverTheBytesAreCut) {
    const QByteArray list = "\\ip\\127.0.0.1:7778\\ip\\127.0.0.2:7788\\ip\\127.0.0.1:0\\ip\\127.0.0.3:7798\\final\\";
    for (qsizetype cut = 1; cut <= list.size(); ++cut) {
        MasterListReader r;
        QStringList got;
        for (qsizetype i = 0; i < list.size(); i += cut)
            for (const ServerAddress& s : r.feed(QByteArrayView(list).sliced(i, std::min(cut, list.size() - i))))
                got << s.text();
        EXPECT_EQ(got, QStringList({"127.0.0.1:7778", "127.0.0.2:7788", "127.0.0.3:7798"})) << cut;
        EXPECT_EQ(r.state(), MasterListReader::State::Complete);
        EXPECT_EQ(r.skipped(), 1);
    }
}

TEST(ListReader, WhatEndsAList) {
    const struct { QByteArray bytes; bool closed; MasterListReader::State state; } cases[] = {
        {"\\ip\\127.0.0.1:7778\\final\\", false, MasterListReader::State::Complete},
        {"\\ip\\127.0.0.1:7778\\final", true, MasterListReader::State::Complete},
        {"\\ip\\127.0.0.1:7778", true, MasterListReader::State::Reading},   // closed early
        {"\\ip\\127.0.0.1:7778\\FINAL\\", false, MasterListReader::State::Complete},
        {"\\queryid\\1.1\\ip\\127.0.0.1:7778\\final\\", false, MasterListReader::State::Complete},
        {"ip\\127.0.0.1:7778\\final\\", false, MasterListReader::State::Garbage},
        {"\\ip\\" + QByteArray(300, '1') + "\\final\\", false, MasterListReader::State::Garbage},
        {"\\i\x01p\\127.0.0.1:7778\\final\\", false, MasterListReader::State::Garbage},
        {"\\error\\Bad validation\\final\\", false, MasterListReader::State::MasterSaidError},
    };
    for (const auto& c : cases) {
        MasterListReader r;
        r.feed(c.bytes);
        if (c.closed) r.finish();
        EXPECT_EQ(r.state(), c.state) << c.bytes.constData();
    }
}
