// Names with UT2004 colour codes, and the buddy alert's once-only rule.
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"
#include "query/ColourCodes.h"
#include "query/PlayersAndBuddies.h"

namespace {
// Bob in colours: a code before the name and one between its letters, with a colour
// byte that is a backslash.
const QByteArray kColouredBob = "\x1b\xff\x01\x01" "B\x1b\x5c\x01\xff" "ob";
const QByteArray kColouredHost = "\x1b\x01\xff\x01" "Green Server";

struct Fixture : MonitorFixture {
    QList<QPair<QString, QString>> alerts;
    Fixture() : MonitorFixture({favourite(kQuietUtPort, "UT3")}, {"bob"}) {
        s.ScanRow = 1;
        s.buddySeen = [this](const QString& p, const QString& h) { alerts.append({p, h}); };
    }
    void reply(const QByteArray& host, const QByteArray& player) {
        QByteArray text = withPlayers(ut2004Reply({}, "1"), playerKeys(0, player));
        text.replace("Test Server", host);
        ask(1);
        feed(text, kQuietUtPort);
    }
};
}  // namespace

TEST(PlayerNames, ColourCodesAreRemovedWhereverTheyStand) {
    const QChar esc(27);
    const struct { QString in, out; } cases[] = {
        {QString(esc) + QChar(255) + QChar(1) + QChar(1) + "Bob", "Bob"},
        {"B" + QString(esc) + "\x01\x01\xff" + "o" + QString(esc) + "abc" + "b", "Bob"},
        {"Bob" + QString(esc) + QChar(255), "Bob"},  // cut short at the end
        {QString(esc) + "\\\\\\" + "x", "x"}};       // colour bytes that look like separators
    for (const auto& c : cases) EXPECT_EQ(stripColourCodes(c.in), c.out);
}

TEST(PlayerNames, ColourCodesNeverReachTheGridsPanelCopyOrBuddies) {
    Fixture f;
    f.s.AutoScanMode = false;
    f.reply(kColouredHost, kColouredBob);
    EXPECT_EQ(f.s.ServerGrid.TextMatrix(1, 1), "Green Server");
    EXPECT_EQ(f.s.panel.Frame1, "Server information for: Green Server");
    EXPECT_EQ(f.s.Flex.TextMatrix(1, 0), "Bob");
    EXPECT_EQ(f.s.BudList.TextMatrix(1, 1), "Green Server");  // "bob" matched the coloured Bob
    EXPECT_TRUE(serverInfoCopyText(f.s).contains("Player:Bob\t"));
    EXPECT_FALSE(serverInfoCopyText(f.s).contains(QChar(27)));
    f.s.Flex.setMouseCell(1, 0);
    f.m.Flex_Click();
    EXPECT_EQ(f.folder.read("buddies.ini"), "bob\r\nBob\r\n");
}

TEST(PlayerNames, AlertComesOncePerBuddyAndServer) {
    Fixture f;
    f.s.AutoScanMode = true;
    f.reply("Green Server", "Bob");
    f.reply("Green Server", "Bob");  // still there: no second alert
    ASSERT_EQ(f.alerts.size(), 1);
    EXPECT_EQ(f.alerts[0].first, "Bob");
    EXPECT_EQ(f.alerts[0].second, "Green Server");
    EXPECT_EQ(buddyAlertText(f.alerts[0].first, f.alerts[0].second), "Bob is playing on Green Server");
    f.reply("Red Server", "Bob");    // seen elsewhere: alert again
    f.reply("Green Server", "Bob");  // and back
    EXPECT_EQ(f.alerts.size(), 3);
    SetupBuddyGrid(f.s);             // the list is rebuilt: a new alert
    f.s.BudList.setTextMatrix(1, 0, "bob");
    f.reply("Green Server", "Bob");
    EXPECT_EQ(f.alerts.size(), 4);
    f.reply("Green Server", "Alice");  // not a buddy
    EXPECT_EQ(f.alerts.size(), 4);
}
