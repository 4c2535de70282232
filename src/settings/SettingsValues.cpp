#include "settings/SettingsValues.h"

#include <QDir>
#include <cmath>

#include "platform/CaseInsensitivePath.h"
#include "platform/FileIO.h"
#include "platform/WineRegistry.h"
#include "state/ConfigFile.h"
#include "state/FavouritesFiles.h"
#include "state/ProgramFolder.h"

namespace {
struct GameNames {
    const char* registryKey;
    const char* installedExecutable;  // under the registry folder's "System"
    const char* browsedExecutable;
    const char* caption;
};

GameNames namesOf(Game game) {
    switch (game) {
        case Game::UT:
            return {"Software\\Unreal Technology\\Installed Apps\\UnrealTournament",
                    "UnrealTournament.exe", "unrealtournament.exe",
                    "Choose folder for unrealtournament.exe"};
        case Game::UT2003:
            return {"Software\\Unreal Technology\\Installed Apps\\UT2003", "UT2003.exe", "ut2003.exe",
                    "Choose folder for UT2003.exe"};
        case Game::UT2004:
            break;
    }
    return {"Software\\Unreal Technology\\Installed Apps\\UT2004", "UT2004.exe", "ut2004.exe",
            "Choose folder for UT2004.exe"};
}

// The file in its real letter case when it exists, else the path as given.
QString existingSpelling(const QString& path) {
    return resolvePathIgnoringCase(path).value_or(path);
}
}  // namespace

QString& configPath(AppConfig& config, Game game) {
    switch (game) {
        case Game::UT: return config.UtPath;
        case Game::UT2003: return config.Ut2003Path;
        case Game::UT2004: break;
    }
    return config.Ut2004Path;
}

QString detectedGamePath(Game game) {
    const GameNames names = namesOf(game);
    const QString windowsFolder = ReadRegistryString(
        RegistryRoot::LocalMachine, QLatin1String(names.registryKey), QStringLiteral("Folder"));
    if (windowsFolder.isEmpty()) return QString();
    const QString folder = mapWindowsPathIntoPrefix(windowsFolder, winePrefix());
    if (folder.isEmpty()) return QString();
    return existingSpelling(folder + QStringLiteral("/System/") + QLatin1String(names.installedExecutable));
}

void DetectGamePath(Game game, SettingsValues& values, AppConfig& config) {
    const QString path = detectedGamePath(game);
    if (path.isEmpty()) return;
    configPath(config, game) = path;
    values.path(game) = path;
}

QString browsedGamePath(Game game, const QString& folder) {
    return existingSpelling(pathJoin(folder, QLatin1String(namesOf(game).browsedExecutable)));
}

QString browseCaption(Game game) { return QLatin1String(namesOf(game).caption); }

int sliderPositionOf(const QString& line5) {
    if (line5.trimmed().isEmpty()) return 2;
    const double position = std::nearbyint(leadingNumber(line5));
    if (position < kMinRefreshDelay) return kMinRefreshDelay;
    if (position > kMaxRefreshDelay) return kMaxRefreshDelay;
    return int(position);
}

void LoadSettings(SettingsValues& values, AppConfig& config, FlexGrid& budList) {
    for (Game g : kGames)
        if (values.path(g).isEmpty()) DetectGamePath(g, values, config);
    // A line the file lacks leaves what its value held.
    AppConfig stored = config;
    stored.AfterLaunch = values.exitAfterLaunch ? QStringLiteral("1") : QStringLiteral("2");
    stored.RefreshDelay = QString::number(values.refreshDelay);
    stored.BuddyAlerts.clear();
    const GetPathsResult read = readConfigFile(stored).result;
    if (read == GetPathsResult::Read || read == GetPathsResult::OldFormat) {
        for (Game g : kGames) configPath(config, g) = configPath(stored, g);
        values.exitAfterLaunch = stored.AfterLaunch == QLatin1String("1");
        values.refreshDelay = sliderPositionOf(stored.RefreshDelay);
        values.buddyAlerts = buddyAlertsOn(stored);
        for (Game g : kGames) values.path(g) = configPath(config, g);
        for (Game g : kGames)
            if (values.path(g).isEmpty()) DetectGamePath(g, values, config);
    }
    loadBuddyGrid(budList);
}

QList<SaveResult> SaveSettings(const SettingsValues& values, const FlexGrid& serverGrid,
                               const FlexGrid& budList, const AppConfig& config) {
    QList<FavouriteLine> favourites;
    for (int i = 1; i < serverGrid.Rows(); ++i)
        favourites.append({serverGrid.TextMatrix(i, 1), serverGrid.TextMatrix(i, 2), serverGrid.TextMatrix(i, 3)});

    AppConfig written = config;
    for (Game g : kGames) configPath(written, g) = values.path(g);
    written.AfterLaunch = values.exitAfterLaunch ? QStringLiteral("1") : QStringLiteral("2");
    written.RefreshDelay = ' ' + QString::number(values.refreshDelay) + ' ';
    written.BuddyAlerts = values.buddyAlerts ? QStringLiteral("1") : QStringLiteral("0");

    QStringList names;
    for (int i = 1; i < budList.Rows(); ++i) names.append(budList.TextMatrix(i, 0));

    QList<SaveResult> failed;
    for (const SaveResult& r : {writeFavourites(favourites), writeConfigFile(written, QString()), writeBuddies(names)})
        if (!r) failed.append(r);
    return failed;
}
