// Buddies: the match, the alert, adding one from the players grid; colour codes; "Email Admin".
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"
#include "query/BuddyAlerts.h"
#include "query/PlayersAndBuddies.h"

namespace {
// The selected UT2004 server with the buddy "bob", and the alerts it raised.
struct Buddies : AskedOnce {
    QList<QPair<QString, QString>> alerts;
    Buddies() : AskedOnce(true, {"bob"}) {
        s.buddySeen = [this](const QString& p, const QString& h) { alerts.append({p, h}); };
    }
    // The server, asked again, answers with one player.
    void reply(const QByteArray& host, const QByteArray& player) {
        ask(1);
        AskedOnce::reply(ut2004Reply("1", playerKeys(0, player)).replace("Test Server", host));
    }
};
}  // namespace

TEST(BuddyMatch, EntryRules) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"**Bob**", "bob", true}, {"**Bob**", "xBOBx", true}, {"**Bob**", "Bobby", true},
        {"Bob", "BOB", true},     {"Bob", "Bobby", false},    {"**", "anyone", true},
        {"Bo**b", "xbobx", true}, {"*Bob*", "Bob", false},    {"", "", true}};
    for (const auto& [entry, player, match] : cases)
        EXPECT_EQ(buddyEntryMatches(QString::fromLatin1(entry), QString::fromLatin1(player)), match)
            << entry << " / " << player;
}

// Codes before the names and between Bob's letters, one with a colour byte that is a
// character of names ('|').
TEST(PlayerNames, ColourCodesNeverReachTheGridsPanelCopyOrBuddiesFile) {
    Buddies f;
    f.s.autoScanMode = false;
    f.reply("\x1b\x01\xff\x01Green Server",
            "\x1b\xff\x01\x01"
            "B\x1b\x7c\x01\xff"
            "ob");
    EXPECT_EQ(f.cell(1, ServerCol::Name), "Green Server");
    EXPECT_EQ(f.s.panel.title, "Server information for: Green Server");
    EXPECT_EQ(f.s.playerGrid.cellText(1, 0), "Bob");
    EXPECT_EQ(f.s.buddyGrid.cellText(1, 1), "Green Server");  // "bob" matched the coloured Bob
    EXPECT_TRUE(serverInfoCopyText(f.s).contains("Player:Bob\t"));
    EXPECT_FALSE(serverInfoCopyText(f.s).contains(QChar(27)));
    // A click on a player adds it to "buddies.ini", twice if asked twice; below the players, nothing.
    f.s.playerGrid.setMouseCell(1, 0);
    EXPECT_EQ(f.m.onPlayerGridClicked().what, FlexClickResult::What::BuddyAdded);
    f.m.onPlayerGridClicked();
    f.s.playerGrid.setMouseCell(5, 0);
    EXPECT_EQ(f.m.onPlayerGridClicked().what, FlexClickResult::What::Nothing);
    EXPECT_EQ(f.folder.read("buddies.ini"), "bob\r\nBob\r\nBob\r\n");
    EXPECT_EQ(f.s.buddyGrid.rowCount(), 4);
    EXPECT_EQ(f.s.buddyGrid.cellText(1, 1), "");  // servers gone until the next match
}

// Every reply naming a buddy is a sighting; only the first matching entry of the list gets the server.
TEST(PlayerNames, EachReplyIsASightingOfTheFirstMatchingEntry) {
    Buddies f;
    f.s.autoScanMode = true;
    f.s.buddyGrid.appendRow("**ob**");  // a second entry matching Bob
    f.reply("Green Server", "Bob");
    f.reply("Red Server", "Bob");
    f.reply("Red Server", "Alice");  // not a buddy
    EXPECT_EQ(f.alerts, (QList<QPair<QString, QString>>{{"Bob", "Green Server"}, {"Bob", "Red Server"}}));
    EXPECT_EQ(f.s.buddyGrid.cellText(1, 1) + "|" + f.s.buddyGrid.cellText(2, 1), "Red Server|");
}

// A player is news when first seen, and again only after going unseen on every server for a
// while; the news between two messages is one message.
TEST(BuddyAlerts, AnnouncedOnceUntilGoneForAWhile) {
    BuddyAlerts alerts;
    alerts.setForgetAfterMs(60'000);
    // Time in ms, player, server, news or not; "!" takes the message so far.
    const std::tuple<int, const char*, const char*, bool> sightings[] = {
        {0, "Bob", "Green", true},       {10, "bob", "Red", false},       // one player on two servers
        {20, "Alice", "Red", true},      {-1, "!", "", false},            // one message for both
        {50'000, "Bob", "Green", false}, {109'000, "Bob", "Red", false},  // still seen within the minute
        {170'000, "BOB", "Blue", true},  {-1, "!", "", false}};           // gone for more than a minute
    QStringList messages;
    for (const auto& [ms, player, server, news] : sightings) {
        if (ms < 0) {
            messages << alerts.takeMessage();
            continue;
        }
        EXPECT_EQ(alerts.seen(player, server, ms), news) << ms;
    }
    EXPECT_EQ(messages,
              QStringList({"Bob is playing on Green\nAlice is playing on Red", "BOB is playing on Blue"}));
    for (int i = 0; i < 7; ++i) alerts.seen(QString("P%1").arg(i), "S", 200'000);
    EXPECT_TRUE(alerts.takeMessage().endsWith("P4 is playing on S\nand 2 more"));
    EXPECT_FALSE(alerts.hasNews());
}

// "Email Admin" opens the address alone: nothing from "?" on, nothing that is no address.
TEST(Panel, EmailAdminTakesOnlyTheAddressInTheLastBrackets) {
    const std::pair<const char*, const char*> links[] = {
        {"Root ( root@example.com )", "mailto:root@example.com"},
        {"Root (   a@b   )", "mailto:a@b"},
        {"a (x) b ( c@d )", "mailto:c@d"},
        {"Root ( a.b+c@d-e.org?subject=x&body=y )", "mailto:a.b+c@d-e.org"},
        {"Root ( root@example.com?cc=all@example.com )", "mailto:root@example.com"}};
    for (const auto& [box, link] : links) EXPECT_EQ(adminMailUrl(box), QString(link)) << box;
    const char* noLink[] = {"no bracket",      "Root (  )",       "(",
                            "Root ( root )",   "Root ( a b@c )",  "Root ( a@b@c )",
                            "Root ( <a@b> )",  "Root ( a%0A@b )", "Root ( a\n@b )",
                            "Root ( \"x\"@b )"};
    for (const char* box : noLink) EXPECT_EQ(adminMailUrl(box), std::nullopt) << box;
}
