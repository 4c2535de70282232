#include "settings/SettingsValues.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

#include "platform/CaseInsensitivePath.h"
#include "platform/FileIO.h"
#include "state/ConfigFile.h"
#include "state/FavouritesFiles.h"
#include "state/GameFiles.h"
#include "state/ProgramFolder.h"
#include "settings/GameDetection.h"
#include "settings/SettingsGrids.h"

namespace {
// The file in its real letter case when it exists, else the path as given.
QString existingSpelling(const QString& path) {
    return resolvePathIgnoringCase(path).value_or(path);
}

bool isFile(const QString& path) {
    const auto found = resolvePathIgnoringCase(path);
    return found && QFileInfo(*found).isFile();
}
}  // namespace

QString& configPath(AppConfig& config, Game game) { return gamePathOf(config, game); }

QString detectedGamePath(Game game) { return searchGame(game, QDir::homePath()).path; }

void detectGamePath(Game game, SettingsValues& values, AppConfig& config) {
    const QString path = detectedGamePath(game);
    if (path.isEmpty()) return;
    configPath(config, game) = path;
    values.path(game) = path;
}

QString browsedGamePath(Game game, const QString& folder) {
    const GameInfo& info = gameInfo(game);
    QStringList candidates;
    for (const QString& native : info.nativeExecutables) candidates.append(QFileInfo(native).fileName());
    candidates.append(info.nativeExecutables);  // the install folder itself was chosen
    candidates.append(info.windowsExecutable);
    candidates.append(QStringLiteral("System/") + info.windowsExecutable);
    for (const QString& candidate : candidates) {
        const QString path = pathJoin(folder, candidate);
        if (isFile(path)) return existingSpelling(path);
    }
    return pathJoin(folder, info.windowsExecutable.toLower());
}

QString browseCaption(Game game) {
    return QStringLiteral("Choose folder for ") +
           (game == Game::UT ? QStringLiteral("unrealtournament.exe") : gameInfo(game).windowsExecutable);
}

int sliderPositionOf(const QString& line5) {
    if (line5.trimmed().isEmpty()) return 2;
    const double position = std::nearbyint(leadingNumber(line5));
    if (position < kMinRefreshDelay) return kMinRefreshDelay;
    if (position > kMaxRefreshDelay) return kMaxRefreshDelay;
    return int(position);
}

std::optional<SettingsValues> loadSettings(SettingsValues& values, AppConfig& config, FlexGrid& buddyGrid) {
    for (Game g : kGames)
        if (values.path(g).isEmpty()) detectGamePath(g, values, config);
    // A line the file lacks leaves what its value held.
    AppConfig stored = config;
    stored.afterLaunch = values.exitAfterLaunch ? QStringLiteral("1") : QStringLiteral("2");
    stored.refreshDelay = QString::number(values.refreshDelay);
    stored.buddyAlerts.clear();
    stored.buddyHistory.clear();
    const GetPathsResult read = readConfigFile(stored).result;
    std::optional<SettingsValues> asStored;
    if (read == GetPathsResult::Read || read == GetPathsResult::OldFormat) {
        for (Game g : kGames) configPath(config, g) = configPath(stored, g);
        values.exitAfterLaunch = stored.afterLaunch == QLatin1String("1");
        values.refreshDelay = sliderPositionOf(stored.refreshDelay);
        values.buddyAlerts = buddyAlertsOn(stored);
        values.buddyHistory = buddyHistoryOn(stored);
        for (Game g : kGames) values.path(g) = configPath(config, g);
        asStored = values;
        for (Game g : kGames)
            if (values.path(g).isEmpty()) detectGamePath(g, values, config);
    }
    loadBuddyGrid(buddyGrid);
    return asStored;
}

QList<SaveResult> saveSettings(const SettingsValues& values, const FlexGrid& serverGrid,
                               const FlexGrid& buddyGrid, const AppConfig& config,
                               const std::optional<SettingsValues>& stored) {
    QList<FavouriteLine> favourites;
    for (int i = 1; i < serverGrid.rowCount(); ++i)
        favourites.append({serverGrid.cellText(i, 1), serverGrid.cellText(i, 2), serverGrid.cellText(i, 3),
                           serverGrid.cellText(i, kRestColumn)});

    AppConfig written = config;
    for (Game g : kGames) configPath(written, g) = values.path(g);
    written.afterLaunch = values.exitAfterLaunch ? QStringLiteral("1") : QStringLiteral("2");
    written.refreshDelay = ' ' + QString::number(values.refreshDelay) + ' ';
    written.buddyAlerts = values.buddyAlerts ? QStringLiteral("1") : QStringLiteral("0");
    written.buddyHistory = values.buddyHistory ? QStringLiteral("1") : QString();  // off: no tenth line

    QStringList names;
    for (int i = 1; i < buddyGrid.rowCount(); ++i) names.append(buddyGrid.cellText(i, 0));

    QList<SaveResult> failed;
    const SaveResult configSaved =
        stored && *stored == values ? SaveResult{} : writeConfigFile(written, QString());
    for (const SaveResult& r : {writeFavourites(favourites), configSaved, writeBuddies(names)})
        if (!r) failed.append(r);
    return failed;
}
