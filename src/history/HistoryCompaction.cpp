// Compaction: a week of samples becomes hourly figures, a year of those is kept, and past
// the size cap the oldest hours go.
#include <QMap>
#include <QSqlError>
#include <cmath>

#include "history/HistorySql.h"
#include "history/HistoryStore.h"

namespace {
constexpr int kMaxCapRounds = 32;
}

bool HistoryStore::compact(qint64 now, QString* error) {
    if (!isOpen()) {
        if (error) *error = QStringLiteral("the history is not open");
        return false;
    }
    const QSqlDatabase database = db();
    if (!runSql(database, QStringLiteral("BEGIN IMMEDIATE"), error)) return false;
    // Whole hours only, so no hour is ever split between samples and figures.
    const bool ok = foldSamplesBefore(hourOf(now - kSamplesKeptSecs) * 3600, error) &&
                    dropHoursBefore(hourOf(now - kHoursKeptSecs), error) && keepUnderSizeCap(now, error) &&
                    runSql(database, QStringLiteral("COMMIT"), error);
    if (!ok) {
        runSql(database, QStringLiteral("ROLLBACK"), nullptr);
        return false;
    }
    emptyWriteAheadLog(database);
    return true;
}

bool HistoryStore::addToUsualWeek(qint64 server, int hourOfWeek, qint64 players, int hours, QString* error) {
    return runSql(
        db(),
        QStringLiteral("INSERT INTO usual_week (server, hour_of_week, players_sum, hours) VALUES (?, ?, ?, ?)"
                       " ON CONFLICT (server, hour_of_week) DO UPDATE SET"
                       " players_sum = players_sum + excluded.players_sum, hours = hours + excluded.hours"),
        {server, hourOfWeek, players, hours}, error);
}

bool HistoryStore::foldSamplesBefore(qint64 time, QString* error) {
    const QSqlDatabase database = db();
    struct Key {
        qint64 server, hour;
        bool operator<(const Key& o) const { return server != o.server ? server < o.server : hour < o.hour; }
    };
    QMap<Key, HourGatherer> gathered;
    QMap<Key, int> hourOfWeek;
    {
        QSqlQuery query =
            selectSql(database,
                      QStringLiteral("SELECT server, time, hour_of_week, players, max_players, ping"
                                     " FROM samples WHERE time < ?"),
                      {time});
        if (!query.isActive()) return runSql(query, error);
        while (query.next()) {
            const Key key{query.value(0).toLongLong(), hourOf(query.value(1).toLongLong())};
            gathered[key].add(optionalInt(query.value(3)), optionalInt(query.value(4)),
                              query.value(5).toInt());
            if (!hourOfWeek.contains(key)) hourOfWeek.insert(key, query.value(2).toInt());
        }
    }
    QSqlQuery kept(database), store(database);
    kept.prepare(
        QStringLiteral("SELECT hour_of_week, most_players, max_players, median_ping, samples FROM hours"
                       " WHERE server = ? AND hour = ?"));
    store.prepare(
        QStringLiteral("INSERT OR REPLACE INTO hours (server, hour, hour_of_week, most_players,"
                       " max_players, median_ping, samples) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (auto it = gathered.cbegin(); it != gathered.cend(); ++it) {
        const Key& key = it.key();
        HourFigure figure = it.value().figure(key.hour);
        int week = hourOfWeek.value(key);
        kept.addBindValue(key.server);
        kept.addBindValue(key.hour);
        if (!runSql(kept, error)) return false;
        // An hour already folded (the clock went back since): one figure for the whole hour.
        if (kept.next()) {
            week = kept.value(0).toInt();
            const HourFigure old{key.hour * 3600, optionalInt(kept.value(1)), optionalInt(kept.value(2)),
                                 optionalInt(kept.value(3)), kept.value(4).toInt()};
            if (old.mostPlayers && !addToUsualWeek(key.server, week, -*old.mostPlayers, -1, error))
                return false;
            figure = mergeHourFigures(old, figure);
        }
        kept.finish();
        if (figure.mostPlayers && !addToUsualWeek(key.server, week, *figure.mostPlayers, 1, error))
            return false;
        for (const QVariant& value :
             {QVariant(key.server), QVariant(key.hour), QVariant(week), nullable(figure.mostPlayers),
              nullable(figure.maxPlayers), nullable(figure.medianPingMs), QVariant(figure.samples)}) {
            store.addBindValue(value);
        }
        if (!runSql(store, error)) return false;
    }
    return runSql(database, QStringLiteral("DELETE FROM samples WHERE time < ?"), {time}, error);
}

bool HistoryStore::dropHoursBefore(qint64 hour, QString* error) {
    const QSqlDatabase database = db();
    QList<qint64> servers;
    {
        // Each server's hours are one range of the key: one seek each instead of a full scan.
        QSqlQuery query = selectSql(database,
                                    QStringLiteral("SELECT id FROM servers s WHERE EXISTS"
                                                   " (SELECT 1 FROM hours WHERE server = s.id AND hour < ?)"),
                                    {hour});
        if (!query.isActive()) return runSql(query, error);
        while (query.next()) servers.append(query.value(0).toLongLong());
    }
    for (const qint64 server : servers) {
        QSqlQuery sums =
            selectSql(database,
                      QStringLiteral("SELECT hour_of_week, SUM(most_players), COUNT(most_players)"
                                     " FROM hours WHERE server = ? AND hour < ? GROUP BY hour_of_week"),
                      {server, hour});
        if (!sums.isActive()) return runSql(sums, error);
        while (sums.next()) {
            if (sums.value(2).toInt() == 0) continue;
            if (!addToUsualWeek(server, sums.value(0).toInt(), -sums.value(1).toLongLong(),
                                -sums.value(2).toInt(), error)) {
                return false;
            }
        }
        if (!runSql(database, QStringLiteral("DELETE FROM hours WHERE server = ? AND hour < ?"),
                    {server, hour}, error)) {
            return false;
        }
    }
    return runSql(database, QStringLiteral("DELETE FROM usual_week WHERE hours <= 0"), error) &&
           runSql(database, QStringLiteral("DELETE FROM sightings WHERE hour < ?"), {hour}, error);
}

bool HistoryStore::keepUnderSizeCap(qint64 now, QString* error) {
    const QSqlDatabase database = db();
    for (int round = 0; round < kMaxCapRounds; ++round) {
        const qint64 used = usedBytes();
        if (used <= sizeCap_) return true;
        // min() of SQLite is NULL as soon as one part is: each part is read on its own below.
        QSqlQuery parts = selectSql(database,
                                    QStringLiteral("SELECT (SELECT min(hour) FROM hours),"
                                                   " (SELECT min(time) / 3600 FROM samples),"
                                                   " (SELECT min(hour) FROM sightings)"),
                                    {});
        if (!parts.next()) return runSql(parts, error);
        std::optional<qint64> first;
        for (int i = 0; i < 3; ++i) {
            if (parts.value(i).isNull()) continue;
            const qint64 hour = parts.value(i).toLongLong();
            if (!first || hour < *first) first = hour;
        }
        if (!first) return true;  // nothing left to drop: the tables themselves are the size
        // Drop the share of the kept span that the excess is of the size, a little more, and
        // at least one hour.
        const qint64 span = std::max<qint64>(1, hourOf(now) - *first);
        const double share = double(used - sizeCap_) / double(used);
        const qint64 hours = std::max<qint64>(1, qint64(std::ceil(double(span) * share * 1.1)));
        const qint64 before = *first + hours;
        if (!dropHoursBefore(before, error)) return false;
        if (!runSql(database, QStringLiteral("DELETE FROM samples WHERE time < ?"), {before * 3600}, error)) {
            return false;
        }
    }
    return true;
}
