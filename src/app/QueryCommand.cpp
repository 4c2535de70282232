#include "app/QueryCommand.h"

#include <QDateTime>
#include <QEventLoop>
#include <QHash>
#include <QSet>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/HistoryCommand.h"
#include "platform/HostAddress.h"
#include "query/QueryOutput.h"
#include "query/ServerQuerier.h"
#include "state/FavouritesFiles.h"
#include "state/ProgramFolder.h"
#include "state/TextLines.h"

namespace {
const char* const kUsage =
    "usage: vyrn --query [--json] [--timeout MS] [--record] ADDRESS:PORT[:GAME]...\n"
    "       vyrn --query [--json] [--timeout MS] [--record] --file servers.ini\n"
    "GAME is UT, UT2 (UT2003) or UT3 (UT2004); UT when left out.\n";

QString keyOf(const QueryTarget& t) { return t.address + QLatin1Char(':') + QString::number(t.port); }

void printLine(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}
}  // namespace

bool isQueryCommand(const QStringList& arguments) { return arguments.contains(QStringLiteral("--query")); }

QueryTargetRead parseQueryTarget(const QString& text) {
    const QString shown = QLatin1Char('"') + printable(text.trimmed()) + QLatin1Char('"');
    // An IPv6 literal holds colons of its own: "[::1]:7778" or "fe80::1:7778".
    if (text.trimmed().startsWith(QLatin1Char('[')) || text.count(QLatin1Char(':')) > 2)
        return {{}, shown + QStringLiteral(" is an IPv6 address; VYRN queries servers over IPv4 for now")};
    const FavouriteLine f = splitFavouriteLine(text);
    if (const QString problem = hostAddressProblem(f.address); !problem.isEmpty())
        return {{}, printable(problem)};
    bool ok = false;
    const int port = f.port.toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return {{}, shown + QStringLiteral(" has no query port from 1 to 65535")};
    const QString game = f.code.isEmpty() ? QStringLiteral("UT") : f.code.toUpper();
    if (game != QLatin1String("UT") && game != QLatin1String("UT2") && game != QLatin1String("UT3"))
        return {{}, shown + QStringLiteral(" names no game: UT, UT2 (UT2003) or UT3 (UT2004)")};
    return {QueryTarget{f.address, port, game}, {}};
}

QueryCommandParse parseQueryCommand(const QStringList& arguments) {
    QueryCommandOptions o;
    QString file;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--query")) continue;
        if (a == QLatin1String("--json")) {
            o.json = true;
        } else if (a == QLatin1String("--record")) {
            o.record = true;
        } else if (a == QLatin1String("--timeout") || a == QLatin1String("--file")) {
            if (i + 1 >= arguments.size()) return {{}, a + QStringLiteral(" needs a value")};
            const QString value = arguments[++i];
            if (a == QLatin1String("--file")) {
                file = value;
                continue;
            }
            if (const QString problem = timeoutProblem(value); !problem.isEmpty()) return {{}, problem};
            o.timeoutMs = value.toInt();
        } else if (a.startsWith(QLatin1Char('-'))) {
            return {{}, QStringLiteral("unknown option: ") + printable(a)};
        } else {
            const QueryTargetRead read = parseQueryTarget(a);
            if (!read.target) return {{}, read.problem};
            o.targets.append(*read.target);
        }
    }
    if (!file.isEmpty()) {
        const LinesRead read = readTextLines(file);
        if (read.status == LinesRead::Missing) return {{}, QStringLiteral("no such file: ") + file};
        if (read.failed()) return {{}, readFailureText(read)};
        // As strict as the command line: a line that is no server stops the run, by its number.
        for (int n = 0; n < read.lines.size(); ++n) {
            if (read.lines[n].trimmed().isEmpty()) continue;
            const QueryTargetRead target = parseQueryTarget(read.lines[n]);
            if (!target.target)
                return {{}, QStringLiteral("%1 line %2: %3").arg(file).arg(n + 1).arg(target.problem)};
            o.targets.append(*target.target);
        }
    }
    if (o.targets.isEmpty()) return {{}, QStringLiteral("no servers given")};
    return {o, {}};
}

int runQueryCommand(const QStringList& arguments) {
    const QueryCommandParse parse = parseQueryCommand(arguments);
    if (!parse.options) return refuseArguments(parse.error, kUsage);
    const QueryCommandOptions& o = *parse.options;
    ServerQuerier querier;
    querier.setTimeoutMs(o.timeoutMs);
    QHash<QString, QueryOutcome> outcomes;
    QEventLoop loop;
    int asked = 0, done = 0;
    querier.finished = [&](const QueryOutcome& outcome) {
        outcomes.insert(keyOf(outcome.target), outcome);
        if (++done == asked) loop.quit();
    };
    // A server listed twice is asked once.
    for (const QueryTarget& t : o.targets)
        if (!querier.isBusy(t) && !outcomes.contains(keyOf(t))) {
            ++asked;
            querier.query(t);
        }
    if (done < asked) loop.exec();

    bool allAnswered = true;
    QList<QueryOutcome> heard;  // each server once
    QSet<QString> keysHeard;
    for (const QueryTarget& t : o.targets) {
        const QueryOutcome outcome =
            outcomes.value(keyOf(t), QueryOutcome{t, {}, QueryOutcome::Failure::NoReply, {}});
        QueryOutcome shown = outcome;
        shown.target = t;
        allAnswered = allAnswered && outcome.answered();
        printLine(o.json ? queryResultJson(shown) : queryResultText(shown));
        if (!keysHeard.contains(keyOf(t))) {
            keysHeard.insert(keyOf(t));
            heard << outcome;
        }
    }
    std::fflush(stdout);
    // What the history says goes to the error output; the exit code is the query's.
    if (o.record)
        for (const QString& line :
             recordInHistory(programFile(kHistoryFileName), heard, QDateTime::currentSecsSinceEpoch()))
            std::fprintf(stderr, "vyrn: %s\n", printable(line).toLocal8Bit().constData());
    return allAnswered ? 0 : 1;
}
