#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "query/ServerQuerier.h"
#include "query/ServerStatus.h"

// `vyrn --query [--json] [--timeout MS] [--record] ADDRESS:PORT[:GAME]...` and
// `vyrn --query [--json] [--timeout MS] [--record] --file servers.ini`: queries the
// servers at once, prints one result per server in the order given, and exits 0 when
// every server answered, 1 when some did not, 2 for bad arguments. With --record the
// replies are added to VYRN's history. Runs without a display.

// True when the command line asks for the query command.
bool isQueryCommand(const QStringList& arguments);

struct QueryCommandOptions {
    bool json = false;
    bool record = false;  // add the complete replies to VYRN's history
    int timeoutMs = ServerQuerier::kDefaultTimeoutMs;
    QList<QueryTarget> targets;
};
// The options of the arguments after the program name; the message for bad ones.
struct QueryCommandParse {
    std::optional<QueryCommandOptions> options;
    QString error;
};
QueryCommandParse parseQueryCommand(const QStringList& arguments);

// One server as written on the command line or in "servers.ini"; GAME defaults to UT.
// The problem, naming the text, when it is none.
struct QueryTargetRead {
    std::optional<QueryTarget> target;
    QString problem;
};
QueryTargetRead parseQueryTarget(const QString& text);

// Runs the command (a QCoreApplication must exist); returns the exit code.
int runQueryCommand(const QStringList& arguments);
