#pragma once
#include <QString>

#include "query/ServerStatus.h"
#include "state/MainState.h"

// The one writer of replies into the main window's state.

// The server's query port as the grid holds it; 0 when it is no usable port.
int queryPortOf(const FlexGrid& serverGrid, int row);
// First favourite row whose address (blanks around it ignored) and query port are
// these; 0 for none.
int findServerRow(const MainState& s, const QString& address, int port);

// Puts a server's status into its row and its players into the buddy list. The players
// grid is emptied in automatic mode; when `selected` (selected-server mode and this is
// the selected row) the players grid and the panel show the server.
void writeServerStatus(MainState& s, int row, const ServerStatus& status, bool selected);

// A server that stopped answering: its row greyed with an empty ping, and the buddies
// last seen on it greyed too. The next reply restores both.
void markServerSilent(MainState& s, int row);
