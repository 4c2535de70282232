#include "state/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <optional>

#include "platform/FileIO.h"
#include "state/AppConfig.h"

namespace {
std::optional<QString>& chosenFolder() {
    static std::optional<QString> folder;
    return folder;
}
}  // namespace

QString chooseFilesFolder(const QString& executableFolder, const QString& configHome) {
    if (fileExists(pathJoin(executableFolder, kConfigFileName))) return executableFolder;
    // An installed VYRN sits in a bin folder, which is no place for a user's files even
    // where root could write there.
    const bool installed = QFileInfo(executableFolder).fileName() == QLatin1String("bin");
    if (!installed && canCreateFilesIn(executableFolder)) return executableFolder;
    const QString folder = QDir(configHome).filePath(QStringLiteral("vyrn"));
    // A folder that cannot be made shows in the first failed save, which names it.
    QDir().mkpath(folder);
    return folder;
}

QString programFolder() {
    if (!chosenFolder())
        chosenFolder() = chooseFilesFolder(
            QCoreApplication::applicationDirPath(),
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    return *chosenFolder();
}

void setProgramFolder(const QString& folder) {
    if (folder.isEmpty()) chosenFolder().reset();
    else chosenFolder() = folder;
}

QString programFile(const QString& name) { return pathJoin(programFolder(), name); }

AppConfig& appConfig() {
    static AppConfig config;
    return config;
}
