#include "app/HistoryCommand.h"

#include <QDateTime>
#include <QJsonObject>
#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <limits>

#include "app/CommandLine.h"
#include "app/QueryCommand.h"
#include "history/HistorySample.h"
#include "platform/FileIO.h"
#include "query/QueryOutput.h"
#include "state/Games.h"
#include "state/ProgramFolder.h"

namespace {
const char* const kUsage =
    "usage: vyrn --history [--json] [--days N] ADDRESS:PORT[:GAME]\n"
    "GAME is UT, UT2 (UT2003) or UT3 (UT2004); UT when left out. N is from 1 to 366 (default 1).\n";

constexpr int kMaxDays = 366;
constexpr qint64 kSecsPerDay = 24 * 3600;

void say(FILE* to, const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

QString serverText(const HistoryServer& s) {
    return s.address + QLatin1Char(':') + QString::number(s.queryPort) + QLatin1Char(':') + s.game;
}

QString gameName(const HistoryServer& s) {
    const auto game = gameOfCode(s.game);
    return game ? gameInfo(*game).name : s.game;
}

QString count(std::optional<int> n) {
    return n ? QString::number(*n).rightJustified(2, QLatin1Char('0')) : QStringLiteral("--");
}
QJsonValue numberOrNull(std::optional<int> n) { return n ? QJsonValue(*n) : QJsonValue(QJsonValue::Null); }

QDateTime localTime(qint64 time) { return QDateTime::fromSecsSinceEpoch(time).toLocalTime(); }

// "2026-12-07T21:41:05+01:00": the local time with its offset, "+00:00" in UTC too.
QString isoTime(qint64 time) {
    const QDateTime local = localTime(time);
    const int offset = local.offsetFromUtc();
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + (offset < 0 ? u'-' : u'+') +
           QStringLiteral("%1:%2")
               .arg(std::abs(offset) / 3600, 2, 10, QLatin1Char('0'))
               .arg(std::abs(offset) / 60 % 60, 2, 10, QLatin1Char('0'));
}

QJsonObject jsonHead(const HistoryServer& server, qint64 time) {
    return {{QStringLiteral("address"), server.address},
            {QStringLiteral("queryPort"), server.queryPort},
            {QStringLiteral("game"), gameName(server)},
            {QStringLiteral("time"), isoTime(time)},
            {QStringLiteral("epoch"), time}};
}

// The kind leads the line, so that a reader can tell the lines apart at a glance.
QString jsonLineOfKind(const char* kind, const QJsonObject& o) {
    return QStringLiteral("{\"kind\":\"%1\",").arg(QLatin1String(kind)) + jsonLine(o).mid(1);
}

// The columns of `vyrn --query`: players/maximum, then the ping.
QString countsAndPing(std::optional<int> players, std::optional<int> maxPlayers, std::optional<int> pingMs) {
    return (count(players) + QLatin1Char('/') + count(maxPlayers)).leftJustified(6) +
           ((pingMs ? QString::number(*pingMs) : QStringLiteral("--")) + QStringLiteral(" ms"))
               .rightJustified(8);
}

QString hourLine(const HistoryServer& server, const HourFigure& h, bool json) {
    if (json) {
        QJsonObject o = jsonHead(server, h.hourStart);
        o.insert(QStringLiteral("mostPlayers"), numberOrNull(h.mostPlayers));
        o.insert(QStringLiteral("maxPlayers"), numberOrNull(h.maxPlayers));
        o.insert(QStringLiteral("medianPing"), numberOrNull(h.medianPingMs));
        o.insert(QStringLiteral("samples"), h.samples);
        return jsonLineOfKind("hour", o);
    }
    return localTime(h.hourStart).toString(QStringLiteral("yyyy-MM-dd HH:mm")).leftJustified(21) +
           countsAndPing(h.mostPlayers, h.maxPlayers, h.medianPingMs) +
           (h.samples == 1 ? QStringLiteral("  1 sample") : QStringLiteral("  %1 samples").arg(h.samples));
}

QString sampleLine(const HistoryServer& server, const SampleRow& s, bool json) {
    if (json) {
        QJsonObject o = jsonHead(server, s.time);
        o.insert(QStringLiteral("players"), numberOrNull(s.players));
        o.insert(QStringLiteral("maxPlayers"), numberOrNull(s.maxPlayers));
        o.insert(QStringLiteral("map"), s.map);
        o.insert(QStringLiteral("gameType"), s.gameType);
        o.insert(QStringLiteral("ping"), s.pingMs);
        return jsonLineOfKind("sample", o);
    }
    QString line = localTime(s.time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).leftJustified(21) +
                   countsAndPing(s.players, s.maxPlayers, s.pingMs) + QStringLiteral("  ") +
                   s.gameType.leftJustified(14);
    if (!s.map.isEmpty()) line += QStringLiteral(" [") + s.map + QLatin1Char(']');
    return printable(line);
}

QString daysText(int days) {
    return days == 1 ? QStringLiteral("the last day") : QStringLiteral("the last %1 days").arg(days);
}
}  // namespace

HistoryCommandParse parseHistoryCommand(const QStringList& arguments) {
    HistoryCommandOptions o;
    bool serverGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--history")) continue;
        if (a == QLatin1String("--json")) {
            o.json = true;
        } else if (a == QLatin1String("--days")) {
            if (i + 1 >= arguments.size()) return {{}, QStringLiteral("--days needs a value")};
            const QString value = arguments[++i];
            bool ok = false;
            o.days = value.toInt(&ok);
            if (!ok || o.days < 1 || o.days > kMaxDays)
                return {{},
                        QStringLiteral("--days %1: not a whole number of days from 1 to %2")
                            .arg(printable(value))
                            .arg(kMaxDays)};
        } else if (a.startsWith(QLatin1Char('-'))) {
            return {{}, QStringLiteral("unknown option: ") + printable(a)};
        } else if (serverGiven) {
            return {{}, QStringLiteral("one server at a time: \"%1\" is a second").arg(printable(a))};
        } else {
            const QueryTargetRead read = parseQueryTarget(a);
            if (!read.target) return {{}, read.problem};
            o.server = historyServer(read.target->address, read.target->port, read.target->game);
            serverGiven = true;
        }
    }
    if (!serverGiven) return {{}, QStringLiteral("no server given")};
    return {o, {}};
}

QStringList historyLines(const HistoryServer& server, const QList<HourFigure>& hours,
                         const QList<SampleRow>& samples, bool json) {
    // The samples speak for their own hours; an hour is shown only before them, or when
    // it holds more samples than are still kept of it (the rest folded into its figures).
    const qint64 firstHour =
        samples.isEmpty() ? std::numeric_limits<qint64>::max() : samples.first().time / 3600 * 3600;
    const auto keptIn = [&](qint64 hourStart) {
        return std::count_if(samples.begin(), samples.end(),
                             [&](const SampleRow& s) { return s.time / 3600 * 3600 == hourStart; });
    };
    QStringList lines;
    for (const HourFigure& h : hours) {
        if (h.hourStart > firstHour || (h.hourStart == firstHour && h.samples <= keptIn(firstHour))) continue;
        if (lines.isEmpty() && !json)
            lines << QStringLiteral("Each hour's most players, maximum and median ping:");
        lines << hourLine(server, h, json);
    }
    if (!samples.isEmpty() && !json) lines << QStringLiteral("Every sample kept:");
    for (const SampleRow& s : samples) lines << sampleLine(server, s, json);
    return lines;
}

QString historyOpeningNote(const HistoryStore::Opening& opening, const QString& path) {
    using How = HistoryStore::Opening::How;
    switch (opening.how) {
        case How::Opened:
        case How::Created: return {};
        case How::SetAsideDamaged:
            return QStringLiteral(
                       "the history file %1 was damaged; it is kept as %2 and a new one was started")
                .arg(path, opening.setAsideAs);
        case How::SetAsideNewer:
            return QStringLiteral(
                       "the history file %1 is from a newer VYRN; it is kept as %2 and a new one was started")
                .arg(path, opening.setAsideAs);
        case How::Failed: break;
    }
    return QStringLiteral("cannot open the history file %1: %2").arg(path, opening.error);
}

int runHistoryCommand(const QStringList& arguments) {
    const HistoryCommandParse parse = parseHistoryCommand(arguments);
    if (!parse.options) return refuseArguments(parse.error, kUsage);
    const HistoryCommandOptions& o = *parse.options;
    const QString path = programFile(kHistoryFileName);
    // Reading makes no file: a missing one is only news.
    if (!fileExists(path)) {
        say(stderr, QStringLiteral("vyrn: no history yet (%1 does not exist)").arg(path));
        return 1;
    }
    HistoryStore store;
    const HistoryStore::Opening opening = store.open(path);
    if (const QString note = historyOpeningNote(opening, path); !note.isEmpty())
        say(stderr, QStringLiteral("vyrn: ") + note);
    if (!opening.ok()) return 1;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const qint64 from = now - o.days * kSecsPerDay;
    // Samples stamped ahead of now (the clock went back since) are shown, not hidden.
    const qint64 to = now + kMaxDays * kSecsPerDay;
    const QStringList lines =
        historyLines(o.server, store.hours(o.server, from, to), store.samples(o.server, from, to), o.json);
    if (lines.isEmpty()) {
        QString line =
            QStringLiteral("vyrn: no history of %1 in %2").arg(serverText(o.server), daysText(o.days));
        // The game is part of the name a server is kept under; a server given without its
        // code (UT) is most often one of the others.
        for (const char* code : {"UT", "UT2", "UT3"}) {
            const HistoryServer other{o.server.address, o.server.queryPort, QLatin1String(code)};
            if (other != o.server && !store.samples(other, from, to).isEmpty())
                line += QStringLiteral("; there is some of %1").arg(serverText(other));
        }
        say(stderr, line);
        return 1;
    }
    for (const QString& line : lines) say(stdout, line);
    std::fflush(stdout);
    return 0;
}

QStringList recordInHistory(const QString& path, const QList<QueryOutcome>& outcomes, qint64 now) {
    QList<HistorySample> samples;
    for (const QueryOutcome& outcome : outcomes)
        // No buddy names from here: the command line keeps no buddy history.
        if (outcome.answered()) samples << historySample(outcome.target, *outcome.status, now, {});
    if (samples.isEmpty()) return {};
    QStringList said;
    HistoryStore store;
    const HistoryStore::Opening opening = store.open(path);
    const QString note = historyOpeningNote(opening, path);
    if (!opening.ok()) return {QStringLiteral("history not written: ") + note};
    if (!note.isEmpty()) said << note;
    QString error;
    if (!store.add(samples, &error)) return said << QStringLiteral("history not written: ") + error;
    // Run from a timer without the window, the command keeps the file bounded itself.
    if (!store.compact(now, &error)) said << QStringLiteral("history not compacted: ") + error;
    return said;
}
