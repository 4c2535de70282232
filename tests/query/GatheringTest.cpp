// Putting one server's status datagrams together: order, completion, bounds.
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"
#include "query/ReplyGathering.h"

TEST(Gathering, UnnumberedCompletionRules) {
    const struct { const char* text; bool complete; } cases[] = {
        {"\\gamename\\ut\\numplayers\\3\\final\\", true},
        {"\\gamename\\ut\\numplayers\\3\\", false},                    // no final
        {"\\numplayers\\3\\final\\", false},                           // no gamename
        {"\\GameName\\ut\\numplayers\\3\\final\\", false},             // key case matters
        {"\\gamename\\ut\\final\\", false},                            // no numplayers
        {"\\gamename\\ut\\NumPlayers\\3\\final\\", true},              // numplayers any case
        {"\\gamename\\ut\\numplayers\\9\\player_0\\a\\player_10\\b\\final\\", true},  // player_1 inside player_10
        {"\\gamename\\ut\\numplayers\\10\\player_0\\a\\final\\", false},  // waits for player_2
        {"\\gamename\\ut\\numplayers\\12\\final\\", true},             // no player_0 listed
        {"\\gamename\\ut\\numplayers\\x\\final\\", true},              // no number: no wait
        {"\\gamename\\ut\\numplayers\\10000\\player_0\\a\\player_2\\c\\final\\", true},  // read as "10"
    };
    for (const auto& c : cases) EXPECT_EQ(isStatusComplete(QString::fromLatin1(c.text)), c.complete) << c.text;
}

// The fault seen with 3-1-2 and 1-3-2: six players shown of twelve.
TEST(Gathering, PartsArePutInOrderWhateverTheArrival) {
    QByteArray players;
    for (int i = 0; i < 12; ++i) players += playerKeys(i, "P" + QByteArray::number(i));
    const QList<QByteArray> parts = numberedParts(withPlayers(utReply({}, "12"), players), 5, {"\\player_4", "\\player_9"});
    for (const QList<int>& order : {QList<int>{0, 1, 2}, {2, 0, 1}, {0, 2, 1}, {2, 1, 0}}) {
        ReplyAssembly r;
        std::optional<QString> text;
        for (int i : order) {
            EXPECT_FALSE(text) << "completed before its last part";
            text = r.add(QString::fromLatin1(parts[i]));
        }
        ASSERT_TRUE(text) << order[0] << order[1] << order[2];
        const auto status = decodeStatusReply(*text, {});
        ASSERT_TRUE(status);
        EXPECT_EQ(status->players.size(), 12);
    }
}

TEST(Gathering, DuplicateHugeAndMissingPartsNeverComplete) {
    ReplyAssembly r;
    EXPECT_FALSE(r.add("\\gamename\\ut\\hostname\\A\\queryid\\1.1"));
    EXPECT_FALSE(r.add("\\gamename\\ut\\hostname\\Dup\\queryid\\1.1"));  // the first stays
    EXPECT_FALSE(r.add("\\numplayers\\0\\queryid\\1.4294967295\\final\\"));  // far past any reply
    EXPECT_FALSE(r.add("\\x\\y\\queryid\\1.3\\final\\"));                 // part 2 missing
    const auto text = r.add("\\numplayers\\0\\queryid\\1.2");
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->contains("hostname\\A\\"));
    // Parts of another reply number never fill this one's gaps.
    ReplyAssembly two;
    EXPECT_FALSE(two.add("\\gamename\\ut\\queryid\\8.1"));
    EXPECT_FALSE(two.add("\\numplayers\\0\\queryid\\9.2\\final\\"));
    EXPECT_TRUE(two.add("\\numplayers\\0\\queryid\\8.2\\final\\"));
}

TEST(Gathering, FloodOfRandomPartsStaysBounded) {
    ReplyAssembly r;
    auto* random = QRandomGenerator::global();
    for (int i = 0; i < 20000; ++i) {
        const QString d = QStringLiteral("\\pad\\") + QString(int(random->bounded(200)), QLatin1Char('x')) +
                          QStringLiteral("\\queryid\\%1.%2").arg(random->generate()).arg(random->generate());
        EXPECT_FALSE(r.add(d));
    }
    // Past the size limit nothing completes any more, not even a whole reply.
    ReplyAssembly big;
    for (int i = 0; i < 100; ++i) big.add(QStringLiteral("\\pad\\") + QString(1000, QLatin1Char('x')));
    EXPECT_FALSE(big.add(QString::fromLatin1(utReply({}))));
}
