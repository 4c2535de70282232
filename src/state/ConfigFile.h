#pragma once
#include <QString>

#include "state/AppConfig.h"

// "vyrn.ini": eight positional lines, no keys.

enum class GetPathsResult { Read, Missing, OldFormatReset };

// Reads "vyrn.ini" into the configuration and skipDllPrompt. A file of an older
// version (its first line mentions "agreement") is reset: the user is asked whether
// to import its favourites, the file is moved to "old-vyrn.ini", "Please restart
// VYRN." is shown and the program is ended (OldFormatReset is returned to callers
// whose end handler lets them go on).
GetPathsResult GetPaths(AppConfig& config, bool& skipDllPrompt);

// Writes the eight lines from the configuration with the given sixth line, only when
// "vyrn.ini" already exists. False when it existed and could not be written.
bool RewriteConfig(const AppConfig& config, const QString& line6);

// Writes the eight lines whether or not the file exists (the settings dialog's writer
// uses it with its own values). False when the old file was kept.
bool writeConfigFile(const AppConfig& config, const QString& line6);

// The old-format import: appends the "SERVER=" / "SERVERPORT=" pairs that follow the
// first line of an old file to "servers.ini" as address:port:UT lines.
void importOldFavourites(const QStringList& oldLinesAfterFirst);
