#pragma once
#include <QList>
#include <QStringList>

#include "query/ServerStatus.h"
#include "state/FlexGrid.h"

// The entries of the buddy list (a name, or a pattern with "**") that match a player of
// the reply, each once, in list order. Only these names ever reach the history.
QStringList buddiesSeen(const QStringList& entries, const QList<PlayerStatus>& players);
// The entries of the buddy grid whose names the history may keep: all of them while the
// player keeps where buddies played, none otherwise.
QStringList keptBuddyEntries(const FlexGrid& buddyGrid);
