#include "master/MasterCommand.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <cstring>

#include "master/MasterClient.h"
#include "query/QueryOutput.h"
#include "query/ServerQuerier.h"

namespace {
struct MasterRequest {
    bool json = false;
    bool query = false;
    int timeoutMs = ServerQuerier::kDefaultTimeoutMs;
    QByteArray game = "ut";
    QList<MasterAddress> masters;
};

void printLine(FILE* to, const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

const QString kUsage =
    QStringLiteral("usage: vyrn --master [--query [--timeout MS]] [--json] [--game ut] [HOST:PORT]...");

std::optional<MasterRequest> parseRequest(const QStringList& args, QString& problem) {
    MasterRequest r;
    bool timeoutGiven = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--master")) continue;
        if (a == QLatin1String("--json")) {
            r.json = true;
        } else if (a == QLatin1String("--query")) {
            r.query = true;
        } else if (a == QLatin1String("--timeout")) {
            if (i + 1 >= args.size())
                return problem = QStringLiteral("--timeout needs a value\n") + kUsage, std::nullopt;
            const QString value = args[++i];
            if (const QString why = timeoutProblem(value); !why.isEmpty())
                return problem = why + QLatin1Char('\n') + kUsage, std::nullopt;
            r.timeoutMs = value.toInt();
            timeoutGiven = true;
        } else if (a == QLatin1String("--game")) {
            if (++i >= args.size()) return problem = kUsage, std::nullopt;
            r.game = args[i].toLower().toLatin1();
        } else if (const auto m = parseMasterAddress(a); m && !a.startsWith(QLatin1Char('-'))) {
            r.masters << *m;
        } else {
            problem = QStringLiteral("not a master address: ") + printable(a) + QLatin1Char('\n') + kUsage;
            return std::nullopt;
        }
    }
    if (timeoutGiven && !r.query) {
        problem =
            QStringLiteral("--timeout is the wait for each server's reply, so it needs --query\n") + kUsage;
        return std::nullopt;
    }
    if (r.game == "ut2" || r.game == "ut3" || r.game == "ut2003" || r.game == "ut2004") {
        problem = QStringLiteral(
            "UT2003 and UT2004 lists come from Epic's own master protocol, which needs the game's "
            "CD key and is not published; only the UT list (--game ut) can be fetched.");
        return std::nullopt;
    }
    if (r.game != "ut") {
        problem = QStringLiteral("unknown game: ") + QString::fromLatin1(r.game) + QLatin1Char('\n') + kUsage;
        return std::nullopt;
    }
    if (r.masters.isEmpty()) r.masters = loadMasters();
    return r;
}

QString jsonLine(const ServerAddress& s) {
    const QJsonObject o{{QStringLiteral("address"), s.address},
                        {QStringLiteral("queryPort"), int(s.port)},
                        {QStringLiteral("game"), QStringLiteral("UT")}};
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}
}  // namespace

bool isMasterCommand(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--master") == 0) return true;
    return false;
}

int runMasterCommand(const QStringList& arguments) {
    QString problem;
    const auto request = parseRequest(arguments, problem);
    if (!request) {
        printLine(stderr, problem);
        return 2;
    }
    MasterClient client(request->masters, request->game);
    ServerQuerier querier;
    querier.setTimeoutMs(request->timeoutMs);
    bool listDone = false, listComplete = false, allAnswered = true;
    auto finishWhenDone = [&] {
        if (listDone && querier.idle()) QCoreApplication::exit(0);
    };
    // With --query each server is asked as soon as it is listed, and printed as it answers
    // (or times out), in the form of `vyrn --query`.
    querier.finished = [&](const QueryOutcome& o) {
        allAnswered = allAnswered && o.answered();
        printLine(stdout, request->json ? queryResultJson(o) : queryResultText(o));
        std::fflush(stdout);
        finishWhenDone();
    };
    client.serversArrived = [&](const QList<ServerAddress>& servers) {
        for (const ServerAddress& s : servers) {
            if (request->query) querier.query({s.address, s.port, QStringLiteral("UT")});
            else printLine(stdout, request->json ? jsonLine(s) : s.text());
        }
        std::fflush(stdout);
    };
    client.masterDone = [](const MasterOutcome& o) {
        if (o.failure != MasterFailure::None || o.skipped > 0) printLine(stderr, describeOutcome(o));
    };
    client.finished = [&](bool complete) {
        listDone = true;
        listComplete = complete;
        finishWhenDone();
    };
    client.start();
    if (!listDone || !querier.idle()) QCoreApplication::exec();
    if (!listComplete) return 1;
    return request->query && !allAnswered ? 1 : 0;
}
