#pragma once
#include <QString>
#include <QStringList>

#include "state/Games.h"

// Where "Auto" looks for a game: the installers' registry keys in every Wine prefix a
// player is likely to have (WINEPREFIX, ~/.wine, Steam's prefix of the game in each
// Steam library, Lutris's prefixes), then the usual folders of the native ports. A
// place counts only when the game's executable is really there.

struct GameSearch {
    QString path;        // the executable found, in its real letter case; empty for none
    QStringList looked;  // the places looked at, in order
};
GameSearch searchGame(Game game, const QString& home);

// The Steam libraries of a home folder: Steam's own folders and those its
// "libraryfolders.vdf" names.
QStringList steamLibraries(const QString& home);

// The Wine prefixes searched, most likely first, each once.
QStringList winePrefixesFor(Game game, const QString& home);

// What "Auto" says when it found nothing.
QString notFoundText(Game game, const QStringList& looked);
