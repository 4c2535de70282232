#pragma once
#include <QJsonObject>
#include <QString>
#include <optional>

#include "query/ServerQuerier.h"

// One query's result as the command line prints it.

// The value of "--timeout MS": whole milliseconds from 1 to 600000; nothing otherwise.
std::optional<int> parseTimeoutMs(const QString& text);
// Why a "--timeout" value is refused, in words; empty when it is fine.
QString timeoutProblem(const QString& text);

// "UT", "UT2003" or "UT2004": from the reply's game name, else from the target's code.
QString queryGameName(const QueryOutcome& outcome);
// The text with every C0 and C1 control character replaced by "?", for a terminal.
QString printable(QString text);
// Why a query has no status, in a few words; empty when it has one.
QString queryErrorText(const QueryOutcome& outcome);
// One JSON object on one line (no line end): address, queryPort, game, ok, error,
// hostName, hostPort, map, gameType, numPlayers (as announced), maxPlayers, ping,
// password, players (those listed) and rules. Numbers are numbers or null, never text;
// no control character is written unescaped.
QString queryResultJson(const QueryOutcome& outcome);
// One JSON object as one line (no line end), with no control character unescaped.
QString jsonLine(const QJsonObject& object);
// One aligned line of text (no line end): address:port, game, players, ping, game type,
// server name and map.
QString queryResultText(const QueryOutcome& outcome);
