#pragma once
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <optional>

#include "history/HistoryTypes.h"

// Small helpers for the history's statements: every failure comes back as the driver's text.

// Runs a prepared (and bound) query.
bool runSql(QSqlQuery& query, QString* error);
// Prepares and runs one statement with the values given in order.
bool runSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values, QString* error);
inline bool runSql(const QSqlDatabase& db, const QString& sql, QString* error) {
    return runSql(db, sql, {}, error);
}
// A forward-only query prepared from sql with the values bound in order; isActive() after
// it ran, else lastError() says why.
QSqlQuery selectSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values);

// SQLite's primary result code of a failure (11 corrupt, 13 full, 26 not a database...).
int sqliteCode(const QSqlQuery& query);

// Copies the write-ahead log into the file and empties it; failing that, the log only stays
// larger until the next time.
void emptyWriteAheadLog(const QSqlDatabase& db);

QVariant nullable(std::optional<int> value);
std::optional<int> optionalInt(const QVariant& value);

// Whole hours since 1970, the key of the hourly figures.
inline qint64 hourOf(qint64 time) { return time / 3600; }

// Gathers the samples of one server and hour into that hour's figures: the most players,
// the largest maximum, the median ping (the lower middle one of an even count).
class HourGatherer {
public:
    void add(std::optional<int> players, std::optional<int> maxPlayers, int pingMs);
    HourFigure figure(qint64 hour) const;
    bool empty() const { return pings_.isEmpty(); }

private:
    std::optional<int> most_, max_;
    QList<int> pings_;
};

// One hour's figures from two parts of it (kept figures and samples that came later).
HourFigure mergeHourFigures(const HourFigure& kept, const HourFigure& more);
