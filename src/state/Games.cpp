#include "state/Games.h"

#include <QDir>
#include <QFileInfo>

#include "platform/CaseInsensitivePath.h"
#include "platform/WineRegistry.h"

namespace {
const QString kInstalledApps = QStringLiteral("Software\\Unreal Technology\\Installed Apps\\");

const GameInfo kTable[] = {
    {Game::UT,
     "UT",
     "UT",
     "Unreal Tournament",
     &AppConfig::utPath,
     "UnrealTournament.exe",
     {"System64/ut-bin-amd64", "System/ut-bin-x86", "System/ut-bin"},
     kInstalledApps + "UnrealTournament",
     "UnrealTournament.ini",
     "User.ini",
     "",
     {".utpg/System", ".loki/ut/System"},
     {"~/.local/share/OldUnreal/UnrealTournament", "/usr/local/games/ut", "/opt/ut"},
     13240},
    {Game::UT2003,
     "UT2",
     "UT2003",
     "Unreal Tournament 2003",
     &AppConfig::ut2003Path,
     "UT2003.exe",
     {"System/ut2003-bin"},
     kInstalledApps + "UT2003",
     "UT2003.ini",
     "User.ini",
     "",
     {".ut2003/System"},
     {"/usr/local/games/ut2003", "/opt/ut2003"},
     0},
    {Game::UT2004,
     "UT3",
     "UT2004",
     "Unreal Tournament 2004",
     &AppConfig::ut2004Path,
     "UT2004.exe",
     {"System/ut2004-bin-linux-amd64", "System/ut2004-bin"},
     kInstalledApps + "UT2004",
     "UT2004.ini",
     "User.ini",
     "../ScreenShots",
     {".ut2004/System"},
     {"/usr/local/games/ut2004", "/opt/ut2004"},
     13230},
};

// "C:\..." as a settings file written on Windows holds it.
bool hasDriveLetter(const QString& path) {
    return path.size() >= 3 && path[0].isLetter() && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

QString onThisDisk(const QString& path) {
    if (!hasDriveLetter(path)) return path;
    const QString mapped = mapWindowsPathIntoPrefix(path, winePrefix());
    return mapped.isEmpty() ? path : mapped;
}
}  // namespace

const GameInfo& gameInfo(Game game) { return kTable[int(game)]; }

std::optional<Game> gameOfCode(const QString& code) {
    for (const GameInfo& g : kTable)
        if (code.compare(g.code, Qt::CaseInsensitive) == 0) return g.game;
    return std::nullopt;
}

std::optional<QString> existingExecutable(const QString& path) {
    const QString local = onThisDisk(path.trimmed());
    if (!QDir::isAbsolutePath(local)) return std::nullopt;
    const auto found = resolvePathIgnoringCase(local);
    if (!found || !QFileInfo(*found).isFile()) return std::nullopt;
    return found;
}

QString gameFolderOf(const QString& executablePath) {
    const QString local = onThisDisk(executablePath.trimmed());
    if (local.isEmpty() || !QDir::isAbsolutePath(local)) return QString();
    const QString folder = QFileInfo(QDir::cleanPath(local)).path();
    return resolvePathIgnoringCase(folder).value_or(folder);
}

bool isWindowsExecutable(const QString& executablePath) {
    return executablePath.trimmed().endsWith(QLatin1String(".exe"), Qt::CaseInsensitive);
}
