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

// The favourites each game's ini file yields, in file order. Lines that lack a field
// the rule cuts out are passed over.
// "unrealtournament.ini": [UBrowser.UBrowserFavoritesFact], FavoriteCount=N, then N
// lines Favorites[i]=name\address\query port\flag.
QList<ImportedFavourite> readUtFavourites(const QStringList& lines);
// "ut2003.ini": the lines after XInterface.Browser_ServerListPageFavorites up to a
// blank line, Favorites=(...,IP="address",Port=game port,...); query port = port + 10.
QList<ImportedFavourite> readUt2003Favourites(const QStringList& lines);
// "ut2004.ini": the run of Favorites=(...,IP="address",Port=..,QueryPort=q,...) lines;
// query port = q + 9.
QList<ImportedFavourite> readUt2004Favourites(const QStringList& lines);

// The game's ini file for the executable named in the path box: beside it, or for a
// native port in the player's preference folder when it is there (found in any letter
// case); empty when there is none.
QString favouritesIniPath(Game game, const QString& pathBoxText);

// Adds the favourites not yet in the grid (same address and query-port text, any
// game); the first one fills an empty list's row 1. Returns how many were added.
int addImportedFavourites(FlexGrid& grid, const QList<ImportedFavourite>& favourites,
                          const QString& code);

// The whole import of one game's "Import Favs" button.
int ImportFavourites(FlexGrid& grid, Game game, const QString& pathBoxText);
