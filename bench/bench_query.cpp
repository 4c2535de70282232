// Speed of the server query: decoding one full reply, and the event loop during a scan
// of 1,000 favourites answered by stand-in servers on loopback.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <benchmark/benchmark.h>

#include "platform/MonotonicClock.h"
#include "query/MainGrids.h"
#include "query/ServerMonitor.h"
#include "state/AppConfig.h"

namespace {
const QString kHost = QStringLiteral("127.0.0.1");

void addRow(MainState& s, int port, const QString& code) {
    FlexGrid& g = s.ServerGrid;
    if (!g.TextMatrix(1, 2).isEmpty()) g.AddItem(QString());
    const int row = g.Rows() - 1;
    g.setTextMatrix(row, 0, QString::number(row));
    g.setTextMatrix(row, 1, kHost);
    g.setTextMatrix(row, 2, kHost);
    g.setTextMatrix(row, 3, QString::number(port));
    g.setTextMatrix(row, 7, code);
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
    SetupServerGrid(s);
    SetupPlayerGrid(s);
    SetupBuddyGrid(s);
    s.BudList.setTextMatrix(1, 0, "**Number 3**");
    s.BudList.AddItem("nobody");
    addRow(s, 7787, "UT3");
    ServerMonitor m(s);
    s.AutoScanMode = false;
    const QList<QByteArray> datagrams = reply32();
    for (auto _ : state) {
        m.reply().QuerySentAt = monotonicMs();
        for (const QByteArray& d : datagrams) m.onDatagram(d, kHost, 7787);
        benchmark::DoNotOptimize(s.ServerGrid.TextMatrix(1, 4));
    }
    if (s.Flex.Rows() != 33) state.SkipWithError("reply not decoded");
    state.counters["datagrams"] = double(datagrams.size());
}
BENCHMARK(BM_GatherAndDecode32Players)->Unit(benchmark::kMicrosecond);

// The automatic scan over 1,000 favourites, ticking as fast as it can. A 1 ms heartbeat
// timer measures the longest time the event loop was blocked.
void BM_ScanThousandFavourites(benchmark::State& state) {
    const int servers = 1000, base = 41000;
    QProcess standin;
    standin.start(QStringLiteral(VYRN_STANDIN_SERVER),
                  {"--game", "ut", "--port", QString::number(base), "--servers", QString::number(servers),
                   "--player-count", "8", "--lifetime-seconds", "120"});
    if (!standin.waitForStarted(5000) || !standin.waitForReadyRead(10000)) {
        state.SkipWithError("stand-in did not start");
        return;
    }
    appConfig().RefreshDelay = QStringLiteral("0");  // no probe wait, interval kept
    double worstBlockMs = 0, roundMs = 0, answered = 0;
    for (auto _ : state) {
        MainState s;
        SetupServerGrid(s);
        SetupPlayerGrid(s);
        SetupBuddyGrid(s);
        for (int i = 0; i < servers; ++i) addRow(s, base + i, "UT");
        ServerMonitor m(s);
        s.ReadyToQuery = true;
        s.AutoScan.setInterval(1);
        s.AutoScan.setEnabled(true);

        qint64 last = monotonicNs(), worst = 0;
        QTimer heartbeat;
        heartbeat.setInterval(1);
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            const qint64 now = monotonicNs();
            worst = std::max(worst, now - last);
            last = now;
        });
        heartbeat.start();
        QElapsedTimer round;
        round.start();
        while (round.elapsed() < 30000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (s.ScanRow == servers) break;
        }
        roundMs = double(round.elapsed());
        // The last replies are still on their way.
        QElapsedTimer tail;
        tail.start();
        while (tail.elapsed() < 200) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        s.AutoScan.setEnabled(false);
        heartbeat.stop();
        worstBlockMs = double(worst) / 1e6;
        answered = 0;
        for (int r = 1; r < s.ServerGrid.Rows(); ++r)
            if (s.ServerGrid.TextMatrix(r, 1) != kHost) ++answered;
    }
    standin.kill();
    standin.waitForFinished();
    state.counters["round_ms"] = roundMs;
    state.counters["longest_block_ms"] = worstBlockMs;
    state.counters["answered"] = answered;
}
BENCHMARK(BM_ScanThousandFavourites)->Iterations(1)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
