#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <numeric>

#include "history/HistorySample.h"
#include "platform/FileIO.h"
#include "history/HistoryTestSupport.h"

QVariant readScalar(const QString& path, const QString& sql) {
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-reader");
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() && query.exec(sql) && query.next()) value = query.value(0);
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

TEST(HistorySample, CountsAreWholeNumbersUpTo256AndNoMaximumOfZero) {
    struct Row {
        const char *players, *max;
        std::optional<int> wantPlayers, wantMax;
    };
    for (const Row& row :
         {Row{"255", "0", 255, std::nullopt}, Row{"-3", "16", std::nullopt, 16}, Row{" 7 ", "8", 7, 8},
          Row{"sixteen", "", std::nullopt, std::nullopt}, Row{"300", "256", std::nullopt, 256},
          Row{"4.5", "1e2", std::nullopt, std::nullopt}}) {
        ServerStatus status;
        status.numPlayers = row.players;
        status.maxPlayers = row.max;
        status.pingMs = 42;
        const HistorySample s = historySample({"127.0.0.1", 7778, "UT3"}, status, 1000, {"Bob"});
        EXPECT_EQ(s.players, row.wantPlayers) << row.players;
        EXPECT_EQ(s.maxPlayers, row.wantMax) << row.max;
        EXPECT_EQ(s.server, kServer);
        EXPECT_EQ(s.pingMs, 42);
    }
}

// Samples become hours after a week and are gone after a year; an hour that gets more
// samples after it was folded (the clock went back) stays one hour.
TEST(HistoryStore, SamplesFoldIntoHoursThenExpireAndAClockGoingBackBreaksNothing) {
    TimeZoneScope zone("UTC");
    OpenStore s;
    ASSERT_EQ(s.opening.how, HistoryStore::Opening::How::Created) << s.opening.error.toStdString();
    const qint64 t0 = utc(2025, 1, 6, 12, 10);  // Monday 12:00 UTC: hour 12 of the week
    ASSERT_TRUE(s.store.add({sampleAt(t0, 3, 50), sampleAt(t0 + 600, 5, 70),
                             sampleAt(t0 + 1200, std::nullopt, 60), sampleAt(t0 + 30 * 86400, 2)}));
    const qint64 now = t0 + 8 * 86400;
    ASSERT_TRUE(s.store.compact(now));
    EXPECT_EQ(s.store.samples(kServer, 0, t0 + 86400).size(), 0);
    EXPECT_EQ(s.store.samples(kServer, 0, t0 + 60 * 86400).size(), 1);  // the future is kept
    const auto hour = [&] { return s.store.hours(kServer, t0 - 3600, t0 + 3600); };
    ASSERT_EQ(hour().size(), 1);
    EXPECT_EQ(hour()[0].hourStart, utc(2025, 1, 6, 12));
    EXPECT_EQ(hour()[0].mostPlayers, 5);
    EXPECT_EQ(hour()[0].medianPingMs, 60);
    EXPECT_EQ(hour()[0].samples, 3);
    EXPECT_TRUE(s.store.serverHistory(kServer, now).lastDay.isEmpty());

    ASSERT_TRUE(s.store.add({sampleAt(t0 + 1800, 9, 10)}));  // written with a clock a week behind
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(hour()[0].mostPlayers, 9);
        EXPECT_EQ(hour()[0].samples, 4);
        const UsualWeek week = s.store.serverHistory(kServer, now).usualWeek;
        EXPECT_EQ(week.hoursHeard[12], 1);
        EXPECT_EQ(week.players[12], 9.0);
        ASSERT_TRUE(s.store.compact(now));
    }
    ASSERT_TRUE(s.store.compact(t0 + 366 * 86400));
    EXPECT_TRUE(hour().isEmpty());
    EXPECT_FALSE(s.store.serverHistory(kServer, t0).usualWeek.known(12));
}

// Berlin changes to summer time on 29 March 2026: 09:15 UTC before and 08:20 UTC after are
// both Monday 10 o'clock there.
TEST(HistoryStore, UsualWeekCountsLocalHoursFromFiguresAndSamples) {
    TimeZoneScope zone("Europe/Berlin");
    OpenStore s;
    ASSERT_TRUE(s.store.add({sampleAt(utc(2026, 3, 23, 9, 15), 2), sampleAt(utc(2026, 3, 23, 9, 40), 4),
                             sampleAt(utc(2026, 3, 30, 8, 20), 8), sampleAt(utc(2026, 3, 30, 9, 20), 1)}));
    const qint64 now = utc(2026, 4, 6, 8, 30);  // Monday 10:30 in Berlin
    ASSERT_TRUE(s.store.compact(now));          // folds the first hour only
    EXPECT_EQ(s.store.samples(kServer, 0, now).size(), 2);
    const ServerHistory history = s.store.serverHistory(kServer, now);
    EXPECT_EQ(history.usualWeek.players[10], 6.0);
    EXPECT_EQ(history.usualWeek.hoursHeard[10], 2);
    EXPECT_EQ(history.usualWeek.players[11], 1.0);
    EXPECT_EQ(std::accumulate(history.usualWeek.hoursHeard.begin(), history.usualWeek.hoursHeard.end(), 0),
              3);
    EXPECT_EQ(history.lastWeek,
              (QList<PlayerPoint>{{utc(2026, 3, 30, 8), 8, 16}, {utc(2026, 3, 30, 9), 1, 16}}));
    EXPECT_EQ(s.store.serverHistory(kServer, utc(2026, 3, 30, 10)).lastDay,
              (QList<PlayerPoint>{{utc(2026, 3, 30, 8, 20), 8, 16}, {utc(2026, 3, 30, 9, 20), 1, 16}}));
    const HistoryServer unknown{"127.0.0.2", 7778, "UT3"};
    EXPECT_EQ(s.store.usuallyBusy({unknown, kServer}, now), (QHash<HistoryServer, double>{{kServer, 6.0}}));
    EXPECT_EQ(s.store.usuallyBusy({kServer}, now + 3600), (QHash<HistoryServer, double>{{kServer, 1.0}}));
}

TEST(HistoryStore, PastTheSizeCapTheOldestHoursGoAndTheUsualWeekFollows) {
    TimeZoneScope zone("UTC");
    OpenStore s;
    QList<HistorySample> year;
    const qint64 t0 = utc(2025, 1, 6, 0, 30);
    const int hours = 200 * 24;
    for (int h = 0; h < hours; ++h) {
        for (int port = 7778; port < 7783; ++port)
            year.append(sampleAt(t0 + h * 3600, h % 7, 50, {"127.0.0.1", port, "UT"}));
    }
    ASSERT_TRUE(s.store.add(year));
    const qint64 now = t0 + hours * 3600 + 8 * 86400;
    ASSERT_TRUE(s.store.compact(now));
    const HistoryServer server{"127.0.0.1", 7780, "UT"};
    ASSERT_EQ(s.store.hours(server, 0, now).size(), hours);
    const qint64 full = s.store.usedBytes();
    s.store.setSizeCapBytes(full / 2);
    ASSERT_TRUE(s.store.compact(now));
    EXPECT_LE(s.store.usedBytes(), full / 2);
    EXPECT_LT(QFileInfo(s.path).size(), full * 3 / 4);  // the freed pages went back to the disk
    const QList<HourFigure> kept = s.store.hours(server, 0, now);
    ASSERT_GT(kept.size(), hours / 4);
    EXPECT_EQ(kept.last().hourStart, utc(2025, 1, 6, 0) + (hours - 1) * 3600LL);
    const UsualWeek week = s.store.serverHistory(server, now).usualWeek;
    EXPECT_EQ(std::accumulate(week.hoursHeard.begin(), week.hoursHeard.end(), 0), kept.size());
    const int hour = localHourOfWeek(kept.first().hourStart);
    double sum = 0;
    int count = 0;
    for (const HourFigure& f : kept) {
        if (localHourOfWeek(f.hourStart) == hour) sum += *f.mostPlayers, ++count;
    }
    EXPECT_DOUBLE_EQ(week.players[size_t(hour)], sum / count);
}

// A file that is no history of ours to write is moved aside byte for byte, -wal beside it.
TEST(HistoryStore, DamagedOrNewerFilesAreSetAsideWholeAndANewOneStarts) {
    using How = HistoryStore::Opening::How;
    struct Row {
        const char* what;
        How how;
    };
    for (const Row& row : {Row{"text", How::SetAsideDamaged}, Row{"broken pages", How::SetAsideDamaged},
                           Row{"newer", How::SetAsideNewer}}) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        const QString path = dir.filePath("history.sqlite");
        if (row.how == How::SetAsideNewer) {
            // Left as a newer VYRN killed mid-write leaves it: part of it only in the -wal.
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "newer");
            db.setDatabaseName(dir.filePath("live.sqlite"));
            QSqlQuery q(db);
            ASSERT_TRUE(db.open() && q.exec("PRAGMA journal_mode = WAL") &&
                        q.exec("PRAGMA wal_autocheckpoint = 0") && q.exec("CREATE TABLE t (x)") &&
                        q.exec("PRAGMA user_version = 2"));
            for (const char* part : {"", "-wal", "-shm"})
                QFile::copy(dir.filePath("live.sqlite") + part, path + part);
            q = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase("newer");
        } else {
            HistoryStore old;
            old.open(path);
            old.add({sampleAt(1000, 1), sampleAt(2000, 2)});
            old.close();
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            if (row.how == How::SetAsideDamaged && QByteArray(row.what) == "text") file.resize(0);
            file.seek(QByteArray(row.what) == "text" ? 0 : 2 * 4096);
            file.write(QByteArray(4096, 'x'));
        }
        QByteArray before[2];
        for (int i : {0, 1}) before[i] = readWholeFile(path + (i ? "-wal" : "")).value_or("");
        HistoryStore store;
        const HistoryStore::Opening opening = store.open(path);
        EXPECT_EQ(opening.how, row.how);
        EXPECT_TRUE(
            opening.setAsideAs.startsWith(path + (row.how == How::SetAsideNewer ? ".newer-" : ".damaged-")));
        for (int i : {0, 1})
            EXPECT_EQ(readWholeFile(opening.setAsideAs + (i ? "-wal" : "")).value_or(""), before[i]);
        ASSERT_TRUE(store.add({sampleAt(5000, 7)}));
        EXPECT_EQ(store.samples(kServer, 0, 9999).size(), 1);
        EXPECT_EQ(HistoryStore().open(path).how, How::Opened);
    }
}
