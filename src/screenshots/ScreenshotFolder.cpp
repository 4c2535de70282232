#include "screenshots/ScreenshotFolder.h"

#include <QDir>

#include "state/GameFiles.h"

QString screenshotPathMessage(Game game) {
    return QStringLiteral("Please set your ") + gameInfo(game).name + QStringLiteral(" path in settings!");
}

std::optional<QString> screenshotFolderFor(Game game, const AppConfig& config) {
    const std::optional<QString> folder = screenshotFolderOf(game, gamePathOf(config, game));
    if (!folder) return std::nullopt;
    return *folder + QDir::separator();
}
