// The stand-in answers a real client, Debian's quakestat, as a game server would.
#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "support/StandinProcess.h"

TEST(QstatStandin, StatusReadLikeARealServerForEachGame) {
    if (QStandardPaths::findExecutable(QStringLiteral("quakestat")).isEmpty())
        GTEST_SKIP() << "quakestat is not installed";
    const int gamePort = 30000 + int(QCoreApplication::applicationPid() % 3000) * 3;
    // UT is asked on the game port + 1 in pieces ("-uns"); UT2003/UT2004 natively on + 10.
    const struct { const char* game; const char* type; int queryOffset; QStringList more; QStringList seen; } cases[] = {
        {"ut", "-uns", 1, {"--player-count", "12", "--split", "400", "--max-players", "24"},
         {"12/24", "DM-Deck16][", "gamename=ut", "Player1\n", "Player6\n", "Player12\n"}},
        {"ut2004", "-ut2004s", 10, {"--player-count", "5", "--max-players", "20", "--map", "ONS-Torlan", "--gametype",
                                    "ONSOnslaughtGame"}, {"5/20", "ONS-Torlan", "ONSOnslaughtGame"}},
        {"ut2003", "-ut2s", 10, {"--player-count", "5", "--max-players", "20", "--map", "ONS-Torlan", "--gametype",
                                 "ONSOnslaughtGame"}, {"5/20", "ONS-Torlan", "ONSOnslaughtGame"}},
    };
    for (const auto& c : cases) {
        StandinProcess server(QStringList{"--game", c.game, "--port", QString::number(gamePort + c.queryOffset),
                                          "--name", "Qstat Check"} + c.more);
        ASSERT_TRUE(server.ready()) << c.game;
        QProcess q;
        q.start(QStringLiteral("quakestat"), {c.type, QStringLiteral("127.0.0.1:%1").arg(gamePort), "-P", "-R"});
        q.waitForFinished(15000);
        const QString out = QString::fromLatin1(q.readAllStandardOutput());
        for (const QString& text : c.seen + QStringList{"Qstat Check"})
            EXPECT_TRUE(out.contains(text)) << c.game << ": " << text.toStdString() << " in\n" << out.toStdString();
    }
}
