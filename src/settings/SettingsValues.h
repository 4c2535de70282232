#pragma once
#include <QString>
#include <QStringList>

#include "state/AppConfig.h"
#include "state/FlexGrid.h"
#include "state/Games.h"
#include "state/TextLines.h"

// What the settings dialog's controls hold, apart from its two grids.
struct SettingsValues {
    QString paths[3];  // utPathEdit, ut2003PathEdit, ut2004PathEdit: the executables of UT, UT2003, UT2004
    bool exitAfterLaunch = true;  // exitOption "Exit VYRN"; else trayOption "Send VYRN to Systray"
    int refreshDelay = 1;         // refreshDelaySlider, 1 to 5
    bool buddyAlerts = true;      // the buddy alert box; line 9 of "vyrn.ini"
    bool buddyHistory = false;    // the buddy history box; line 10
    bool operator==(const SettingsValues&) const = default;
    QString& path(Game g) { return paths[int(g)]; }
    const QString& path(Game g) const { return paths[int(g)]; }
};

inline constexpr int kMinRefreshDelay = 1;
inline constexpr int kMaxRefreshDelay = 5;

// The configuration's path of a game.
QString& configPath(AppConfig& config, Game game);

// The game's executable as the registry of a Wine prefix knows its folder (the folder +
// "System/<executable>", in the file's real letter case), taken only when it is there;
// else a native port in one of the usual install folders; else empty.
QString detectedGamePath(Game game);
// "Auto": a detected path becomes the game's path and its box's text; otherwise
// nothing changes.
void detectGamePath(Game game, SettingsValues& values, AppConfig& config);

// "Browse": the game's executable in the chosen folder (or in its "System64" or "System"
// folder), a native port's before the Windows one, in its real letter case; when none
// is there, the folder + the Windows executable's name in lower case.
QString browsedGamePath(Game game, const QString& folder);
// The chooser's caption for a game.
QString browseCaption(Game game);

// The slider position a line 5 of "vyrn.ini" gives: the number rounded and brought
// into 1..5; an empty line counts as 2, as it does for the scan.
int sliderPositionOf(const QString& line5);

// Fills the values from the registry and "vyrn.ini" (lines 1 to 5) and the buddy grid
// from "buddies.ini". Lines missing from the file leave what their values held. Returns
// the values as the file has them, before any detection; nothing when there is no file.
std::optional<SettingsValues> loadSettings(SettingsValues& values, AppConfig& config, FlexGrid& buddyGrid);

// Writes "servers.ini", "vyrn.ini" and "buddies.ini" from the dialog (favourites without
// an address are not stored); "vyrn.ini" only when the values differ from the file's
// (stored). A file that would not change is not written. Returns the writes that failed
// (their old files stay).
QList<SaveResult> saveSettings(const SettingsValues& values, const FlexGrid& serverGrid,
                               const FlexGrid& buddyGrid, const AppConfig& config,
                               const std::optional<SettingsValues>& stored = std::nullopt);
