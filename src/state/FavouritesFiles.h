#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "state/FlexGrid.h"
#include "state/MainState.h"
#include "state/TextLines.h"

// "servers.ini" (address:query port:game code a line) and "buddies.ini" (a name a line).

// "UT", "UT2003" or "UT2004" for the codes ut, ut2 and ut3 in any letter case; any
// other code is shown as it is stored.
QString gameDisplayName(const QString& code);

// One favourite: its line split at the first three ":", missing fields empty; rest is
// what followed the third field (a comment, with its ":"), kept with the favourite.
struct FavouriteLine {
    QString address, port, code;
    QString rest = {};
    bool operator==(const FavouriteLine&) const = default;
};
FavouriteLine splitFavouriteLine(const QString& line);
// The line stored for a favourite; nothing for one without an address, which can
// never be queried and is never stored.
std::optional<QString> joinFavouriteLine(const FavouriteLine& favourite);
// Whether a line of "servers.ini" is a favourite: not blank, not a note (";" or "#"),
// with an address. Every other line is kept in the file as it is.
bool isFavouriteLine(const QString& line);

// Every favourite of "servers.ini" in file order (a line with fewer than three fields
// loads with the missing ones empty).
struct FavouritesRead {
    LinesRead file;
    QList<FavouriteLine> favourites;
};
FavouritesRead readFavourites();
// Reads "servers.ini" into a fresh grid: its empty row takes the first favourite, none is
// left after the last; writeRow fills each row from its favourite (index from 0).
LinesRead loadFavouritesInto(FlexGrid& g,
                             const std::function<void(int row, int index, const FavouriteLine&)>& writeRow);
// Rewrites "servers.ini" with the favourites that have an address, in order, in the
// places the file's favourites had; its other lines stay where they are, a favourite
// unchanged keeps its line as it was written, and a file that would not change is
// not written.
SaveResult writeFavourites(const QList<FavouriteLine>& favourites);

// Fills the freshly laid out main server grid from "servers.ini"; returns what reading
// found, so the caller can tell the user of a file it could not read.
LinesRead loadServerList(MainState& s);
// Writes "servers.ini" from the main server grid in its current order; each favourite
// keeps the game code and the rest of its line as the file has them.
SaveResult saveSortedServerList(const MainState& s);

// Adds the favourites that are not in the list yet (same address and query port) to the
// end of "servers.ini", which keeps every line it had, and to the end of the main server
// grid. failure holds the message for the user when the file could not be read or
// written; the grid is then left as it was.
struct FavouritesAdded {
    int count = 0;
    QString failure;
};
FavouritesAdded appendFavourites(MainState& s, const QList<FavouriteLine>& favourites);

// Fills a freshly laid out buddy grid (column 0) from "buddies.ini", each line whole;
// the settings dialog's buddy grid loads the same way.
LinesRead loadBuddyGrid(FlexGrid& grid);
inline LinesRead loadBuddyList(MainState& s) { return loadBuddyGrid(s.buddyGrid); }

// Rewrites "buddies.ini" with the given names, one a line.
SaveResult writeBuddies(const QStringList& names);
