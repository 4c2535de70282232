#include "history/HistorySql.h"

#include <QSqlError>
#include <algorithm>

namespace {
QString describe(const QSqlError& error) {
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

std::optional<int> larger(std::optional<int> a, std::optional<int> b) {
    if (!a) return b;
    if (!b) return a;
    return std::max(*a, *b);
}
}  // namespace

bool runSql(QSqlQuery& query, QString* error) {
    if (query.exec()) return true;
    if (error) *error = describe(query.lastError());
    return false;
}

QSqlQuery selectSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) return query;
    for (const QVariant& value : values) query.addBindValue(value);
    query.exec();
    return query;
}

bool runSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values, QString* error) {
    const QSqlQuery query = selectSql(db, sql, values);
    if (query.isActive()) return true;
    if (error) *error = describe(query.lastError());
    return false;
}

int sqliteCode(const QSqlQuery& query) { return query.lastError().nativeErrorCode().toInt() & 0xff; }

void emptyWriteAheadLog(const QSqlDatabase& db) {
    runSql(db, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"), nullptr);
}

QVariant nullable(std::optional<int> value) { return value ? QVariant(*value) : QVariant(); }

std::optional<int> optionalInt(const QVariant& value) {
    if (value.isNull()) return std::nullopt;
    return value.toInt();
}

void HourGatherer::add(std::optional<int> players, std::optional<int> maxPlayers, int pingMs) {
    most_ = larger(most_, players);
    max_ = larger(max_, maxPlayers);
    pings_.append(pingMs);
}

HourFigure HourGatherer::figure(qint64 hour) const {
    HourFigure figure;
    figure.hourStart = hour * 3600;
    figure.mostPlayers = most_;
    figure.maxPlayers = max_;
    figure.samples = int(pings_.size());
    if (!pings_.isEmpty()) {
        QList<int> sorted = pings_;
        std::sort(sorted.begin(), sorted.end());
        figure.medianPingMs = sorted[(sorted.size() - 1) / 2];
    }
    return figure;
}

HourFigure mergeHourFigures(const HourFigure& kept, const HourFigure& more) {
    HourFigure merged = kept;
    merged.mostPlayers = larger(kept.mostPlayers, more.mostPlayers);
    merged.maxPlayers = larger(kept.maxPlayers, more.maxPlayers);
    // The median of the whole hour is gone with its samples: the larger part's stands for it.
    if (!kept.medianPingMs || more.samples > kept.samples) merged.medianPingMs = more.medianPingMs;
    merged.samples = kept.samples + more.samples;
    return merged;
}
