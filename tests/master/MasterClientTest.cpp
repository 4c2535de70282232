// The master exchange over real TCP on loopback against the stand-in master, which
// checks the validate answer as a real master does; and `vyrn --master` run as the user
// runs it.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <gtest/gtest.h>

#include "support/StandinProcess.h"
#include "master/MasterClient.h"
#include "support/GameInstalls.h"

namespace {
// Runs a client over the masters on these loopback ports to its end; keeps what it reported.
struct Fetch {
    QStringList servers;
    QList<MasterOutcome> outcomes;
    std::optional<bool> complete;

    explicit Fetch(const QList<int>& ports, MasterClient::Timeouts t = {},
                   MasterClient::ExchangeMaker exchange = masterExchangeFor(Game::UT, {})) {
        QList<MasterAddress> masters;
        for (int port : ports) masters.append({QStringLiteral("127.0.0.1"), quint16(port)});
        MasterClient c(masters, std::move(exchange), t);
        c.serversArrived = [this](const QList<ListedServer>& l) {
            for (const ListedServer& s : l) servers << s.server.text();
        };
        c.masterDone = [this](const MasterOutcome& o) { outcomes << o; };
        c.finished = [this](bool whole) { complete = whole; };
        c.start();
        EXPECT_TRUE(QTest::qWaitFor([this] { return complete.has_value(); }, 20000));
    }
};

// What `vyrn` run without a display, as from a script, gave back.
struct ProgramRun {
    int code;
    QStringList out;
    QString err;
};

ProgramRun run(const QStringList& args, const QString& home = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!home.isEmpty()) env.insert("HOME", home);
    for (const char* name : {"DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);  // the command line needs none
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VYRN_EXECUTABLE), args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
            QString::fromUtf8(p.readAllStandardError())};
}
const QByteArray kKey = "ABCDE-FGHIJ-KLMNO-PQRST";
}  // namespace

// The UT2 exchange with the stand-in master, which checks both hashes: what each master's
// behaviour comes to, and the servers kept.
TEST(Ut2MasterExchange, BothGamesListedAndEachMisbehaviourNamed) {
    const std::tuple<Game, QStringList, int, const char*> cases[] = {
        {Game::UT2004, {}, 3, "3 servers"},
        {Game::UT2003, {"--game", "ut2003"}, 3, "3 servers"},
        {Game::UT2004, {"--game", "ut2003"}, 0, "refused the CD key (UNKNOWN_CDKEY)"},
        {Game::UT2003,
         {"--cdkey", "ZZZZZ-FGHIJ-KLMNO-PQRST", "--game", "ut2003"},
         0,
         "refused the CD key (UNKNOWN_CDKEY)"},
        {Game::UT2004, {"--fault", "no-challenge"}, 0, "sent no challenge"},
        {Game::UT2004,
         {"--fault", "close-early"},
         1,
         "closed the connection before the end of the list (1 servers)"},
        {Game::UT2004, {"--fault", "bad-records"}, 3, "3 servers; 3 unusable entries skipped"},
        {Game::UT2004, {"--fault", "huge-record"}, 0, "sent something that is not a server list"},
        {Game::UT2004, {"--fault", "long-string"}, 1, "1 servers"},
        {Game::UT2004, {"--fault", "short-count"}, 3, "stopped before the end of the list (3 servers)"},
        {Game::UT2004, {"--fault", "huge-count"}, 3, "stopped before the end of the list (3 servers)"},
        {Game::UT2004,
         {"--fault", "flood"},
         MasterClient::kMaxServers,
         "sent more than 20000 servers; the rest were left out"}};
    MasterClient::Timeouts t;
    t.silenceMs = 700;
    t.totalMs = 10000;
    for (const auto& [game, args, servers, said] : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        Ut2MasterStandin master(QStringList{"--cdkey", kKey, "--servers", "3"} + args);
        ASSERT_TRUE(master.ready());
        const Fetch f({master.port()}, t, masterExchangeFor(game, CdKey::parse(kKey)));
        EXPECT_EQ(f.servers.size(), servers);
        EXPECT_EQ(describeOutcome(f.outcomes.value(0)), master.address() + ": " + said);
        EXPECT_TRUE(servers != 3 || f.servers.value(2) == "127.0.0.1:7789");  // game port 7779 + 10
    }
}

// The key is the player's own: from the Wine registry of a 64-bit prefix (under
// Wow6432Node) or from a native port's "System/CDKEY"; never in anything printed.
TEST(Ut2MasterExchange, KeyFoundOnDiskAndNeverPrinted) {
    GameInstalls installs;
    const InstalledGame wine = installs.wine(Game::UT2004);
    GameInstalls::write(
        wine.prefix + "/system.reg",
        "WINE REGISTRY Version 2\n#arch=win64\n\n[Software\\\\Wow6432Node\\\\Unreal Technology"
        "\\\\Installed Apps\\\\UT2004] 1700000000\n\"CDKey\"=\"" +
            kKey + "\"\n");
    AppConfig config;
    EXPECT_TRUE(findCdKey(Game::UT2004, config).key == CdKey::parse(kKey));
    const InstalledGame native = installs.native(Game::UT2003, "~/ut2003");
    GameInstalls::write(QFileInfo(native.executable).path() + "/CDKEY", kKey.toLower() + "\r\n");
    config.ut2003Path = native.executable;
    EXPECT_TRUE(findCdKey(Game::UT2003, config).key == CdKey::parse(kKey));

    Ut2MasterStandin master({"--cdkey", kKey, "--servers", "2"});
    ASSERT_TRUE(master.ready());
    const ProgramRun listed =
        run({"--master", "--game", "ut2004", "--json", master.address()}, installs.home());
    EXPECT_EQ(listed.code, 0) << listed.err.toStdString();
    ASSERT_EQ(listed.out.size(), 2);
    EXPECT_EQ(listed.out[0],
              "{\"address\":\"127.0.0.1\",\"game\":\"UT2004\",\"gamePort\":7777,\"gameType\":\"Xdeathmatch\","
              "\"hostName\":\"Stand-in 1\",\"map\":\"DM-Rankin\",\"maxPlayers\":16,\"numPlayers\":0,"
              "\"queryPort\":7787}");
    // A listed server is asked through its own protocol at once (its map without the title
    // a "\status\" reply gives), so one with "\status\" switched off answers as fast.
    StandinProcess server({"--game", "ut2004", "--players", "Ann,Bo"});
    ASSERT_TRUE(server.ready());
    Ut2MasterStandin lister(
        {"--cdkey", kKey, "--servers", "1", "--list-port", QString::number(server.port() - 10)});
    ASSERT_TRUE(lister.ready());
    const ProgramRun queried =
        run({"--master", "--game", "ut2004", "--json", "--query", lister.address()}, installs.home());
    ASSERT_EQ(queried.out.size(), 1) << queried.err.toStdString();
    const QJsonObject answer = QJsonDocument::fromJson(queried.out[0].toUtf8()).object();
    EXPECT_EQ(answer["map"].toString() + answer["players"].toArray()[1].toObject()["name"].toString(),
              "DM-Deck16][Bo");
    GameInstalls::write(installs.home() + "/key.txt", kKey + "\n");
    const ProgramRun refused =
        run({"--master", "--game", "ut2003", "--cdkey", installs.home() + "/key.txt", master.address()});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err.trimmed(), master.address() + ": refused the CD key (UNKNOWN_CDKEY)");
    const ProgramRun none =
        run({"--master", "--game", "ut2003", master.address()}, QDir::tempPath() + "/nobody");
    EXPECT_EQ(none.code, 2);
    EXPECT_TRUE(none.err.contains("CD key") && none.err.contains("nobody/.wine/system.reg"))
        << none.err.toStdString();
    for (const ProgramRun& r : {listed, refused, none})
        for (const QString& text : {r.out.join('\n'), r.err}) {
            EXPECT_FALSE(text.contains(QString(kKey), Qt::CaseInsensitive));
            EXPECT_FALSE(text.contains(QString(kKey).remove('-'), Qt::CaseInsensitive));
        }
}

TEST(MasterExchange, MasterClosingEarlyIsNamedTheNextTriedAndEachServerTakenOnce) {
    MasterStandin closing({"--fault", "close-early", "--servers", "10", "--list-port", "9000"});
    MasterStandin good({"--fault", "bad-ports", "--servers", "12", "--list-port", "9000"});
    ASSERT_TRUE(closing.ready());
    ASSERT_TRUE(good.ready());
    const Fetch f({closing.port(), good.port()});
    EXPECT_EQ(f.complete, true);
    // The master that closed early sent 9000 to 9003 (its last entry was cut, so it is not
    // taken); the good master adds the rest once, its unusable entries left out.
    QStringList expected;
    for (int port = 9000; port < 9012; ++port) expected << QStringLiteral("127.0.0.1:%1").arg(port);
    EXPECT_EQ(f.servers, expected);
    ASSERT_EQ(f.outcomes.size(), 2);
    EXPECT_EQ(describeOutcome(f.outcomes[0]),
              closing.address() + ": closed the connection before the end of the list (4 servers)");
    EXPECT_EQ(describeOutcome(f.outcomes[1]), good.address() + ": 8 servers; 4 unusable entries skipped");
}

TEST(MasterExchange, SilentSlowAndFloodingMastersAreCutOff) {
    MasterStandin noFinal({"--fault", "no-final", "--servers", "4"});
    MasterStandin slow(
        {"--fault", "slow", "--byte-delay-ms", "20", "--servers", "50", "--list-port", "9000"});
    MasterStandin flood({"--fault", "flood"});
    for (const StandinProcess* master : {&noFinal, &slow, &flood}) ASSERT_TRUE(master->ready());
    MasterClient::Timeouts t;
    t.silenceMs = 500;
    t.totalMs = 1500;
    const Fetch f({noFinal.port(), slow.port()}, t);
    EXPECT_EQ(f.complete, false);
    ASSERT_EQ(f.outcomes.size(), 2);
    EXPECT_EQ(f.outcomes[0].failure, MasterFailure::TimedOut);
    EXPECT_EQ(f.outcomes[0].servers, 3);  // the last entry never got its closing backslash
    EXPECT_EQ(f.outcomes[1].failure, MasterFailure::TooSlow);  // in words of its own
    EXPECT_TRUE(describeOutcome(f.outcomes[1])
                    .startsWith(slow.address() + ": did not send its whole list within the 1.5 s allowed ("));
    EXPECT_GT(f.outcomes[1].servers, 0)
        << describeOutcome(f.outcomes[1]).toStdString();  // what came in time is kept
    EXPECT_LT(f.outcomes[1].servers, 50);
    // Ten million entries stop at the limit, in the usual time allowed.
    const Fetch flooded({flood.port()});
    EXPECT_EQ(flooded.servers.size(), MasterClient::kMaxServers);
    EXPECT_EQ(describeOutcome(flooded.outcomes.value(0)),
              flood.address() + ": sent more than 20000 servers; the rest were left out");
}

TEST(MasterCommand, PrintsOrQueriesTheListNamesTheMastersThatFailedAndSaysSoInTheExitCode) {
    StandinProcess servers({"--game", "ut", "--servers", "2", "--name", "Listed"});
    const SilentPorts quiet;
    MasterStandin refusing({"--fault", "refuse"});
    // The third listed server does not answer.
    MasterStandin good({"--servers", "2", "--list-port", QString::number(servers.port()), "--list-ports",
                        QString::number(quiet.port())});
    for (const StandinProcess* p : std::initializer_list<const StandinProcess*>{&servers, &refusing, &good})
        ASSERT_TRUE(p->ready());
    const QStringList listed = {servers.address(), QStringLiteral("127.0.0.1:%1").arg(servers.port() + 1),
                                QStringLiteral("127.0.0.1:%1").arg(quiet.port())};
    const ProgramRun r = run({"--master", refusing.address(), good.address()});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, listed);
    EXPECT_EQ(r.err.trimmed(), refusing.address() + ": refused the connection");

    // Each listed server asked as "--query" asks it; one silent makes the exit code 1.
    const ProgramRun json =
        run({"--master", "--query", "--json", "--game", "ut", "--timeout", "500", good.address()});
    EXPECT_EQ(json.code, 1);
    ASSERT_EQ(json.out.size(), 3) << json.err.toStdString();
    QStringList answered;
    for (const QString& line : json.out) {
        const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
        answered << o.value("game").toString() + " " + o.value("address").toString() + ":" +
                        QString::number(o.value("queryPort").toInt()) + " " + o.value("hostName").toString();
    }
    QStringList expected = {"UT " + listed[0] + " Listed 1", "UT " + listed[1] + " Listed 2",
                            "UT " + listed[2] + " "};
    answered.sort();
    expected.sort();
    EXPECT_EQ(answered, expected);

    EXPECT_EQ(run({"--master", refusing.address()}).code, 1);
    const ProgramRun ut2004 =
        run({"--master", "--game", "ut2004", refusing.address()}, QDir::tempPath() + "/nobody");
    EXPECT_EQ(ut2004.code, 2);
    EXPECT_TRUE(ut2004.err.contains("CD key")) << ut2004.err.toStdString();
    EXPECT_EQ(run({"--master", "not a master"}).code, 2);
}
