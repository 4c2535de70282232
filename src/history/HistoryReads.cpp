// What the pictures and the command line read back.
#include <QMap>
#include <QSqlError>

#include "history/HistorySql.h"
#include "history/HistoryStore.h"

namespace {
constexpr qint64 kDaySecs = 24 * 3600;
constexpr qint64 kWeekSecs = 7 * kDaySecs;

// The most players of each hour of samples, with the figure already kept for that hour (the
// clock went back since it was folded) so that such an hour counts once.
const char* const kSampleHours =
    "SELECT s.server, coalesce(h.hour_of_week, s.hour_of_week), s.players, h.most_players, s.hr,"
    " s.max_players FROM (SELECT server, time / 3600 AS hr, min(hour_of_week) AS hour_of_week,"
    " max(players) AS players, max(max_players) AS max_players FROM samples WHERE %1 AND players IS NOT NULL "
    "GROUP BY server, hr) AS s"
    " LEFT JOIN hours h ON h.server = s.server AND h.hour = s.hr";

// A sample hour as it changes the sums: a new hour, or what it adds to a kept one.
std::pair<double, int> sampleHour(const QSqlQuery& row) {
    const double players = row.value(2).toDouble();
    if (row.value(3).isNull()) return {players, 1};
    return {std::max(0.0, players - row.value(3).toDouble()), 0};
}

void addHours(UsualWeek& week, int hourOfWeek, double playersSum, int hours) {
    if (hourOfWeek < 0 || hourOfWeek >= kHoursPerWeek || hours < 0) return;
    const auto h = size_t(hourOfWeek);
    const double sum = week.players[h] * week.hoursHeard[h] + playersSum;
    week.hoursHeard[h] += hours;
    if (week.hoursHeard[h] > 0) week.players[h] = sum / week.hoursHeard[h];
}
}  // namespace

ServerHistory HistoryStore::serverHistory(const HistoryServer& server, qint64 now) {
    ServerHistory history;
    if (!isOpen()) return history;
    const std::optional<qint64> id = serverId(server);
    if (!id) return history;
    const QSqlDatabase database = db();
    QSqlQuery day =
        selectSql(database,
                  QStringLiteral("SELECT time, players, max_players FROM samples WHERE server = ?"
                                 " AND time > ? AND time <= ? AND players IS NOT NULL ORDER BY time"),
                  {*id, now - kDaySecs, now});
    while (day.next()) {
        history.lastDay.append({day.value(0).toLongLong(), day.value(1).toInt(), day.value(2).toInt()});
    }
    QMap<qint64, PlayerPoint> week;
    auto addHour = [&week](qint64 hour, int players, int maxPlayers) {
        PlayerPoint& point = week[hour];
        point.time = hour * 3600;
        point.players = std::max(point.players, players);
        point.maxPlayers = std::max(point.maxPlayers, maxPlayers);
    };
    const qint64 firstHour = hourOf(now - kWeekSecs), lastHour = hourOf(now);
    QSqlQuery kept =
        selectSql(database,
                  QStringLiteral("SELECT hour, most_players, max_players FROM hours WHERE server = ?"
                                 " AND hour >= ? AND hour <= ? AND most_players IS NOT NULL"),
                  {*id, firstHour, lastHour});
    while (kept.next()) addHour(kept.value(0).toLongLong(), kept.value(1).toInt(), kept.value(2).toInt());
    QSqlQuery usual = selectSql(
        database, QStringLiteral("SELECT hour_of_week, players_sum, hours FROM usual_week WHERE server = ?"),
        {*id});
    while (usual.next()) {
        addHours(history.usualWeek, usual.value(0).toInt(), usual.value(1).toDouble(),
                 usual.value(2).toInt());
    }
    // One pass over the server's samples, hour by hour, serves the last week and the usual one.
    QSqlQuery sampled = selectSql(database, QString::fromLatin1(kSampleHours).arg("server = ?"), {*id});
    while (sampled.next()) {
        const qint64 hour = sampled.value(4).toLongLong();
        if (hour >= firstHour && hour <= lastHour) {
            addHour(hour, sampled.value(2).toInt(), sampled.value(5).toInt());
        }
        const auto [players, hours] = sampleHour(sampled);
        addHours(history.usualWeek, sampled.value(1).toInt(), players, hours);
    }
    history.lastWeek = week.values();
    return history;
}

QHash<HistoryServer, double> HistoryStore::usuallyBusy(const QList<HistoryServer>& servers, qint64 now) {
    QHash<HistoryServer, double> busy;
    if (!isOpen() || servers.isEmpty()) return busy;
    const QSqlDatabase database = db();
    // The servers asked for go into a table of this connection, so one statement answers
    // for all of them however many there are.
    if (!runSql(database,
                QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS asked (address TEXT, query_port INTEGER,"
                               " game TEXT)"),
                nullptr) ||
        !runSql(database, QStringLiteral("DELETE FROM temp.asked"), nullptr) ||
        !runSql(database, QStringLiteral("BEGIN"), nullptr)) {
        return busy;
    }
    QSqlQuery insert(database);
    insert.prepare(QStringLiteral("INSERT INTO temp.asked VALUES (?, ?, ?)"));
    for (const HistoryServer& server : servers) {
        insert.addBindValue(server.address);
        insert.addBindValue(server.queryPort);
        insert.addBindValue(server.game);
        insert.exec();
    }
    QHash<qint64, HistoryServer> byId;
    QSqlQuery ids =
        selectSql(database,
                  QStringLiteral("SELECT s.id, s.address, s.query_port, s.game FROM temp.asked a JOIN"
                                 " servers s ON s.address = a.address AND s.query_port = a.query_port"
                                 " AND s.game = a.game"),
                  {});
    while (ids.next()) {
        byId.insert(ids.value(0).toLongLong(),
                    {ids.value(1).toString(), ids.value(2).toInt(), ids.value(3).toString()});
    }
    const int hourOfWeek = localHourOfWeek(now);
    QHash<qint64, std::pair<double, int>> sums;
    QSqlQuery usual =
        selectSql(database,
                  QStringLiteral("SELECT u.server, u.players_sum, u.hours FROM temp.asked a JOIN servers s"
                                 " ON s.address = a.address AND s.query_port = a.query_port AND"
                                 " s.game = a.game JOIN usual_week u ON u.server = s.id AND"
                                 " u.hour_of_week = ?"),
                  {hourOfWeek});
    while (usual.next()) {
        auto& sum = sums[usual.value(0).toLongLong()];
        sum.first += usual.value(1).toDouble();
        sum.second += usual.value(2).toInt();
    }
    const QString inAsked = QStringLiteral(
        "hour_of_week = ? AND server IN (SELECT s.id FROM temp.asked a JOIN servers s ON s.address = "
        "a.address"
        " AND s.query_port = a.query_port AND s.game = a.game)");
    QSqlQuery sampled = selectSql(database, QString::fromLatin1(kSampleHours).arg(inAsked), {hourOfWeek});
    while (sampled.next()) {
        auto& sum = sums[sampled.value(0).toLongLong()];
        const auto [players, hours] = sampleHour(sampled);
        sum.first += players;
        sum.second += hours;
    }
    for (QSqlQuery* query : {&insert, &ids, &usual, &sampled}) query->finish();
    runSql(database, QStringLiteral("ROLLBACK"), nullptr);  // the asked table stays empty
    for (auto it = sums.cbegin(); it != sums.cend(); ++it) {
        if (it->second > 0 && byId.contains(it.key()))
            busy.insert(byId.value(it.key()), it->first / it->second);
    }
    return busy;
}

BuddyHistory HistoryStore::buddyHistory(const QString& buddy) {
    BuddyHistory history;
    if (!isOpen()) return history;
    const QSqlDatabase database = db();
    QSqlQuery servers =
        selectSql(database,
                  QStringLiteral("SELECT s.address, s.query_port, s.game, s.host_name, count(*),"
                                 " max(g.last_seen) FROM sightings g JOIN servers s ON s.id = g.server"
                                 " WHERE g.buddy = ? GROUP BY g.server ORDER BY count(*) DESC,"
                                 " max(g.last_seen) DESC"),
                  {buddy});
    while (servers.next()) {
        history.servers.append(
            {{servers.value(0).toString(), servers.value(1).toInt(), servers.value(2).toString()},
             servers.value(3).toString(),
             servers.value(4).toInt(),
             servers.value(5).toLongLong()});
    }
    QSqlQuery hours =
        selectSql(database,
                  QStringLiteral("SELECT hour_of_week, count(DISTINCT hour) FROM sightings WHERE buddy = ?"
                                 " GROUP BY hour_of_week"),
                  {buddy});
    while (hours.next()) {
        const int hour = hours.value(0).toInt();
        if (hour < 0 || hour >= kHoursPerWeek) continue;
        history.hours.hoursHeard[size_t(hour)] = hours.value(1).toInt();
        history.hours.players[size_t(hour)] = hours.value(1).toDouble();
    }
    return history;
}

QList<SampleRow> HistoryStore::samples(const HistoryServer& server, qint64 from, qint64 to) {
    QList<SampleRow> rows;
    const std::optional<qint64> id = isOpen() ? serverId(server) : std::nullopt;
    if (!id) return rows;
    QSqlQuery query =
        selectSql(db(),
                  QStringLiteral("SELECT time, players, max_players, map, game_type, ping FROM samples"
                                 " WHERE server = ? AND time >= ? AND time <= ? ORDER BY time"),
                  {*id, from, to});
    while (query.next()) {
        rows.append({query.value(0).toLongLong(), optionalInt(query.value(1)), optionalInt(query.value(2)),
                     query.value(3).toString(), query.value(4).toString(), query.value(5).toInt()});
    }
    return rows;
}

QList<HourFigure> HistoryStore::hours(const HistoryServer& server, qint64 from, qint64 to) {
    const std::optional<qint64> id = isOpen() ? serverId(server) : std::nullopt;
    if (!id) return {};
    QMap<qint64, HourFigure> figures;
    QSqlQuery kept =
        selectSql(db(),
                  QStringLiteral("SELECT hour, most_players, max_players, median_ping, samples FROM hours"
                                 " WHERE server = ? AND hour >= ? AND hour <= ?"),
                  {*id, hourOf(from), hourOf(to)});
    while (kept.next()) {
        const qint64 hour = kept.value(0).toLongLong();
        figures.insert(hour, {hour * 3600, optionalInt(kept.value(1)), optionalInt(kept.value(2)),
                              optionalInt(kept.value(3)), kept.value(4).toInt()});
    }
    QMap<qint64, HourGatherer> recent;
    for (const SampleRow& row : samples(server, from, to)) {
        recent[hourOf(row.time)].add(row.players, row.maxPlayers, row.pingMs);
    }
    for (auto it = recent.cbegin(); it != recent.cend(); ++it) {
        const HourFigure figure = it->figure(it.key());
        const auto found = figures.constFind(it.key());
        figures.insert(it.key(), found == figures.cend() ? figure : mergeHourFigures(*found, figure));
    }
    return figures.values();
}
