#pragma once
#include <QString>
#include <optional>

#include "state/Games.h"

// Where a game keeps the files VYRN reads and edits. Names are found in any letter case
// and come back in their real spelling.
//
// A native port copies the player's ini and profile into a preference folder of the
// home folder on its first run and reads them there from then on; a Windows install
// run through Wine keeps them beside its executable.

// The game's file of that name ("UT2004.ini", "User.ini") that the game itself reads:
// for a native port the one in the player's preference folder when it is there, else
// the one in the game folder. Nothing when there is none.
std::optional<QString> gameFileOf(Game game, const QString& executablePath, const QString& fileName);

// The ini file with the game's settings and favourites, and the player's profile.
std::optional<QString> iniFileOf(Game game, const QString& executablePath);
std::optional<QString> profileFileOf(Game game, const QString& executablePath);

// The folder the game writes its screenshots into (for a native port, the one beside
// its preference folder when that exists). Nothing when the folder is missing.
std::optional<QString> screenshotFolderOf(Game game, const QString& executablePath);

// A native port's executable in one of the usual install folders, 64-bit builds first.
// home stands for "~"; systemRoot is put before the absolute places ("/" on a real system).
std::optional<QString> findNativeInstall(Game game, const QString& home, const QString& systemRoot);
