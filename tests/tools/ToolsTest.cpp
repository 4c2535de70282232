// The stand-in server answers a real client, Debian's quakestat, as a game server would;
// tools/demo writes a program folder of loopback stand-ins, one per game, with a buddy.
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "state/ConfigFile.h"
#include "support/StandinProcess.h"
#include "support/TestSupport.h"

TEST(QstatStandin, StatusReadLikeARealServerForEachGame) {
    if (QStandardPaths::findExecutable(QStringLiteral("quakestat")).isEmpty())
        GTEST_SKIP() << "quakestat is not installed";
    const char* ut2 = "--player-count 5 --max-players 20 --map ONS-Torlan --gametype ONSOnslaughtGame";
    // Game, quakestat type, query port above the game port (UT in pieces on the game port + 1),
    // options, texts seen.
    const std::tuple<const char*, const char*, int, const char*, const char*> cases[] = {
        {"ut", "-uns", 1, "--player-count 12 --split 400 --max-players 24",
         "12/24|DM-Deck16][|gamename=ut|Player1\n|Player6\n|Player12\n"},
        // qstat keeps the low byte of a UCS-2 string ("Ł" is U+0141) and the rules after it in step.
        {"ut2004", "-ut2004s", 10, "--player-count 5 --max-players 20 --admin Łukasz --mutators MutA,MutB",
         "5/20|AdminName=Aukasz|AdminEmail=admin@example.com|Mutator=MutA|MutB|Player5\n"},
        {"ut2003", "-ut2s", 10, ut2, "5/20|ONS-Torlan|ONSOnslaughtGame"},
        {"ut2004", "-ut2004s", 10, "--native-only --player-count 2", "2/16|DM-Deck16]["}};
    for (const auto& [game, type, offset, options, seen] : cases) {
        StandinProcess server(
            (QStringLiteral("--game %1 --name QstatCheck ").arg(game) + options).split(' '));
        ASSERT_TRUE(server.ready()) << game;
        QProcess q;
        q.start("quakestat", {type, "127.0.0.1:" + QString::number(server.port() - offset), "-P", "-R"});
        q.waitForFinished(15000);
        const QString out = QString::fromLatin1(q.readAllStandardOutput());
        SCOPED_TRACE(out.toStdString());
        for (const QString& text : (QString(seen) + "|QstatCheck").split('|'))
            EXPECT_TRUE(out.contains(text)) << text.toStdString();
    }
}

// The stand-in UT2 master hands its list to quakestat as to the game: challenge, both
// hashes of the key, APPROVED, VERIFIED, count and records. Without a network of its
// own, quakestat's queries of the listed servers stay on this machine.
TEST(QstatStandin, Ut2004MasterListedWithTheKeysHashes) {
    if (QStandardPaths::findExecutable(QStringLiteral("quakestat")).isEmpty())
        GTEST_SKIP() << "quakestat is not installed";
    TempProgramFolder folder;
    folder.write("key", "ABCDE-FGHIJ-KLMNO-PQRST\n");
    const QString script =
        QStringLiteral(
            "ip link set lo up || exit 77; %1 --cdkey ABCDE-FGHIJ-KLMNO-PQRST --servers 3 --list-port 7000 "
            "--lifetime-seconds 20 > %2/port & sleep 1; "
            "quakestat -nh -ut2004m,cdkey=%2/key 127.0.0.1:$(cut -d' ' -f2 %2/port)")
            .arg(VYRN_STANDIN_UT2MASTER, folder.path());
    QProcess q;
    q.start("unshare", {"-n", "sh", "-c", script});
    ASSERT_TRUE(q.waitForFinished(30000));
    if (q.exitCode() == 77) GTEST_SKIP() << "no network namespace here";
    const QString out = QString::fromLatin1(q.readAllStandardOutput());
    SCOPED_TRACE(out.toStdString());
    EXPECT_TRUE(out.contains("3 servers"));
    for (const char* server : {"127.0.0.1:7000 ", "127.0.0.1:7001 ", "127.0.0.1:7002 "})
        EXPECT_TRUE(out.contains(server));
}

TEST(DemoFolder, PointsAtThreeStandInsWithABuddyOnThem) {
    TempProgramFolder folder;
    QProcess demo;
    // The programs of this build, wherever it lies.
    demo.setEnvironment(QProcess::systemEnvironment()
                        << "VYRN_DEMO_DIR=" + folder.path()
                        << "VYRN_BUILD_DIR=" + QFileInfo(VYRN_EXECUTABLE).path());
    demo.start("bash", {QString(VYRN_SOURCE_DIR) + "/tools/demo", "--prepare"});
    ASSERT_TRUE(demo.waitForFinished(120000));
    ASSERT_EQ(demo.exitCode(), 0) << demo.readAllStandardError().toStdString();
    EXPECT_TRUE(folder.exists("vyrn"));
    EXPECT_EQ(QString(folder.read("servers.ini")).remove(QRegularExpression(":\\d+")),
              "127.0.0.1:UT\r\n127.0.0.1:UT2\r\n127.0.0.1:UT3\r\n");  // loopback only; ports left out
    EXPECT_TRUE(folder.read("buddies.ini").startsWith("Bob\r\n"));
    AppConfig config;
    bool skip = false;
    ASSERT_EQ(loadConfig(config, skip), GetPathsResult::Read);
    EXPECT_TRUE(skip);  // no library offer in the demo
    EXPECT_TRUE(buddyAlertsOn(config));
    EXPECT_EQ(config.refreshDelay.trimmed(), "1");
}
