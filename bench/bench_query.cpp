// Speed of the server query: decoding one full reply, "Refresh all" over 1,000 stand-in
// servers on loopback against quakestat, and how exact the pings are.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>
#include <sys/resource.h>
#include <vector>

#include "BenchSupport.h"
#include "platform/MonotonicClock.h"
#include "query/MainGrids.h"
#include "query/ServerMonitor.h"
#include "state/AppConfig.h"

namespace {
const QString kHost = QStringLiteral("127.0.0.1");

void addRow(MainState& s, int port, const QString& code) {
    FlexGrid& g = s.serverGrid;
    if (!g.cellText(1, 2).isEmpty()) g.appendRow(QString());
    const int row = g.rowCount() - 1;
    g.setCellText(row, 0, QString::number(row));
    g.setCellText(row, 1, kHost);
    g.setCellText(row, 2, kHost);
    g.setCellText(row, 3, QString::number(port));
    g.setCellText(row, 7, code);
}

// A UT2004 reply with 32 players cut into datagrams of about 1000 bytes.
QList<QByteArray> reply32() {
    QByteArray head = "\\gamename\\ut2004\\hostname\\Bench Server\\hostport\\7777\\maptitle\\Torlan"
                      "\\mapname\\ONS-Torlan\\gametype\\ONSOnslaughtGame\\numplayers\\32\\maxplayers\\32"
                      "\\password\\0\\adminname\\Root\\adminemail\\root@example.com\\gamever\\3369";
    QList<QByteArray> blocks{head};
    for (int i = 0; i < 32; ++i) {
        const QByteArray n = QByteArray::number(i);
        blocks << "\\player_" + n + "\\Player Number " + n + "\\frags_" + n + "\\" + QByteArray::number(i * 3) +
                      "\\ping_" + n + "\\" + QByteArray::number(40 + i) + "\\team_" + n + "\\" +
                      QByteArray::number(i % 2);
    }
    QList<QByteArray> out{QByteArray()};
    for (const QByteArray& b : blocks) {
        if (out.last().size() + b.size() > 1000) out << QByteArray();
        out.last() += b;
    }
    for (int k = 0; k < out.size(); ++k) out[k] += "\\queryid\\7." + QByteArray::number(k + 1);
    out.last() += "\\final\\";
    return out;
}

void BM_GatherAndDecode32Players(benchmark::State& state) {
    MainState s;
    setUpServerGrid(s);
    setUpPlayerGrid(s);
    setUpBuddyGrid(s);
    s.buddyGrid.setCellText(1, 0, "**Number 3**");
    s.buddyGrid.appendRow("nobody");
    addRow(s, 47787, "UT3");
    ServerMonitor m(s);
    s.autoScanMode = false;
    s.scanRow = 1;
    const QList<QByteArray> datagrams = reply32();
    const QByteArray probe("\x80\0\0\0\x01", 5);
    for (auto _ : state) {
        // The query goes to a loopback port nobody answers; the reply is fed to it.
        m.querier().query({kHost, 47787, "UT3"});
        QCoreApplication::processEvents();  // the query goes out
        m.querier().onDatagram(probe, kHost, 47787 - 9);
        for (const QByteArray& d : datagrams) m.querier().onDatagram(d, kHost, 47787);
        benchmark::DoNotOptimize(s.serverGrid.cellText(1, 4));
    }
    if (s.playerGrid.rowCount() != 33) state.SkipWithError("reply not decoded");
    state.counters["datagrams"] = double(datagrams.size());
}
BENCHMARK(BM_GatherAndDecode32Players)->Unit(benchmark::kMicrosecond);

// Stand-in servers for a benchmark, stopped when it ends.
struct Standins {
    std::vector<std::unique_ptr<QProcess>> processes;
    bool start(const QStringList& args) {
        auto p = std::make_unique<QProcess>();
        p->start(QStringLiteral(VYRN_STANDIN_SERVER), args + QStringList{"--lifetime-seconds", "300"});
        const bool ok = p->waitForStarted(5000) && p->waitForReadyRead(20000);
        processes.push_back(std::move(p));
        return ok;
    }
    ~Standins() {
        for (auto& p : processes) {
            p->kill();
            p->waitForFinished();
        }
    }
};

void runFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Server {
    int queryPort;
    const char* code;      // as in servers.ini
    const char* qstatType; // quakestat's type
    int qstatPort;         // the port quakestat is given
};

// 1,000 servers: UT on consecutive ports, UT2003 and UT2004 ten ports apart so the
// native port (query port - 9) of one never meets another's.
QList<Server> thousandServers(int base, Standins& standins, bool& started) {
    QList<Server> servers;
    const struct { const char* game; const char* code; const char* type; int count, first, step, gameOffset; } groups[] = {
        {"ut", "UT", "UNS", 334, base, 1, 1},
        {"ut2003", "UT2", "UT2S", 333, base + 1000, 10, 10},
        {"ut2004", "UT3", "UT2004S", 333, base + 5000, 10, 10}};
    started = true;
    for (const auto& g : groups) {
        started = started && standins.start({"--game", g.game, "--port", QString::number(g.first), "--servers",
                                             QString::number(g.count), "--port-step", QString::number(g.step),
                                             "--player-count", "8"});
        for (int i = 0; i < g.count; ++i) {
            const int q = g.first + i * g.step;
            servers.append({q, g.code, g.type, q - g.gameOffset});
        }
    }
    return servers;
}

// "Refresh all" over 1,000 stand-in servers (UT, UT2003, UT2004, 8 players each), then
// quakestat on the same servers: both wall times, their ratio, the number answered and
// the longest event-loop block during the refresh.
void BM_RefreshAllThousandVersusQstat(benchmark::State& state) {
    Standins standins;
    bool started = false;
    const QList<Server> servers = thousandServers(44000, standins, started);
    if (!started) {
        state.SkipWithError("stand-ins did not start");
        return;
    }
    appConfig().refreshDelay = QStringLiteral("2");  // the default pace
    double refreshMs = 0, refreshCpuMs = 0, qstatMs = 0, answered = 0, qstatAnswered = 0, worstBlockMs = 0;
    for (auto _ : state) {
        MainState s;
        setUpServerGrid(s);
        setUpPlayerGrid(s);
        setUpBuddyGrid(s);
        for (const Server& sv : servers) addRow(s, sv.queryPort, QString::fromLatin1(sv.code));
        ServerMonitor m(s);
        s.autoScanMode = true;
        BlockMeter meter;
        QElapsedTimer round;
        round.start();
        const double cpuBefore = threadCpuMs();
        m.refreshAll();
        while (!m.querier().idle() && round.elapsed() < 30000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        refreshMs = double(round.nsecsElapsed()) / 1e6;
        refreshCpuMs = threadCpuMs() - cpuBefore;
        worstBlockMs = meter.worstMs();
        answered = 0;
        for (int r = 1; r < s.serverGrid.rowCount(); ++r)
            if (!s.serverGrid.cellText(r, ServerCol::Ping).isEmpty()) ++answered;

        QTemporaryFile list;
        list.open();
        for (const Server& sv : servers)
            list.write(QByteArray(sv.qstatType) + " 127.0.0.1:" + QByteArray::number(sv.qstatPort) + '\n');
        list.flush();
        QProcess qstat;
        QElapsedTimer q;
        q.start();
        qstat.start(QStringLiteral("quakestat"), {"-f", list.fileName(), "-raw", ","});
        qstat.waitForFinished(60000);
        qstatMs = double(q.nsecsElapsed()) / 1e6;
        qstatAnswered = 0;
        for (const QByteArray& line : qstat.readAllStandardOutput().split('\n'))
            if (line.contains("127.0.0.1") && !line.contains("DOWN") && !line.contains("TIMEOUT")) ++qstatAnswered;
    }
    state.counters["refresh_ms"] = refreshMs;
    state.counters["refresh_cpu_ms"] = refreshCpuMs;
    state.counters["qstat_ms"] = qstatMs;
    state.counters["ratio"] = qstatMs > 0 ? refreshMs / qstatMs : 0;
    state.counters["answered"] = answered;
    state.counters["qstat_answered"] = qstatAnswered;
    state.counters["longest_block_ms"] = worstBlockMs;
}
BENCHMARK(BM_RefreshAllThousandVersusQstat)->Iterations(1)->Unit(benchmark::kMillisecond);

// Stand-ins answering after 0, 50, 200, 450 and 1,000 ms: the ping each shows, less
// its delay, in automatic mode at the default delay and after "Refresh all".
void BM_PingExactness(benchmark::State& state) {
    const int delays[] = {0, 50, 200, 450, 1000};
    const int base = 43000;
    Standins standins;
    for (int i = 0; i < 5; ++i)
        if (!standins.start({"--game", i % 2 ? "ut2004" : "ut", "--port", QString::number(base + 20 * i),
                             "--delay-ms", QString::number(delays[i]), "--player-count", "8"})) {
            state.SkipWithError("stand-ins did not start");
            return;
        }
    appConfig().refreshDelay = QStringLiteral("2");
    double worst = 0;
    for (auto _ : state) {
        for (const bool automatic : {true, false}) {
            MainState s;
            setUpServerGrid(s);
            setUpPlayerGrid(s);
            setUpBuddyGrid(s);
            for (int i = 0; i < 5; ++i) addRow(s, base + 20 * i, i % 2 ? "UT3" : "UT");
            ServerMonitor m(s);
            if (automatic) {
                s.readyToQuery = true;
                s.autoScanTimer.setEnabled(true);
                runFor(5 * 400 + 1500);  // every row once, and the slowest reply
                s.autoScanTimer.setEnabled(false);
            } else {
                m.refreshAll();
                runFor(1500);
            }
            for (int i = 0; i < 5; ++i) {
                const QString ping = s.serverGrid.cellText(i + 1, ServerCol::Ping);
                const double error = ping.isEmpty() ? 1e9 : ping.toDouble() - delays[i];
                worst = std::max(worst, std::abs(error));
                state.counters[QStringLiteral("%1_%2ms_error").arg(automatic ? "auto" : "all").arg(delays[i]).toStdString()] = error;
            }
        }
    }
    state.counters["worst_error_ms"] = worst;
}
BENCHMARK(BM_PingExactness)->Iterations(1)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
    return runBenchmarks<QCoreApplication>(argc, argv);
}
