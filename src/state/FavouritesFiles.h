#pragma once
#include <QString>
#include <QStringList>
#include <optional>

#include "state/FlexGrid.h"
#include "state/MainState.h"

// "servers.ini" (address:query port:game code a line) and "buddies.ini" (a name a line).

// "UT", "UT2003" or "UT2004" for the codes ut, ut2 and ut3 in any letter case; any
// other code is shown as it is stored.
QString gameDisplayName(const QString& code);

// One favourite line split into address, query port and code; missing fields are empty.
struct FavouriteLine {
    QString address, port, code;
};
FavouriteLine splitFavouriteLine(const QString& line);

// Fills the freshly laid out main server grid from "servers.ini".
void LoadServerList(MainState& s);
// Writes "servers.ini" from the main server grid in its current order. False when the
// file could not be written (the old one is kept).
bool SaveSortedServerList(const MainState& s);

// Adds favourites that are not in the list yet (same address and query port) to the end
// of "servers.ini", keeping its lines byte for byte, and to the end of the main server
// grid. The number added; nothing when the file could not be read or written, and then
// the grid is left as it was.
std::optional<int> appendFavourites(MainState& s, const QList<FavouriteLine>& favourites);

// Fills a freshly laid out buddy grid (column 0) from "buddies.ini"; the settings
// dialog's buddy grid loads the same way.
void loadBuddyGrid(FlexGrid& grid);
inline void LoadBuddyList(MainState& s) { loadBuddyGrid(s.BudList); }

// Rewrites "buddies.ini" with the given names, one a line.
bool writeBuddies(const QStringList& names);
