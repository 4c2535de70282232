#include "master/MasterCommand.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <cstring>

#include "master/CdKey.h"
#include "master/MasterClient.h"
#include "query/QueryOutput.h"
#include "query/ServerQuerier.h"
#include "state/ConfigFile.h"
#include "state/ProgramFolder.h"

namespace {
struct MasterRequest {
    bool json = false;
    bool query = false;
    int timeoutMs = ServerQuerier::kDefaultTimeoutMs;
    Game game = Game::UT;
    QString cdKeyFile;
    QList<MasterAddress> masters;
};

void printLine(FILE* to, const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

const QString kUsage = QStringLiteral(
    "usage: vyrn --master [--game ut|ut2003|ut2004] [--cdkey FILE] [--json] [--query [--timeout MS]] "
    "[HOST:PORT]...");

std::optional<Game> gameOfName(const QString& name) {
    const QString n = name.toLower();
    if (n == QLatin1String("ut")) return Game::UT;
    if (n == QLatin1String("ut2003") || n == QLatin1String("ut2")) return Game::UT2003;
    if (n == QLatin1String("ut2004") || n == QLatin1String("ut3")) return Game::UT2004;
    return std::nullopt;
}

std::optional<MasterRequest> parseRequest(const QStringList& args, QString& problem) {
    MasterRequest r;
    QStringList masterTexts;
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
            const auto game = gameOfName(args[i]);
            if (!game)
                return problem =
                           QStringLiteral("unknown game: ") + printable(args[i]) + QLatin1Char('\n') + kUsage,
                       std::nullopt;
            r.game = *game;
        } else if (a == QLatin1String("--cdkey")) {
            if (++i >= args.size()) return problem = kUsage, std::nullopt;
            r.cdKeyFile = args[i];
        } else if (!a.startsWith(QLatin1Char('-'))) {
            masterTexts << a;
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
    // The game decides the port of a master named without one.
    for (const QString& text : masterTexts) {
        const auto m = parseMasterAddress(text, r.game);
        if (!m)
            return problem = QStringLiteral("not a master address: ") + printable(text) + QLatin1Char('\n') +
                             kUsage,
                   std::nullopt;
        r.masters << *m;
    }
    if (r.masters.isEmpty()) r.masters = loadMasters(r.game);
    return r;
}

// The player's key: from --cdkey, else from the install VYRN knows. The message says
// where it was looked for, never what it is.
std::optional<CdKey> cdKeyFor(const MasterRequest& r, QString& problem) {
    const QString game = gameInfo(r.game).name;
    if (!r.cdKeyFile.isEmpty()) {
        if (auto key = readCdKeyFile(r.cdKeyFile)) return key;
        problem = QStringLiteral(
                      "No %1 CD key in %2: it should hold the key as the game keeps it "
                      "(XXXXX-XXXXX-XXXXX-XXXXX).")
                      .arg(game, r.cdKeyFile);
        return std::nullopt;
    }
    AppConfig config;
    readConfigFile(config);
    const CdKeySearch found = findCdKey(r.game, config);
    if (found.key) return found.key;
    problem =
        QStringLiteral("The %1 master list needs the game's CD key, and VYRN found none. It looked in:\n  ")
            .arg(game) +
        found.looked.join(QStringLiteral("\n  ")) +
        QStringLiteral("\nName a file holding the key with --cdkey FILE.");
    return std::nullopt;
}

QString jsonLine(const ListedServer& s, Game game) {
    QJsonObject o{{QStringLiteral("address"), s.server.address},
                  {QStringLiteral("queryPort"), int(s.server.port)},
                  {QStringLiteral("game"), gameInfo(game).name}};
    if (game != Game::UT) o.insert(QStringLiteral("gamePort"), int(s.server.port) - 10);
    if (s.hasDetails) {
        o.insert(QStringLiteral("hostName"), s.hostName);
        o.insert(QStringLiteral("map"), s.map);
        o.insert(QStringLiteral("gameType"), s.gameType);
        o.insert(QStringLiteral("numPlayers"), s.numPlayers);
        o.insert(QStringLiteral("maxPlayers"), s.maxPlayers);
    }
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

// UT's lines are as they always were; a UT2 server's carries its code, as "servers.ini"
// and `vyrn --query` take it.
QString textLine(const ListedServer& s, Game game) {
    return game == Game::UT ? s.server.text() : s.server.text() + QLatin1Char(':') + s.gameCode;
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
    std::optional<CdKey> key;
    if (request->game != Game::UT && !(key = cdKeyFor(*request, problem))) {
        printLine(stderr, problem);
        return 2;
    }
    const Game game = request->game;
    MasterClient client(request->masters, masterExchangeFor(game, key));
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
    client.serversArrived = [&](const QList<ListedServer>& servers) {
        for (const ListedServer& s : servers) {
            if (request->query)
                querier.query(
                    {s.server.address, s.server.port, s.gameCode, s.gameCode != QLatin1String("UT")});
            else printLine(stdout, request->json ? jsonLine(s, game) : textLine(s, game));
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
