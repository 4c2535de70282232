#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "history/HistoryStore.h"
#include "history/HistoryTypes.h"
#include "query/ServerQuerier.h"

// `vyrn --history [--json] [--days N] ADDRESS:PORT[:GAME]`: prints what VYRN's history
// ("history.sqlite" in its folder) holds of one server over the last N days: the samples
// still kept and, for the times before them, the figures of each hour; oldest first.
// Exits 0 when there was something to print, 1 when there was no history of the server
// (or none at all), 2 for bad arguments. Needs no display and never creates the file.

struct HistoryCommandOptions {
    bool json = false;
    int days = 1;
    HistoryServer server;
};
struct HistoryCommandParse {
    std::optional<HistoryCommandOptions> options;
    QString error;
};
HistoryCommandParse parseHistoryCommand(const QStringList& arguments);

// The lines printed for one server: the figures of the hours before the first sample,
// then the samples, oldest first. Times in the local time zone.
QStringList historyLines(const HistoryServer& server, const QList<HourFigure>& hours,
                         const QList<SampleRow>& samples, bool json);

int runHistoryCommand(const QStringList& arguments);

// What opening the history file said that the user should hear of (a file set aside, a
// failure), in words naming the file; empty when it opened as it should.
QString historyOpeningNote(const HistoryStore::Opening& opening, const QString& path);

// `vyrn --query --record`: adds the complete replies among the outcomes to the history
// file at path (made when missing) as one batch, heard at `now` (seconds since 1970).
// Returns what went wrong or was set aside, one line each, for the error output; the
// query's own exit code does not depend on it.
QStringList recordInHistory(const QString& path, const QList<QueryOutcome>& outcomes, qint64 now);
