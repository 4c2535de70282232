#pragma once
#include <QString>
#include <optional>

#include "screenshots/ScreenshotsEntry.h"
#include "state/Games.h"

// The game's screenshot folder from its executable path (ending with a separator), or
// nothing when the path is empty or the folder is missing.
std::optional<QString> screenshotFolderFor(Game game, const AppConfig& config);

// "Please set your UT path in settings!" and its UT2003 / UT2004 kin.
QString screenshotPathMessage(Game game);
