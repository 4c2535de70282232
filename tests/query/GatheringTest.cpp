// Putting one server's status datagrams together: completion and bounds. The order of
// the parts is checked over loopback.
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"
#include "query/ReplyGathering.h"

TEST(Gathering, UnnumberedCompletionRules) {
    const std::pair<const char*, bool> cases[] = {
        {"\\gamename\\ut\\numplayers\\3\\final\\", true},
        {"\\gamename\\ut\\numplayers\\3\\", false},                                   // no final
        {"\\numplayers\\3\\final\\", false},                                          // no gamename
        {"\\GameName\\ut\\numplayers\\3\\final\\", false},                            // key case matters
        {"\\gamename\\ut\\final\\", false},                                           // no numplayers
        {"\\gamename\\ut\\NumPlayers\\3\\final\\", true},                             // numplayers any case
        {"\\gamename\\ut\\numplayers\\9\\player_0\\a\\player_10\\b\\final\\", true},  // player_1 in player_10
        {"\\gamename\\ut\\numplayers\\10\\player_0\\a\\final\\", false},              // waits for player_2
        {"\\gamename\\ut\\numplayers\\12\\final\\", true},                            // no player_0 listed
        {"\\gamename\\ut\\numplayers\\x\\final\\", true},                             // no number: no wait
        {"\\gamename\\ut\\numplayers\\10000\\player_0\\a\\player_2\\c\\final\\", true},  // read as "10"
    };
    for (const auto& [text, complete] : cases)
        EXPECT_EQ(isStatusComplete(QString::fromLatin1(text)), complete) << text;
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
    // Past the size limit nothing completes any more, not even a whole reply.
    ReplyAssembly big;
    for (int i = 0; i < 100; ++i) big.add(QStringLiteral("\\pad\\") + QString(1000, QLatin1Char('x')));
    EXPECT_FALSE(big.add(QString::fromLatin1(utReply())));
}
