// The history of a year: 1,000 servers with a figure for every hour from a year ago to a
// week ago (as if every one had been heard every hour), and the last week of 50 favourites
// at one sample a minute (504,000 samples, written through the store as VYRN writes them).
// Measured: the file's size, the reads the pictures and "Find Servers" make, one "Refresh
// all" of 1,000 replies written on the worker, and the longest block of the event loop
// while the service records such a refresh and writes it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <ctime>
#include <sys/resource.h>

#include "BenchSupport.h"
#include "history/HistoryService.h"
#include "history/HistoryStore.h"
#include "platform/MonotonicClock.h"

namespace {
constexpr int kServers = 1000;
constexpr int kFavourites = 50;
const qint64 kNow = 1796673600;  // Monday 7 December 2026, 20:00 UTC

HistoryServer server(int i) { return {QStringLiteral("127.0.0.1"), 10000 + i, QStringLiteral("UT3")}; }

HistorySample sample(int i, qint64 time) {
    HistorySample s;
    s.server = server(i);
    s.serverName = QStringLiteral("Server %1").arg(i);
    s.time = time;
    s.players = int((time / 3600 % 24) * (i % 7 + 1) % 17);
    s.maxPlayers = 16;
    s.map = QStringLiteral("DM-Rankin");
    s.gameType = QStringLiteral("DeathMatch");
    s.pingMs = 40 + i % 50;
    return s;
}

// The year's hourly figures are written straight into the file's tables (a year of samples
// would take minutes to fold); the week of samples goes through add().
struct SimulatedYear {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("history.sqlite"));
    qint64 bytes = 0;

    SimulatedYear() {
        {
            HistoryStore store;
            store.open(path);
            for (int i = 0; i < kServers; ++i) store.add({sample(i, kNow - 8 * 86400)});
            for (qint64 from = kNow - 7 * 86400; from < kNow; from += 12 * 3600) {
                QList<HistorySample> batch;
                for (qint64 t = from; t < from + 12 * 3600; t += 60) {
                    for (int i = 0; i < kFavourites; ++i) batch.append(sample(i, t + i));
                }
                store.add(batch);
            }
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("year"));
            db.setDatabaseName(path);
            db.open();
            QSqlQuery q(db);
            const qint64 first = (kNow - 365 * 86400) / 3600, last = (kNow - 7 * 86400) / 3600 - 1;
            // Hour 0 of 1970 was a Thursday, hour 72 of the week; the benchmark runs in UTC.
            q.exec(QStringLiteral("DELETE FROM samples WHERE time < %1").arg(kNow - 7 * 86400));
            q.exec(QStringLiteral(
                       "WITH RECURSIVE h(x) AS (SELECT %1 UNION ALL SELECT x + 1 FROM h WHERE x < %2),"
                       " s(y) AS (SELECT 1 UNION ALL SELECT y + 1 FROM s WHERE y < %3)"
                       " INSERT INTO hours SELECT y, x, (x + 72) % 168, (x % 24) * ((y - 1) % 7 + 1) % 17,"
                       " 16, 40 + (y - 1) % 50, 60 FROM h, s")
                       .arg(first)
                       .arg(last)
                       .arg(kServers));
            q.exec(QStringLiteral(
                "INSERT INTO usual_week SELECT server, hour_of_week, sum(most_players), count(*)"
                " FROM hours GROUP BY server, hour_of_week"));
            q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
            q = QSqlQuery();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("year"));
        bytes = QFileInfo(path).size();
    }
};

SimulatedYear& year() {
    static SimulatedYear y;
    return y;
}

struct OpenYear {
    HistoryStore store;
    OpenYear() { store.open(year().path); }
};

// Opening, and the page-by-page check a failed write makes (the one a smaller file gets
// at each opening).
void BM_OpenTheYear(benchmark::State& state) {
    const QString path = year().path;
    for (auto _ : state) benchmark::DoNotOptimize(HistoryStore().open(path).how);
}
BENCHMARK(BM_OpenTheYear)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CheckTheYearPageByPage(benchmark::State& state) {
    OpenYear y;
    for (auto _ : state) benchmark::DoNotOptimize(y.store.setAsideIfDamaged());
}
BENCHMARK(BM_CheckTheYearPageByPage)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ServerHistoryOfAFavourite(benchmark::State& state) {
    OpenYear y;
    int points = 0;
    for (auto _ : state) {
        const ServerHistory h = y.store.serverHistory(server(7), kNow);
        points = int(h.lastDay.size() + h.lastWeek.size());
    }
    state.counters["file_MB"] = double(year().bytes) / 1e6;
    state.counters["points"] = points;
}
BENCHMARK(BM_ServerHistoryOfAFavourite)->Unit(benchmark::kMillisecond);

void BM_ServerHistoryOfAListedServer(benchmark::State& state) {
    OpenYear y;
    for (auto _ : state) benchmark::DoNotOptimize(y.store.serverHistory(server(700), kNow));
}
BENCHMARK(BM_ServerHistoryOfAListedServer)->Unit(benchmark::kMillisecond);

void BM_UsuallyBusy(benchmark::State& state) {
    OpenYear y;
    QList<HistoryServer> asked;
    for (int i = 0; i < state.range(0); ++i) asked.append(server(i));  // past 1,000: never heard
    int known = 0;
    for (auto _ : state) known = int(y.store.usuallyBusy(asked, kNow).size());
    state.counters["known"] = known;
}
BENCHMARK(BM_UsuallyBusy)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_AddRefreshAllOnTheWorker(benchmark::State& state) {
    OpenYear y;
    qint64 t = kNow;
    for (auto _ : state) {
        QList<HistorySample> refresh;
        for (int i = 0; i < kServers; ++i) refresh.append(sample(i, t));
        t += 60;
        y.store.add(refresh);
    }
}
BENCHMARK(BM_AddRefreshAllOnTheWorker)->Unit(benchmark::kMillisecond);

// The replies of a refresh arrive one event each, as datagrams do; the service records
// them and writes them on its thread. A 1 ms heartbeat sees how long the loop was held.
void BM_LongestBlockWhileRecordingARefresh(benchmark::State& state) {
    HistoryService service(year().path);
    qint64 t = kNow + 3600;
    double worstMs = 0, uiCpuMs = 0;
    for (auto _ : state) {
        const double cpuBefore = threadCpuMs();
        BlockMeter meter;
        for (int i = 0; i < kServers; ++i) {
            QTimer::singleShot(0, &service, [&service, i, t] { service.record(sample(i, t)); });
        }
        t += 60;
        QEventLoop loop;
        QTimer::singleShot(0, &service, [&] {
            service.flush();
            service.whenIdle([&] { loop.quit(); });
        });
        loop.exec();
        worstMs = std::max(worstMs, meter.worstMs());
        uiCpuMs = std::max(uiCpuMs, threadCpuMs() - cpuBefore);
    }
    state.counters["longest_block_ms"] = worstMs;
    state.counters["ui_thread_cpu_ms"] = uiCpuMs;
}
BENCHMARK(BM_LongestBlockWhileRecordingARefresh)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_HourlyCompaction(benchmark::State& state) {
    OpenYear y;
    qint64 now = kNow + 3600;
    for (auto _ : state) {
        y.store.compact(now);
        now += 3600;
    }
    state.counters["used_MB"] = double(y.store.usedBytes()) / 1e6;
}
BENCHMARK(BM_HourlyCompaction)->Unit(benchmark::kMillisecond)->Iterations(3);
}  // namespace

int main(int argc, char** argv) {
    qputenv("TZ", "UTC");
    tzset();
    return runBenchmarks<QCoreApplication>(argc, argv);
}
