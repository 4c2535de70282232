#pragma once
#include <QString>
#include <QStringList>

#include "state/AppConfig.h"
#include "state/TextLines.h"

// "vyrn.ini": eight positional lines (a ninth for buddy alerts), no keys.

enum class GetPathsResult { Read, Missing, OldFormat, Unreadable };

// What reading "vyrn.ini" found. OldFormat: a file of an older version (its first line
// mentions "agreement"), which the caller resets with resetOldFormat().
struct ConfigRead {
    GetPathsResult result = GetPathsResult::Missing;
    LinesRead file;
    bool operator==(GetPathsResult r) const { return result == r; }
};

// The one reader of "vyrn.ini": each line the file has goes into its value; a value
// whose line is missing keeps what it held. line6 receives the sixth line when there
// is one.
ConfigRead readConfigFile(AppConfig& config, QString* line6 = nullptr);

// Reads "vyrn.ini" into the configuration and skipDllPrompt, which becomes true
// unless line 6 is exactly "False" (and is never set back to false here).
ConfigRead loadConfig(AppConfig& config, bool& skipDllPrompt);

// Writes the eight lines from the configuration with the given sixth line, only when
// "vyrn.ini" already exists.
SaveResult rewriteConfig(const AppConfig& config, const QString& line6);

// Writes the eight lines whether or not the file exists (the settings dialog's writer
// uses it with its own values).
SaveResult writeConfigFile(const AppConfig& config, const QString& line6);

// The reset of an old-format "vyrn.ini", after the user answered whether to import
// its favourites: the file is copied to "old-vyrn.ini"; once the copy holds the same
// bytes, the "SERVER=" / "SERVERPORT=" pairs go to "servers.ini" when asked and
// "vyrn.ini" is deleted. When the copy fails nothing else happens.
struct OldFormatReset {
    SaveResult favourites;  // saved() also when nothing was asked for
    SaveResult copy;        // "old-vyrn.ini"; when not saved, "vyrn.ini" was kept
};
OldFormatReset resetOldFormat(bool importFavourites);

// The old-format import: appends the "SERVER=" / "SERVERPORT=" pairs that follow the
// first line of an old file to "servers.ini" as address:port:UT lines.
SaveResult importOldFavourites(const QStringList& oldLinesAfterFirst);
