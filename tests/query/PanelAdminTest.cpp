// The selected UT2004 server's admin, which such servers name in the probe's rules.
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "QueryTestHelpers.h"

TEST(PanelAdmin, Ut2004AdminFromTheProbeOverLoopback) {
    const int port = testPortBase(19);
    StandinProcess server({"--game", "ut2004", "--port", QString::number(port), "--name", "Admin Test"});
    ASSERT_TRUE(server.ready());
    MonitorFixture t({QStringLiteral("127.0.0.1:%1:UT3").arg(port)});
    appConfig().RefreshDelay = "1";  // time for the probe's reply
    t.s.ScanRow = 1;
    t.ask(1);
    QElapsedTimer clock;
    clock.start();
    while (t.cell(1, ServerCol::Name) != "Admin Test" && clock.elapsed() < 3000) pumpEvents(5);
    ASSERT_EQ(t.cell(1, ServerCol::Name), "Admin Test");
    EXPECT_EQ(t.s.panel.Text3, "Stand-in Admin ( admin@example.com )");
}

// A name in the status reply is what the server says last: it wins over the probe's.
TEST(PanelAdmin, StatusReplyAdminWinsOverTheProbe) {
    MonitorFixture t({QStringLiteral("127.0.0.1:%1:UT3").arg(kQuietUt2Port)});
    appConfig().RefreshDelay = "1";
    t.s.ScanRow = 1;
    t.m.QueryServer("127.0.0.1", kQuietUt2Port, "UT3");
    pumpEvents(5);
    t.feed(probeReply({{"AdminName", "Probe Admin"}, {"AdminEmail", "probe@example.com"}}), kQuietUt2Port - 9);
    t.feed(ut2004Reply({{"adminname", "Status Admin"}}), kQuietUt2Port);
    EXPECT_EQ(t.s.panel.Text3, "Status Admin ( probe@example.com )");
}
