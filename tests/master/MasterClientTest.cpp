// The master exchange over real TCP on loopback against the stand-in master, which
// checks the validate answer as a real master does; and `vyrn --master` run as the user
// runs it.
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <gtest/gtest.h>

#include "support/StandinProcess.h"
#include "master/MasterClient.h"

namespace {
// Runs a client over the masters on these loopback ports to its end; keeps what it reported.
struct Fetch {
    QStringList servers;
    QList<MasterOutcome> outcomes;
    std::optional<bool> complete;

    explicit Fetch(const QList<int>& ports, MasterClient::Timeouts t = {}) {
        QList<MasterAddress> masters;
        for (int port : ports) masters.append({QStringLiteral("127.0.0.1"), quint16(port)});
        MasterClient c(masters, "ut", t);
        c.serversArrived = [this](const QList<ServerAddress>& l) {
            for (const ServerAddress& s : l) servers << s.text();
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

ProgramRun run(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);  // the command line needs none
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VYRN_EXECUTABLE), args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
            QString::fromUtf8(p.readAllStandardError())};
}
}  // namespace

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
    EXPECT_EQ(f.outcomes[1].failure, MasterFailure::TimedOut);
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
    const ProgramRun ut2004 = run({"--master", "--game", "ut2004", refusing.address()});
    EXPECT_EQ(ut2004.code, 2);
    EXPECT_TRUE(ut2004.err.contains("CD key")) << ut2004.err.toStdString();
    EXPECT_EQ(run({"--master", "not a master"}).code, 2);
}
