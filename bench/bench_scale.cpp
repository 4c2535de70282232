// VYRN at scale: 1,000 UT2004 favourites and 100 buddies scanned and sorted with
// stand-in servers answering, and a flood of datagrams from addresses that are no
// favourite. Reports the longest event-loop block and the memory held.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <QUdpSocket>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include "BenchSupport.h"
#include "platform/MonotonicClock.h"
#include "query/MainGrids.h"
#include "query/ServerMonitor.h"
#include "state/AppConfig.h"

namespace {
const QString kHost = QStringLiteral("127.0.0.1");

double residentMiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024 * 1024) : 0;
}

void fillFavourites(MainState& s, int count, int basePort) {
    setUpServerGrid(s);
    setUpPlayerGrid(s);
    setUpBuddyGrid(s);
    FlexGrid& g = s.serverGrid;
    g.setRowCount(count + 1);
    for (int i = 1; i <= count; ++i) {
        g.setCellText(i, 0, QString::number(i));
        g.setCellText(i, 1, kHost);
        g.setCellText(i, 2, kHost);
        g.setCellText(i, 3, QString::number(basePort + 10 * (i - 1)));
        g.setCellText(i, 7, QStringLiteral("UT3"));
    }
    FlexGrid& b = s.buddyGrid;
    b.setCellText(1, 0, QStringLiteral("Player 0"));
    for (int i = 1; i < 100; ++i)
        b.appendRow(i % 10 ? QStringLiteral("Buddy %1").arg(i) : QStringLiteral("**%1**").arg(i));
}

void BM_ScanAndSortThousandFavouritesHundredBuddies(benchmark::State& state) {
    const int servers = 1000, base = 43000;
    QProcess standin;
    standin.start(QStringLiteral(VYRN_STANDIN_SERVER),
                  {"--game", "ut2004", "--port", QString::number(base), "--servers", QString::number(servers),
                   "--port-step", "10", "--player-count", "16", "--lifetime-seconds", "120"});
    if (!standin.waitForStarted(5000) || !standin.waitForReadyRead(15000)) {
        state.SkipWithError("stand-in did not start");
        return;
    }
    appConfig().refreshDelay = QStringLiteral("0");  // no probe wait: as fast as it goes
    double worstBlockMs = 0, answered = 0, rssBefore = residentMiB(), rssAfter = 0;
    for (auto _ : state) {
        MainState s;
        fillFavourites(s, servers, base);
        ServerMonitor m(s);
        s.readyToQuery = true;
        s.autoScanTimer.setInterval(1);
        s.autoScanTimer.setEnabled(true);
        // The user sorts by players now and then while the scan runs.
        QTimer sorter;
        sorter.setInterval(250);
        int sortColumn = 0;
        QObject::connect(&sorter, &QTimer::timeout, [&] { sortServerGrid(s, (sortColumn++ % 2) ? 4 : 6); });
        BlockMeter meter;
        sorter.start();
        QElapsedTimer round;
        round.start();
        while (round.elapsed() < 60000 && s.scanRow < servers)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QElapsedTimer tail;
        tail.start();
        while (tail.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        s.autoScanTimer.setEnabled(false);
        meter.heartbeat.stop();
        sorter.stop();
        worstBlockMs = meter.worstMs();
        answered = 0;
        for (int r = 1; r < s.serverGrid.rowCount(); ++r)
            if (!s.serverGrid.cellText(r, 4).isEmpty()) ++answered;
        rssAfter = residentMiB();
    }
    standin.kill();
    standin.waitForFinished();
    state.counters["longest_block_ms"] = worstBlockMs;
    state.counters["answered"] = answered;
    state.counters["rss_MiB_before"] = rssBefore;
    state.counters["rss_MiB_after"] = rssAfter;
}
BENCHMARK(BM_ScanAndSortThousandFavouritesHundredBuddies)->Iterations(1)->Unit(benchmark::kMillisecond);

// 100,000 status datagrams from a port that is no favourite's: nothing changes and the
// memory stays flat.
void BM_FloodFromStrangers(benchmark::State& state) {
    MainState s;
    fillFavourites(s, 10, 44000);
    ServerMonitor m(s);
    QUdpSocket flood;
    m.queryServer(kHost, 44000, QStringLiteral("UT"));  // binds the monitor's socket
    const quint16 target = m.querier().socket().localPort();
    const QByteArray junk = "\\gamename\\ut2004\\hostname\\Not Yours\\numplayers\\0\\partial";
    double rssStart = 0, rssEnd = 0, changed = 0, received = 0;
    for (auto _ : state) {
        rssStart = residentMiB();
        for (int i = 0; i < 100000; ++i) {
            flood.writeDatagram(i % 10 ? junk : junk + "\\final\\", QHostAddress(kHost), target);
            if (i % 200 == 0) QCoreApplication::processEvents();
        }
        QElapsedTimer tail;
        tail.start();
        while (tail.elapsed() < 500) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        rssEnd = residentMiB();
        changed = 0;
        for (int r = 1; r < s.serverGrid.rowCount(); ++r)
            if (s.serverGrid.cellText(r, 1) != kHost) ++changed;
        received = m.querier().inFlight();
    }
    state.counters["rows_changed"] = changed;
    state.counters["rss_MiB_start"] = rssStart;
    state.counters["rss_MiB_end"] = rssEnd;
    state.counters["queries_in_flight"] = received;
}
BENCHMARK(BM_FloodFromStrangers)->Iterations(1)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
    return runBenchmarks<QCoreApplication>(argc, argv);
}
