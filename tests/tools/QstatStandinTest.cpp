// The stand-in answers a real client, Debian's quakestat, as a game server would.
#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "support/StandinProcess.h"

namespace {
QString runQuakestat(const QStringList& args) {
    QProcess q;
    q.start(QStringLiteral("quakestat"), args);
    q.waitForFinished(15000);
    return QString::fromLatin1(q.readAllStandardOutput());
}
}  // namespace

TEST(QstatStandin, UnrealStatusReadLikeARealServer) {
    if (QStandardPaths::findExecutable(QStringLiteral("quakestat")).isEmpty())
        GTEST_SKIP() << "quakestat is not installed";
    const int gamePort = 30000 + int(QCoreApplication::applicationPid() % 3000) * 3;
    StandinProcess server({"--game", "ut", "--port", QString::number(gamePort + 1), "--name",
                           "Qstat Check", "--player-count", "12", "--split", "400",
                           "--max-players", "24"});
    ASSERT_TRUE(server.ready());
    const QString out = runQuakestat({"-uns", QStringLiteral("127.0.0.1:%1").arg(gamePort), "-P", "-R"});
    EXPECT_TRUE(out.contains("Qstat Check")) << out.toStdString();
    EXPECT_TRUE(out.contains("12/24")) << out.toStdString();
    EXPECT_TRUE(out.contains("DM-Deck16][")) << out.toStdString();
    for (int i = 1; i <= 12; ++i)
        EXPECT_TRUE(out.contains(QStringLiteral("Player%1\n").arg(i))) << i;
    EXPECT_TRUE(out.contains("gamename=ut")) << out.toStdString();
}

TEST(QstatStandin, Ut2004NativeServerInformation) {
    if (QStandardPaths::findExecutable(QStringLiteral("quakestat")).isEmpty())
        GTEST_SKIP() << "quakestat is not installed";
    const int gamePort = 40000 + int(QCoreApplication::applicationPid() % 2000) * 12;
    for (const char* game : {"ut2004", "ut2003"}) {
        StandinProcess server({"--game", game, "--port", QString::number(gamePort + 10), "--name",
                               "Native Check", "--player-count", "5", "--max-players", "20",
                               "--map", "ONS-Torlan", "--gametype", "ONSOnslaughtGame"});
        ASSERT_TRUE(server.ready());
        const QString type = QString::fromLatin1(game) == "ut2004" ? "-ut2004s" : "-ut2s";
        const QString out = runQuakestat({type, QStringLiteral("127.0.0.1:%1").arg(gamePort)});
        EXPECT_TRUE(out.contains("Native Check")) << game << out.toStdString();
        EXPECT_TRUE(out.contains("5/20")) << game << out.toStdString();
        EXPECT_TRUE(out.contains("ONS-Torlan")) << game << out.toStdString();
        EXPECT_TRUE(out.contains("ONSOnslaughtGame")) << game << out.toStdString();
    }
}
