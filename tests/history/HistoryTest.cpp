#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <ctime>
#include <numeric>

#include "history/HistorySample.h"
#include "history/HistoryService.h"
#include "platform/FileIO.h"

namespace {
using How = HistoryStore::Opening::How;
const HistoryServer kServer{"127.0.0.1", 7778, "UT3"};

// Times written as UTC, so the local hours expected are worked out by hand.
qint64 utc(int y, int mo, int d, int h, int mi = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC).toSecsSinceEpoch();
}

struct TimeZoneScope {
    const QByteArray old = qgetenv("TZ");
    explicit TimeZoneScope(const char* zone) { qputenv("TZ", zone), tzset(); }
    ~TimeZoneScope() { old.isNull() ? qunsetenv("TZ") : qputenv("TZ", old), tzset(); }
};

HistorySample sampleAt(qint64 time, std::optional<int> players, int pingMs = 50,
                       HistoryServer server = kServer, QStringList buddies = {}) {
    return {server, "Deck16 Only", time, players, 16, "DM-Deck16][", "DeathMatch", pingMs, buddies};
}

// Statements run through a connection of the test's own, as another program would: the first
// value of the last one. whileOpen runs before the connection closes.
QVariant sqlOn(const QString& path, const QStringList& statements,
               const std::function<void()>& whileOpen = {}) {
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-reader");
        db.setDatabaseName(path);
        QSqlQuery query(db);
        for (const QString& sql : statements)
            value = db.open() && query.exec(sql) && query.next() ? query.value(0) : "";
        if (whileOpen) whileOpen();
    }
    QSqlDatabase::removeDatabase("test-reader");
    return value;
}

struct OpenStore {
    QTemporaryDir dir;
    QString path = dir.filePath("history.sqlite");
    HistoryStore store;
    HistoryStore::Opening opening = store.open(path);
};

int heard(const UsualWeek& week) {
    return std::accumulate(week.hoursHeard.begin(), week.hoursHeard.end(), 0);
}
}  // namespace

TEST(HistorySample, CountsAreWholeNumbersUpTo256AndNoMaximumOfZero) {
    struct Row {
        const char *players, *max;
        std::optional<int> wantPlayers, wantMax;
    };
    for (const Row& row :
         {Row{"255", "0", 255, {}}, Row{"-3", "16", {}, 16}, Row{" 7 ", "8", 7, 8},
          Row{"sixteen", "", {}, {}}, Row{"300", "256", {}, 256}, Row{"4.5", "1e2", {}, {}}}) {
        ServerStatus status;
        status.numPlayers = row.players;
        status.maxPlayers = row.max;
        const HistorySample s = historySample({"127.0.0.1", 7778, "UT3"}, status, 1000, {"Bob"});
        EXPECT_EQ(s.players, row.wantPlayers) << row.players;
        EXPECT_EQ(s.maxPlayers, row.wantMax) << row.max;
    }
}

// Samples become hours after a week and are gone after a year; an hour that gets more
// samples after it was folded (the clock went back) stays one hour.
TEST(HistoryStore, SamplesFoldIntoHoursThenExpireAndAClockGoingBackBreaksNothing) {
    TimeZoneScope zone("UTC");
    OpenStore s;
    ASSERT_EQ(s.opening.how, How::Created) << s.opening.error.toStdString();
    const qint64 t0 = utc(2025, 1, 6, 12, 10);  // Monday 12:00 UTC: hour 12 of the week
    HistorySample bare;  // a reply without host name, map or counts
    bare.server = kServer, bare.time = t0 + 1200, bare.pingMs = 60;
    ASSERT_TRUE(s.store.add({sampleAt(t0, 3, 50), sampleAt(t0 + 600, 5, 70), bare, sampleAt(t0 + 30 * 86400, 2)}));
    const qint64 now = t0 + 8 * 86400;
    ASSERT_TRUE(s.store.compact(now));
    EXPECT_EQ(s.store.samples(kServer, 0, t0 + 86400).size(), 0);
    EXPECT_EQ(s.store.samples(kServer, 0, t0 + 60 * 86400).size(), 1);  // the future is kept
    EXPECT_TRUE(s.store.serverHistory(kServer, now).lastDay.isEmpty());
    const auto hour = [&] { return s.store.hours(kServer, t0 - 3600, t0 + 3600); };
    ASSERT_EQ(hour().size(), 1);
    EXPECT_EQ(std::pair(hour()[0].hourStart, hour()[0].medianPingMs),
              std::pair(utc(2025, 1, 6, 12), std::optional(60)));
    ASSERT_TRUE(s.store.add({sampleAt(t0 + 1800, 9, 10)}));  // written with a clock a week behind
    for (int pass = 0; pass < 2; ++pass, s.store.compact(now)) {
        EXPECT_EQ(std::pair(hour()[0].mostPlayers, hour()[0].samples), std::pair(std::optional(9), 4));
        const UsualWeek week = s.store.serverHistory(kServer, now).usualWeek;
        EXPECT_EQ(std::pair(week.hoursHeard[12], week.players[12]), std::pair(1, 9.0));
    }
    ASSERT_TRUE(s.store.compact(t0 + 366 * 86400));
    EXPECT_TRUE(hour().isEmpty());
    EXPECT_FALSE(s.store.serverHistory(kServer, t0).usualWeek.known(12));
}

// Berlin changes to summer time on 29 March 2026: 09:15 UTC before and 08:20 UTC after are
// both Monday 10 o'clock there.
TEST(HistoryStore, UsualWeekAndBuddiesCountLocalHoursFromFiguresAndSamples) {
    TimeZoneScope zone("Europe/Berlin");
    OpenStore s;
    const HistoryServer other{"127.0.0.2", 7778, "UT3"};
    ASSERT_TRUE(s.store.add({sampleAt(utc(2026, 3, 23, 9, 15), 2, 50, kServer, {"Ann", "Bo"}),
                             sampleAt(utc(2026, 3, 23, 9, 40), 4, 50, kServer, {"Ann"}),
                             sampleAt(utc(2026, 3, 30, 8, 20), 8, 50, kServer, {"Ann"}),
                             sampleAt(utc(2026, 3, 30, 9, 20), 1),
                             sampleAt(utc(2026, 3, 30, 9, 20), 1, 50, other, {"Ann"})}));
    const qint64 now = utc(2026, 4, 6, 8, 30);  // Monday 10:30 in Berlin
    ASSERT_TRUE(s.store.compact(now));          // folds the first hour only
    const ServerHistory history = s.store.serverHistory(kServer, now);
    const UsualWeek& week = history.usualWeek;
    EXPECT_EQ(std::tuple(week.players[10], week.hoursHeard[10], week.players[11], heard(week)),
              std::tuple(6.0, 2, 1.0, 3));
    EXPECT_EQ(history.lastWeek,
              (QList<PlayerPoint>{{utc(2026, 3, 30, 8), 8, 16}, {utc(2026, 3, 30, 9), 1, 16}}));
    EXPECT_EQ(s.store.serverHistory(kServer, utc(2026, 3, 30, 10)).lastDay,
              (QList<PlayerPoint>{{utc(2026, 3, 30, 8, 20), 8, 16}, {utc(2026, 3, 30, 9, 20), 1, 16}}));
    EXPECT_EQ(s.store.usuallyBusy({other, {"127.0.0.3", 1, "UT"}, kServer}, now),
              (QHash<HistoryServer, double>{{kServer, 6.0}}));
    EXPECT_EQ(s.store.usuallyBusy({kServer}, now + 3600), (QHash<HistoryServer, double>{{kServer, 1.0}}));
    const BuddyHistory ann = s.store.buddyHistory("Ann");
    ASSERT_EQ(ann.servers.size(), 2);
    EXPECT_EQ(std::tuple(ann.servers[0].server, ann.servers[0].hoursSeen, ann.servers[0].lastSeen),
              std::tuple(kServer, 2, utc(2026, 3, 30, 8, 20)));
    EXPECT_EQ(std::pair(ann.hours.hoursHeard[10], ann.hours.hoursHeard[11]), std::pair(2, 1));
}

TEST(HistoryStore, PastTheSizeCapTheOldestHoursGoAndTheUsualWeekFollows) {
    TimeZoneScope zone("UTC");
    OpenStore s;
    QList<HistorySample> year;
    const qint64 t0 = utc(2025, 1, 6, 0, 30);
    const int hours = 200 * 24;
    for (int h = 0; h < hours * 5; ++h)
        year.append(sampleAt(t0 + h / 5 * 3600, h % 7, 50, {"127.0.0.1", h % 5, "UT"}));
    ASSERT_TRUE(s.store.add(year));
    const qint64 now = t0 + hours * 3600 + 8 * 86400;
    ASSERT_TRUE(s.store.compact(now));
    const HistoryServer server{"127.0.0.1", 2, "UT"};
    ASSERT_EQ(s.store.hours(server, 0, now).size(), hours);
    const qint64 full = s.store.usedBytes();
    s.store.setSizeCapBytes(full / 2);
    ASSERT_TRUE(s.store.compact(now));
    EXPECT_LE(s.store.usedBytes(), full / 2);
    EXPECT_LT(QFileInfo(s.path).size(), full * 3 / 4);  // the freed pages went back to the disk
    const QList<HourFigure> kept = s.store.hours(server, 0, now);
    ASSERT_GT(kept.size(), hours / 4);
    EXPECT_EQ(kept.last().hourStart, utc(2025, 1, 6, 0) + (hours - 1) * 3600LL);
    EXPECT_EQ(heard(s.store.serverHistory(server, now).usualWeek), kept.size());
}

// A file that is no history of ours to write is moved aside byte for byte, -wal beside it.
TEST(HistoryStore, DamagedOrNewerFilesAreSetAsideWholeAndANewOneStarts) {
    for (const char* what : {"text", "broken pages", "newer"}) {
        SCOPED_TRACE(what);
        QTemporaryDir dir;
        const QString path = dir.filePath("history.sqlite");
        const bool newer = QByteArray(what) == "newer";
        if (newer) {  // as a newer VYRN killed mid-write leaves it: part of it only in the -wal
            sqlOn(dir.filePath("live"),
                  {"PRAGMA journal_mode = WAL", "PRAGMA wal_autocheckpoint = 0", "CREATE TABLE t (x)",
                   "PRAGMA user_version = 2"},
                  [&] {
                      for (const char* part : {"", "-wal", "-shm"})
                          QFile::copy(dir.filePath("live") + part, path + part);
                  });
        } else {
            HistoryStore old;
            old.open(path);
            old.add({sampleAt(1000, 1), sampleAt(2000, 2)});
            old.close();
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            if (QByteArray(what) == "text") file.resize(0);
            file.seek(file.size() ? 2 * 4096 : 0);
            file.write(QByteArray(4096, 'x'));
        }
        QByteArray before[2];
        for (int i : {0, 1}) before[i] = readWholeFile(path + (i ? "-wal" : "")).value_or("");
        HistoryStore store;
        const HistoryStore::Opening opening = store.open(path);
        EXPECT_EQ(opening.how, newer ? How::SetAsideNewer : How::SetAsideDamaged);
        EXPECT_TRUE(opening.setAsideAs.startsWith(path + (newer ? ".newer-" : ".damaged-")));
        for (int i : {0, 1})
            EXPECT_EQ(readWholeFile(opening.setAsideAs + (i ? "-wal" : "")).value_or(""), before[i]);
        ASSERT_TRUE(store.add({sampleAt(5000, 7)}));
        EXPECT_EQ(store.samples(kServer, 0, 9999).size(), 1);
        EXPECT_EQ(HistoryStore().open(path).how, How::Opened);
    }
    OpenStore s;  // a file damaged while in use is found when a write fails
    ASSERT_TRUE(s.store.add({sampleAt(1000, 1)}) && s.store.compact(2000) && !s.store.setAsideIfDamaged());
    QFile file(s.path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(2 * 4096) && file.write(QByteArray(4096, 'x')));
    file.close();
    EXPECT_EQ(s.store.setAsideIfDamaged().value_or(HistoryStore::Opening()).how, How::SetAsideDamaged);
    EXPECT_TRUE(s.store.add({sampleAt(5000, 7)}));
}

namespace {
// Runs the event loop until done() holds (or ten seconds went by).
bool waitUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

constexpr int kBatch = 400;
QList<HistorySample> batch(int n) {
    QList<HistorySample> samples;
    for (int i = 0; i < kBatch; ++i)
        samples.append(sampleAt(n * 100000 + i, i % 32, 40, {"127.0.0.1", i, "UT"}));
    return samples;
}

// This test program again, running HistoryChild on the file given.
std::unique_ptr<QProcess> startChild(const QString& path, QStringList wrapper = {}) {
    auto child = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VYRN_HISTORY_CHILD", path);
    child->setProcessEnvironment(env);
    wrapper << QCoreApplication::applicationFilePath() << "--gtest_filter=HistoryChild.WritesBatches";
    child->start(wrapper[0], wrapper.mid(1));
    return child;
}
}  // namespace

// The child of the two tests after it: writes batches until killed or the disk is full.
TEST(HistoryChild, WritesBatches) {
    const QString path = qEnvironmentVariable("VYRN_HISTORY_CHILD");
    if (path.isEmpty()) GTEST_SKIP() << "run by the tests of a kill and a full disk";
    int written = 0;
    QString error;
    HistoryStore store;
    ASSERT_TRUE(store.open(path).ok());
    while (store.add(batch(written), &error)) std::printf("batch\n"), std::fflush(stdout), ++written;
    EXPECT_GT(written, 0);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(HistoryStore().open(path).how, How::Opened);  // not set aside as damaged
    EXPECT_EQ(sqlOn(path, {"PRAGMA integrity_check"}).toString(), "ok");
    EXPECT_EQ(sqlOn(path, {"SELECT count(*) FROM samples"}).toInt(), written * kBatch);
}

TEST(HistoryStore, AKillMidBatchLeavesWholeBatchesOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    const auto child = startChild(path);
    ASSERT_TRUE(
        waitUntil([&] { return child->waitForReadyRead(50), child->peek(1 << 20).count("batch") >= 5; }));
    child->kill();  // SIGKILL, most likely inside the next transaction
    child->waitForFinished();
    EXPECT_EQ(sqlOn(path, {"PRAGMA integrity_check"}).toString(), "ok");
    const int samples = sqlOn(path, {"SELECT count(*) FROM samples"}).toInt();
    EXPECT_GE(samples, 5 * kBatch);
    EXPECT_EQ(samples % kBatch, 0);
}

TEST(HistoryStore, AFullDiskFailsTheBatchAndKeepsTheFileConsistent) {
    if (QProcess::execute("unshare", {"-m", "true"}) != 0)
        GTEST_SKIP() << "no mount namespace here (needs root)";
    QTemporaryDir dir;
    const auto child = startChild(
        dir.filePath("history.sqlite"),
        {"unshare", "-m", "sh", "-c", "mount -t tmpfs -o size=512k tmpfs \"$0\" && exec \"$@\"", dir.path()});
    ASSERT_TRUE(child->waitForFinished(60000));
    const std::string output = child->readAll().toStdString();
    EXPECT_EQ(child->exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

TEST(HistoryService, RecordsAMinuteApartWritesInBatchesAndAnswersOnTheAskingThread) {
    TimeZoneScope zone("UTC");
    QTemporaryDir dir;
    const qint64 now = utc(2026, 12, 7, 20);
    std::optional<HistoryStore::Opening> opening;
    {
        HistoryService service(dir.filePath("history.sqlite"));
        service.setClock([&] { return now; });
        service.opened = [&](const HistoryStore::Opening& o) { opening = o; };
        // 30 s apart makes one sample; an earlier time (a clock that went back) a new one
        for (const qint64 t : {now - 600, now - 570, now - 539, now - 300, now - 7200})
            service.record(sampleAt(t, 1));
        std::optional<ServerHistory> history;
        service.fetchServer(kServer, [&](const ServerHistory& h) {
            EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
            history = h;
        });
        ASSERT_TRUE(waitUntil([&] { return history.has_value(); }));
        ASSERT_TRUE(opening && opening->how == How::Created);
        EXPECT_EQ(history->lastDay.size(), 4);
        service.record(sampleAt(now, 5, 50, {"127.0.0.1", 9999, "UT"}));  // written as the service ends
    }
    HistoryStore store;
    store.open(dir.filePath("history.sqlite"));
    EXPECT_EQ(store.samples({"127.0.0.1", 9999, "UT"}, 0, now).size(), 1);

    HistoryService broken(dir.filePath("missing/history.sqlite"));
    broken.opened = [&](const HistoryStore::Opening& o) { opening = o; };
    bool answered = false;
    broken.fetchServer(kServer, [&](const ServerHistory& h) { answered = h.lastDay.isEmpty(); });
    ASSERT_TRUE(waitUntil([&] { return answered; }));
    EXPECT_EQ(opening->how, How::Failed);
    broken.record(sampleAt(now, 5));
}
