#pragma once
#include <QString>
#include <QStringList>
#include <optional>

#include "state/AppConfig.h"

// The three games VYRN works with, as their installers and native ports lay them out.
// Every subsystem takes its facts about a game from this one table.

enum class Game { UT, UT2003, UT2004 };
inline constexpr Game kGames[] = {Game::UT, Game::UT2003, Game::UT2004};

struct GameInfo {
    Game game;
    QString code;                     // the tag in "servers.ini": "UT", "UT2", "UT3"
    QString name;                     // "UT", "UT2003", "UT2004"
    QString title;                    // "Unreal Tournament 2004"
    QString AppConfig::*configPath;   // the executable path in "vyrn.ini"
    QString windowsExecutable;        // in the game folder: "UT2004.exe"
    // The native ports' executables inside their install folder, 64-bit builds first.
    QStringList nativeExecutables;
    QString registryKey;              // HKEY_LOCAL_MACHINE key with the "Folder" value
    QString iniFile;                  // settings and favourites, in the game folder
    QString profileFile;              // the player's options, in the game folder
    QString screenshotFolder;         // relative to the game folder ("" = the game folder)
    // Where a native port keeps the player's copies of the ini and profile, relative to
    // the home folder, in the order they are looked at.
    QStringList preferenceFolders;
    // Where native ports are usually installed: "~/" is the home folder, other places
    // are absolute.
    QStringList nativeInstallFolders;
    int steamAppId;  // Steam's number of the game (its prefix is compatdata/<id>/pfx); 0 for none
};

const GameInfo& gameInfo(Game game);

// The game of a "servers.ini" code, in any letter case; nothing for any other text.
std::optional<Game> gameOfCode(const QString& code);

// The configured executable path of a game.
inline QString gamePathOf(const AppConfig& config, Game game) { return config.*gameInfo(game).configPath; }
inline QString& gamePathOf(AppConfig& config, Game game) { return config.*gameInfo(game).configPath; }

// A configured executable as it lies on disk: the path in its real letter case, a Windows
// path ("C:\UT2004\System\UT2004.exe") taken inside the Wine prefix. Nothing when no
// file is there.
std::optional<QString> existingExecutable(const QString& path);

// The game folder of an executable, whichever of the game's executables it is (Windows
// or native): the folder that holds it, in its real letter case as far as it exists,
// without a trailing separator. Empty for an empty or relative path.
QString gameFolderOf(const QString& executablePath);

// True for a Windows program (".exe" in any letter case), which runs through Wine.
bool isWindowsExecutable(const QString& executablePath);
