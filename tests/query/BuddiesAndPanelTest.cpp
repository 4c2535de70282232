// The buddy match, adding a buddy from the players grid, "Copy" and "Email Admin".
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"
#include "query/PlayersAndBuddies.h"
#include "support/TestSupport.h"

TEST(BuddyMatch, EntryRules) {
    const struct {
        const char* entry;
        const char* player;
        bool match;
    } cases[] = {{"**Bob**", "bob", true}, {"**Bob**", "xBOBx", true}, {"**Bob**", "Bobby", true},
                 {"Bob", "BOB", true},     {"Bob", "Bobby", false},    {"**", "anyone", true},
                 {"Bo**b", "xbobx", true}, {"*Bob*", "Bob", false},    {"", "", true}};
    for (const auto& c : cases)
        EXPECT_EQ(buddyEntryMatches(QString::fromLatin1(c.entry), QString::fromLatin1(c.player)), c.match)
            << c.entry << " / " << c.player;
}

TEST(BuddyMatch, FirstMatchingRowGetsServerAndGridResorts) {
    MonitorFixture t;
    FlexGrid& b = t.s.BudList;
    b.setTextMatrix(1, 0, "zed");
    b.AddItem("**a**");
    b.AddItem("alice");
    buddyMatch(t.s, "Alice", "Host One");
    // "**a**" is the first match; "alice" keeps no server
    int withServer = 0;
    for (int r = 1; r < b.Rows(); ++r)
        if (!b.TextMatrix(r, 1).isEmpty()) ++withServer;
    EXPECT_EQ(withServer, 1);
    EXPECT_EQ(b.TextMatrix(1, 0), "**a**");  // sorted to the top
    EXPECT_EQ(b.TextMatrix(1, 1), "Host One");
}

TEST(PlayersGrid, ClickOnPlayerAddsBuddy) {
    MonitorFixture t;
    t.s.BudList.setTextMatrix(1, 0, "old");
    t.s.BudList.setTextMatrix(1, 1, "Somewhere");
    t.s.Flex.setTextMatrix(1, 0, "Newbie");
    t.s.Flex.setMouseCell(1, 0);
    EXPECT_EQ(t.m.Flex_Click().what, FlexClickResult::What::BuddyAdded);
    t.m.Flex_Click();  // twice adds it twice
    EXPECT_EQ(t.folder.read("buddies.ini"), "old\r\nNewbie\r\nNewbie\r\n");
    EXPECT_EQ(t.s.BudList.Rows(), 4);
    EXPECT_EQ(t.s.BudList.TextMatrix(1, 1), "");  // servers gone until the next match
}

TEST(PlayersGrid, HeaderClickSortsAndEmptyRowAddsNothing) {
    MonitorFixture t;
    t.folder.write("buddies.ini", "x\r\n");
    t.s.Flex.setTextMatrix(1, 0, "low");
    t.s.Flex.setTextMatrix(1, 1, "2");
    t.s.Flex.AddItem("high\t10");
    t.s.Flex.setMouseCell(0, 1);
    t.m.Flex_Click();
    EXPECT_EQ(t.s.Flex.TextMatrix(1, 0), "high");
    t.s.Flex.setMouseCell(5, 0);
    EXPECT_EQ(t.m.Flex_Click().what, FlexClickResult::What::Nothing);
    EXPECT_EQ(t.folder.read("buddies.ini"), "x\r\n");
}

TEST(Panel, CopyTextLayout) {
    MonitorFixture t;
    ClearServerInfo(t.s);
    t.s.panel.Text3 = "Root ( r@x )";
    t.s.Flex.setTextMatrix(1, 0, "A");
    t.s.Flex.setTextMatrix(1, 1, "5");
    t.s.Flex.setTextMatrix(1, 2, "40");
    t.s.Flex.setTextMatrix(1, 4, "1");
    t.s.Flex.AddItem("B\t6\t41\t\t0");
    t.s.Flex.AddItem("C\t7\t42\t\t255");
    const QString expected =
        "Server Information:\r\nMap: \r\nRoot ( r@x )\r\nTime Limit: \r\nVersion:\r\nP/W: \r\n"
        "Translocator: \r\n\r\nGame Type:  \r\n\r\nMutators: \r\n\r\nGoal Limit: \r\n\r\n"
        "Player:A\tFrags:5\tPing:40\tPing:1\t\r\n\r\n"
        "Player:B\tFrags:6\tPing:41\tPing:0\t\r\n\r\n"
        "Player:C\tFrags:7\tPing:42\tPing:255\t\r\n\r\n";
    EXPECT_EQ(serverInfoCopyText(t.s), expected);
}

// "Email Admin" opens the address alone: nothing from "?" on, nothing that is no address.
TEST(Panel, EmailAdminTakesOnlyTheAddressInTheLastBrackets) {
    const struct {
        const char* box;
        const char* address;
        const char* link;
    } cases[] = {{"Root ( root@example.com )", "root@example.com", "mailto:root@example.com"},
                 {"Root (   a@b   )", "a@b", "mailto:a@b"},
                 {"a (x) b ( c@d )", "c@d", "mailto:c@d"},
                 {"Root ( a.b+c@d-e.org?subject=x&body=y )", nullptr, "mailto:a.b+c@d-e.org"},
                 {"Root ( root@example.com?cc=all@example.com )", nullptr, "mailto:root@example.com"},
                 {"no bracket", "", nullptr},
                 {"Root (  )", "", nullptr},
                 {"(", "", nullptr},
                 {"Root ( root )", nullptr, nullptr},
                 {"Root ( a b@c )", nullptr, nullptr},
                 {"Root ( a@b@c )", nullptr, nullptr},
                 {"Root ( <a@b> )", nullptr, nullptr},
                 {"Root ( a%0A@b )", nullptr, nullptr},
                 {"Root ( a\n@b )", nullptr, nullptr},
                 {"Root ( \"x\"@b )", nullptr, nullptr}};
    for (const auto& c : cases) {
        const QString box = QString::fromLatin1(c.box);
        if (c.address) { EXPECT_EQ(adminMailAddress(box), QString::fromLatin1(c.address)) << c.box; }
        const auto link = adminMailUrl(box);
        EXPECT_EQ(link, c.link ? std::optional<QString>(QString::fromLatin1(c.link)) : std::nullopt) << c.box;
    }
}
