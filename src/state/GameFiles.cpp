#include "state/GameFiles.h"

#include <QDir>
#include <QFileInfo>

#include "platform/CaseInsensitivePath.h"

namespace {
std::optional<QString> existing(const QString& path, bool folder) {
    const auto found = resolvePathIgnoringCase(QDir::cleanPath(path));
    if (!found) return std::nullopt;
    const QFileInfo info(*found);
    if (folder ? !info.isDir() : !info.isFile()) return std::nullopt;
    return found;
}

// The player's preference folders of a native port, most likely first; none for a
// Windows install, which never reads them.
QStringList preferenceFoldersFor(Game game, const QString& executablePath) {
    QStringList folders;
    if (isWindowsExecutable(executablePath)) return folders;
    const QDir home = QDir::home();
    for (const QString& relative : gameInfo(game).preferenceFolders) folders.append(home.filePath(relative));
    return folders;
}
}  // namespace

std::optional<QString> gameFileOf(Game game, const QString& executablePath, const QString& fileName) {
    const QString folder = gameFolderOf(executablePath);
    if (folder.isEmpty()) return std::nullopt;
    for (const QString& preferences : preferenceFoldersFor(game, executablePath))
        if (auto found = existing(QDir(preferences).filePath(fileName), false)) return found;
    return existing(QDir(folder).filePath(fileName), false);
}

std::optional<QString> iniFileOf(Game game, const QString& executablePath) {
    return gameFileOf(game, executablePath, gameInfo(game).iniFile);
}

std::optional<QString> profileFileOf(Game game, const QString& executablePath) {
    return gameFileOf(game, executablePath, gameInfo(game).profileFile);
}

std::optional<QString> screenshotFolderOf(Game game, const QString& executablePath) {
    const QString folder = gameFolderOf(executablePath);
    if (folder.isEmpty()) return std::nullopt;
    const QString relative = gameInfo(game).screenshotFolder;
    for (const QString& preferences : preferenceFoldersFor(game, executablePath))
        if (auto found = existing(QDir(preferences).filePath(relative), true)) return found;
    return existing(QDir(folder).filePath(relative), true);
}

std::optional<QString> findNativeInstall(Game game, const QString& home, const QString& systemRoot) {
    const GameInfo& info = gameInfo(game);
    for (const QString& place : info.nativeInstallFolders) {
        const QString install = place.startsWith(QLatin1String("~/")) ? QDir(home).filePath(place.mid(2))
                                                                       : systemRoot + place;
        for (const QString& executable : info.nativeExecutables)
            if (auto found = existing(QDir(install).filePath(executable), false)) return found;
    }
    return std::nullopt;
}
