// Buddies: the match, the alert, adding one from the players grid; colour codes; "Email Admin".
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"
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
    f.s.AutoScanMode = false;
    f.reply("\x1b\x01\xff\x01Green Server",
            "\x1b\xff\x01\x01"
            "B\x1b\x7c\x01\xff"
            "ob");
    EXPECT_EQ(f.cell(1, ServerCol::Name), "Green Server");
    EXPECT_EQ(f.s.panel.Frame1, "Server information for: Green Server");
    EXPECT_EQ(f.s.Flex.TextMatrix(1, 0), "Bob");
    EXPECT_EQ(f.s.BudList.TextMatrix(1, 1), "Green Server");  // "bob" matched the coloured Bob
    EXPECT_TRUE(serverInfoCopyText(f.s).contains("Player:Bob\t"));
    EXPECT_FALSE(serverInfoCopyText(f.s).contains(QChar(27)));
    // A click on a player adds it to "buddies.ini", twice if asked twice; below the players, nothing.
    f.s.Flex.setMouseCell(1, 0);
    EXPECT_EQ(f.m.Flex_Click().what, FlexClickResult::What::BuddyAdded);
    f.m.Flex_Click();
    f.s.Flex.setMouseCell(5, 0);
    EXPECT_EQ(f.m.Flex_Click().what, FlexClickResult::What::Nothing);
    EXPECT_EQ(f.folder.read("buddies.ini"), "bob\r\nBob\r\nBob\r\n");
    EXPECT_EQ(f.s.BudList.Rows(), 4);
    EXPECT_EQ(f.s.BudList.TextMatrix(1, 1), "");  // servers gone until the next match
}

TEST(PlayerNames, AlertComesOncePerBuddyAndServer) {
    Buddies f;
    f.s.AutoScanMode = true;
    f.reply("Green Server", "Bob");
    f.reply("Green Server", "Bob");  // still there: no second alert
    ASSERT_EQ(f.alerts.size(), 1);
    EXPECT_EQ(buddyAlertText(f.alerts[0].first, f.alerts[0].second), "Bob is playing on Green Server");
    f.reply("Red Server", "Bob");    // seen elsewhere: alert again
    f.reply("Green Server", "Bob");  // and back
    EXPECT_EQ(f.alerts.size(), 3);
    SetupBuddyGrid(f.s);  // the list is rebuilt: a new alert
    f.s.BudList.setTextMatrix(1, 0, "bob");
    f.reply("Green Server", "Bob");
    EXPECT_EQ(f.alerts.size(), 4);
    f.reply("Green Server", "Alice");  // not a buddy
    EXPECT_EQ(f.alerts.size(), 4);
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
