#pragma once
#include <QString>
#include <optional>

#include "query/ServerQuerier.h"

// One query's result as the command line prints it.

// The value of "--timeout MS": whole milliseconds from 1 to 600000; nothing otherwise.
std::optional<int> parseTimeoutMs(const QString& text);

// "UT", "UT2003" or "UT2004": from the reply's game name, else from the target's code.
QString queryGameName(const QueryOutcome& outcome);
// Why a query has no status, in a few words; empty when it has one.
QString queryErrorText(const QueryOutcome& outcome);
// One JSON object on one line (no line end): address, queryPort, game, ok, error,
// hostName, hostPort, map, gameType, numPlayers, maxPlayers, ping, password, players,
// rules.
QString queryResultJson(const QueryOutcome& outcome);
// One aligned line of text (no line end): address:port, game, players, ping, game type,
// server name and map.
QString queryResultText(const QueryOutcome& outcome);
