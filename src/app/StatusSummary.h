#pragma once
#include <QString>

#include "query/ServerMonitor.h"

// The main window's status bar: "12 favourites, 9 answering, 41 players", and while
// "Refresh all" runs, "Refresh all: 5 of 12 answered" before it.
QString statusSummary(const FlexGrid& serverGrid, const ServerMonitor::RefreshProgress& refresh);
