// "Find Servers" over a master's list of 5,000 stand-in servers: time until the window's
// list is complete (every server listed and answered), against quakestat reading the same
// master and querying the same servers in the same run; and the longest event-loop block
// while the list fills (after the window's first paint, which is given apart).
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <ctime>
#include <memory>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "master/FindServersWindow.h"
#include "state/ProgramFolder.h"
#include "platform/MonotonicClock.h"
#include "query/MainGrids.h"

namespace {
constexpr int kServers = 5000;

struct Processes {
    std::vector<std::unique_ptr<QProcess>> list;
    bool start(const QString& program, const QStringList& args) {
        auto p = std::make_unique<QProcess>();
        p->start(program, args + QStringList{"--lifetime-seconds", "600"});
        const bool ok = p->waitForStarted(5000) && p->waitForReadyRead(30000);
        list.push_back(std::move(p));
        return ok;
    }
    ~Processes() {
        for (auto& p : list) {
            p->kill();
            p->waitForFinished();
        }
    }
};

void BM_FindServersFiveThousandVersusQstat(benchmark::State& state) {
    const int gameBase = 52000 + int(QCoreApplication::applicationPid() % 8) * 100;
    const int masterPort = 39000 + int(QCoreApplication::applicationPid() % 500);
    Processes p;
    if (!p.start(QStringLiteral(VYRN_STANDIN_SERVER),
                 {"--game", "ut", "--port", QString::number(gameBase), "--servers", QString::number(kServers),
                  "--player-count", "8"}) ||
        !p.start(QStringLiteral(VYRN_STANDIN_MASTER),
                 {"--port", QString::number(masterPort), "--servers", QString::number(kServers),
                  "--list-port", QString::number(gameBase), "--lenient"})) {
        state.SkipWithError("stand-ins did not start");
        return;
    }
    const MasterAddress master{QStringLiteral("127.0.0.1"), quint16(masterPort)};
    double windowMs = 0, qstatMs = 0, worstBlockMs = 0, worstBlockCpuMs = 0, showMs = 0;
    int answered = 0, qstatListed = 0;
    for (auto _ : state) {
        MainState s;
        setUpServerGrid(s);
        setUpBuddyGrid(s);
        QElapsedTimer clock;
        clock.start();
        FindServersWindow window(s, {master});
        window.show();
        // The window's first layout and paint are counted apart from the filling.
        QCoreApplication::processEvents();
        showMs = double(clock.nsecsElapsed()) / 1e6;
        BlockMeter meter;
        while ((window.listing() || window.querying()) && clock.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        while (!window.model().settled()) window.model().flush();
        windowMs = double(clock.nsecsElapsed()) / 1e6;
        worstBlockMs = meter.worstMs();
        worstBlockCpuMs = meter.worstCpuMs();
        answered = window.model().answeredCount();

        QProcess qstat;
        clock.restart();
        qstat.start(QStringLiteral("quakestat"), {"-nh", "-maxsim", "64", "-gsm,ut", master.text()});
        qstat.waitForFinished(120000);
        qstatMs = double(clock.nsecsElapsed()) / 1e6;
        qstatListed = int(qstat.readAllStandardOutput().count("\nGPS"));
    }
    state.counters["window_ms"] = windowMs;
    state.counters["qstat_ms"] = qstatMs;
    state.counters["ratio"] = qstatMs > 0 ? windowMs / qstatMs : 0;
    state.counters["answered"] = answered;
    state.counters["qstat_servers"] = qstatListed;
    state.counters["show_ms"] = showMs;
    state.counters["worst_block_ms"] = worstBlockMs;
    state.counters["worst_block_cpu_ms"] = worstBlockCpuMs;
}
BENCHMARK(BM_FindServersFiveThousandVersusQstat)->Unit(benchmark::kMillisecond)->Iterations(1);

// A UT2004 master's list of 5,000 servers from the stand-in UT2 master, every one a
// stand-in that answers only the servers' own protocol ("\status\" switched off): time
// until the client holds the whole list, and until "Find Servers" shows it with every
// server answered, beside quakestat reading the same master and querying the same servers.
// Run it without a network of its own:
//   unshare -n sh -c 'ip link set lo up; build/bench/bench_master'
void BM_Ut2004ListFiveThousandVersusQstat(benchmark::State& state) {
    QProcess servers;
    servers.start(QStringLiteral(VYRN_STANDIN_SERVER),
                  {"--game", "ut2004", "--native-only", "--port", "0", "--servers", QString::number(kServers),
                   "--player-count", "4", "--lifetime-seconds", "600"});
    if (!servers.waitForStarted(5000) || !servers.waitForReadyRead(30000)) {
        state.SkipWithError("stand-in servers did not start");
        return;
    }
    const int firstGamePort = servers.readLine().trimmed().split(' ').value(1).toInt() - 10;
    QProcess master;
    master.start(QStringLiteral(VYRN_STANDIN_UT2MASTER),
                 {"--cdkey", "ABCDE-FGHIJ-KLMNO-PQRST", "--servers", QString::number(kServers), "--list-port",
                  QString::number(firstGamePort), "--lifetime-seconds", "600"});
    if (!master.waitForStarted(5000) || !master.waitForReadyRead(10000)) {
        state.SkipWithError("stand-in master did not start");
        return;
    }
    const quint16 port = quint16(master.readLine().trimmed().split(' ').value(1).toUInt());
    const MasterAddress address{QStringLiteral("127.0.0.1"), port};
    const auto key = CdKey::parse("ABCDE-FGHIJ-KLMNO-PQRST");
    double clientMs = 0, windowMs = 0, qstatMs = 0, worstBlockMs = 0;
    int listed = 0, shown = 0, answered = 0, qstatListed = 0, qstatAnswered = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        MasterClient client({address}, masterExchangeFor(Game::UT2004, key));
        bool done = false;
        client.serversArrived = [&](const QList<ListedServer>& l) { listed += int(l.size()); };
        client.finished = [&](bool) { done = true; };
        client.start();
        while (!done && clock.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        clientMs = double(clock.nsecsElapsed()) / 1e6;

        MainState s;
        setUpServerGrid(s);
        setUpBuddyGrid(s);
        QTemporaryDir folder;
        setProgramFolder(folder.path());
        QFile keyFile(folder.filePath("cdkey-ut2004"));
        keyFile.open(QIODevice::WriteOnly);
        keyFile.write("ABCDE-FGHIJ-KLMNO-PQRST\r\n");
        keyFile.close();
        FindServersWindow window(s, {});
        window.setMasters(Game::UT2004, {address});
        window.show();
        QCoreApplication::processEvents();
        BlockMeter meter;
        clock.restart();
        window.chooseGames({Game::UT2004});
        while ((window.listing() || window.querying()) && clock.elapsed() < 120000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        while (!window.model().settled()) window.model().flush();
        windowMs = double(clock.nsecsElapsed()) / 1e6;
        worstBlockMs = meter.worstMs();
        shown = window.model().rowCount();
        answered = window.model().answeredCount();

        QProcess qstat;
        clock.restart();
        qstat.start(QStringLiteral("quakestat"),
                    {"-nh", "-maxsim", "64", "-ut2004m,cdkey=" + keyFile.fileName(), address.text()});
        qstat.waitForFinished(120000);
        qstatMs = double(clock.nsecsElapsed()) / 1e6;
        const QByteArray out = qstat.readAllStandardOutput();
        qstatListed = int(out.count("\nUT2004S"));
        qstatAnswered = qstatListed - int(out.count(" DOWN")) - int(out.count(" TIMEOUT"));
    }
    master.kill();
    master.waitForFinished();
    servers.kill();
    servers.waitForFinished();
    state.counters["client_list_ms"] = clientMs;
    state.counters["window_answered_ms"] = windowMs;
    state.counters["answered"] = answered;
    state.counters["qstat_answered"] = qstatAnswered;
    state.counters["ratio"] = qstatMs > 0 ? windowMs / qstatMs : 0;
    state.counters["qstat_ms"] = qstatMs;
    state.counters["listed"] = listed;
    state.counters["shown"] = shown;
    state.counters["qstat_servers"] = qstatListed;
    state.counters["worst_block_ms"] = worstBlockMs;
}
BENCHMARK(BM_Ut2004ListFiveThousandVersusQstat)->Unit(benchmark::kMillisecond)->Iterations(1);
}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return runBenchmarks<QApplication>(argc, argv);
}
