#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include "settings/SettingsValues.h"
#include "state/FlexGrid.h"

// The import of the games' own favourites into the settings dialog's favourites grid.
// Nothing is written and nothing is shown: the new rows appear in the grid.

struct ImportedFavourite {
    QString address;
    QString queryPort;
    bool operator==(const ImportedFavourite&) const = default;
};

// The favourites each game's ini file yields, in file order. Section names and keys
// are found in any letter case, blanks around fields are dropped; an entry without a
// usable address or port goes to refused, as written.
// "unrealtournament.ini": [UBrowser.UBrowserFavoritesFact], FavoriteCount=N, then N
// lines Favorites[i]=name\address\query port\flag.
QList<ImportedFavourite> readUtFavourites(const QStringList& lines, QStringList* refused = nullptr);
// "ut2003.ini": the lines after XInterface.Browser_ServerListPageFavorites up to a
// blank line, Favorites=(...,IP="address",Port=p,QueryPort=q,...);
// "ut2004.ini": the run of such Favorites= lines. The query port is q + 9 (the games'
// own query port is the game port + 1), else p + 10.
QList<ImportedFavourite> readUt2003Favourites(const QStringList& lines, QStringList* refused = nullptr);
QList<ImportedFavourite> readUt2004Favourites(const QStringList& lines, QStringList* refused = nullptr);

// The game's ini file for the executable named in the path box: beside it, or for a
// native port in the player's preference folder when it is there (found in any letter
// case); empty when there is none.
QString favouritesIniPath(Game game, const QString& pathBoxText);

// Adds the favourites not yet in the grid (same address and query-port text, any
// game); the first one fills an empty list's row 1. Returns how many were added.
int addImportedFavourites(FlexGrid& grid, const QList<ImportedFavourite>& favourites,
                          const QString& code);

// The whole import of one game's "Import Favs" button: how many were added, and the
// entries that could not be.
struct ImportResult {
    int added = 0;
    QStringList refused;
};
ImportResult importFavourites(FlexGrid& grid, Game game, const QString& pathBoxText);
// The message that names the entries that were not imported.
QString refusedImportText(Game game, const QStringList& refused);
