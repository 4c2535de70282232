// The master exchange over real TCP on loopback against the stand-in master.
#include <QTcpSocket>
#include <gtest/gtest.h>

#include "MasterStandin.h"
#include "master/GameSpyValidate.h"
#include "master/MasterClient.h"

namespace {
MasterAddress local(int port) { return {QStringLiteral("127.0.0.1"), quint16(port)}; }

// Runs a client over the masters to its end and keeps what it reported.
struct Fetch {
    QStringList servers;
    QList<MasterOutcome> outcomes;
    std::optional<bool> complete;

    Fetch(const QList<MasterAddress>& masters, MasterClient::Timeouts t = {}, int waitMs = 20000) {
        MasterClient c(masters, "ut", t);
        c.serversArrived = [this](const QList<ServerAddress>& l) {
            for (const ServerAddress& s : l) servers << s.text();
        };
        c.masterDone = [this](const MasterOutcome& o) { outcomes << o; };
        c.finished = [this](bool whole) { complete = whole; };
        c.start();
        pumpUntil([this] { return complete.has_value(); }, waitMs);
    }
};

QStringList localServers(int firstPort, int count) {
    QStringList l;
    for (int i = 0; i < count; ++i) l << QStringLiteral("127.0.0.1:%1").arg(firstPort + i);
    return l;
}

// Reads from a raw socket until the master closes or the time is up.
QByteArray exchange(int port, const std::function<QByteArray(const QByteArray& challenge)>& answer) {
    QTcpSocket s;
    s.connectToHost(QStringLiteral("127.0.0.1"), quint16(port));
    if (!s.waitForConnected(3000) || !s.waitForReadyRead(3000)) return "no greeting";
    const QByteArray greeting = s.readAll();
    s.write(answer(greeting.sliced(greeting.lastIndexOf('\\') + 1)));
    QByteArray got;
    while (s.waitForReadyRead(2000)) got += s.readAll();
    return greeting + "|" + got;
}
}  // namespace

TEST(MasterExchange, StandinChecksTheValidateAnswer) {
    const int port = testPortBase(1);
    MasterStandin master(port, {"--servers", "2"});
    ASSERT_TRUE(master.ready());
    const QByteArray good = exchange(port, [](const QByteArray& challenge) {
        return "\\gamename\\ut\\location\\0\\validate\\" + gameSpyValidate(challenge, "Z5Nfb0") +
               "\\final\\\\list\\\\gamename\\ut\\final\\";
    });
    EXPECT_TRUE(good.startsWith("\\basic\\\\secure\\")) << good.constData();
    EXPECT_TRUE(good.endsWith("|\\ip\\127.0.0.1:7778\\ip\\127.0.0.1:7779\\final\\")) << good.constData();
    const QByteArray wrong = exchange(port, [](const QByteArray&) {
        return QByteArray("\\gamename\\ut\\location\\0\\validate\\AAAAAAAA\\final\\\\list\\\\gamename\\ut\\final\\");
    });
    EXPECT_TRUE(wrong.endsWith("|")) << wrong.constData();
}

TEST(MasterExchange, WholeListFromOneMaster) {
    const int port = testPortBase(2);
    MasterStandin master(port, {"--servers", "25", "--list-port", "9000"});
    ASSERT_TRUE(master.ready());
    const Fetch f({local(port)});
    EXPECT_EQ(f.complete, true);
    EXPECT_EQ(f.servers, localServers(9000, 25));
    ASSERT_EQ(f.outcomes.size(), 1);
    EXPECT_EQ(f.outcomes[0].failure, MasterFailure::None);
    EXPECT_EQ(describeOutcome(f.outcomes[0]), master.address() + ": 25 servers");
}

TEST(MasterExchange, FailingMastersAreNamedAndTheNextOneTried) {
    const int base = testPortBase(3);
    MasterStandin refusing(base, {"--fault", "refuse"});
    MasterStandin closing(base + 1, {"--fault", "close-early", "--servers", "10", "--list-port", "9000"});
    MasterStandin garbage(base + 2, {"--fault", "garbage"});
    MasterStandin good(base + 3, {"--servers", "12", "--list-port", "9000"});
    ASSERT_TRUE(refusing.ready() && closing.ready() && garbage.ready() && good.ready());
    const Fetch f({local(base), local(base + 1), local(base + 2), local(base + 3)});
    EXPECT_EQ(f.complete, true);
    // The servers of the master that closed early come once (its last entry was cut, so it
    // is not taken), the good master adds the rest.
    EXPECT_EQ(f.servers.size(), 12);
    ASSERT_EQ(f.outcomes.size(), 4);
    EXPECT_EQ(f.outcomes[0].failure, MasterFailure::Refused);
    EXPECT_EQ(f.outcomes[1].failure, MasterFailure::ClosedEarly);
    EXPECT_EQ(f.outcomes[2].failure, MasterFailure::Garbage);
    EXPECT_EQ(f.outcomes[3].failure, MasterFailure::None);
    EXPECT_EQ(describeOutcome(f.outcomes[0]), refusing.address() + ": refused the connection");
    EXPECT_EQ(describeOutcome(f.outcomes[1]),
              closing.address() + ": closed the connection before the end of the list (4 servers)");
    EXPECT_EQ(describeOutcome(f.outcomes[3]), good.address() + ": 8 servers");
}

TEST(MasterExchange, UnusablePortsAreSkippedAndCounted) {
    const int port = testPortBase(4);
    MasterStandin master(port, {"--fault", "bad-ports", "--servers", "3", "--list-port", "9000"});
    ASSERT_TRUE(master.ready());
    const Fetch f({local(port)});
    EXPECT_EQ(f.complete, true);
    EXPECT_EQ(f.servers, localServers(9000, 3));
    ASSERT_EQ(f.outcomes.size(), 1);
    EXPECT_EQ(f.outcomes[0].skipped, 4);
    EXPECT_EQ(describeOutcome(f.outcomes[0]), master.address() + ": 3 servers; 4 unusable entries skipped");
}

TEST(MasterExchange, SilentSlowAndEndlessMastersAreCutOff) {
    const int base = testPortBase(5);
    MasterStandin noFinal(base, {"--fault", "no-final", "--servers", "4"});
    MasterStandin slow(base + 1, {"--fault", "slow", "--byte-delay-ms", "20", "--servers", "50", "--list-port", "9000"});
    ASSERT_TRUE(noFinal.ready() && slow.ready());
    MasterClient::Timeouts t;
    t.silenceMs = 500;
    t.totalMs = 1500;
    QElapsedTimer clock;
    clock.start();
    const Fetch f({local(base), local(base + 1)}, t);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(f.complete, false);
    ASSERT_EQ(f.outcomes.size(), 2);
    EXPECT_EQ(f.outcomes[0].failure, MasterFailure::TimedOut);
    EXPECT_EQ(f.outcomes[0].servers, 3);  // the last entry never got its closing backslash
    EXPECT_EQ(f.outcomes[1].failure, MasterFailure::TimedOut);
    EXPECT_GT(f.outcomes[1].servers, 0) << describeOutcome(f.outcomes[1]).toStdString();  // what came in time is kept
    EXPECT_LT(f.outcomes[1].servers, 50);
}

TEST(MasterExchange, TenMillionEntriesStopAtTheLimit) {
    const int port = testPortBase(6);
    MasterStandin master(port, {"--fault", "flood"});
    ASSERT_TRUE(master.ready());
    QElapsedTimer clock;
    clock.start();
    const Fetch f({local(port)});
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(f.complete, false);
    EXPECT_EQ(f.servers.size(), MasterClient::kMaxServers);
    ASSERT_EQ(f.outcomes.size(), 1);
    EXPECT_EQ(f.outcomes[0].failure, MasterFailure::TooManyServers);
}
