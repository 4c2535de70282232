#include "screenshots/ScreenshotFolder.h"

#include <QDir>
#include <QFileInfo>

#include "state/AppConfig.h"

namespace {
QString withSeparator(const QString& folder) {
    if (folder.endsWith('/') || folder.endsWith('\\')) return folder;
    return folder + QDir::separator();
}

// The folder's child of that name in any letter case (the games' own spelling varies).
QString childIgnoringCase(const QString& folder, const QString& name) {
    const QDir dir(folder);
    if (dir.exists(name)) return dir.filePath(name);
    for (const QString& entry : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    return dir.filePath(name);
}
}  // namespace

QString screenshotPathMessage(ScreenshotGame game) {
    switch (game) {
        case ScreenshotGame::UT: return QStringLiteral("Please set your UT path in settings!");
        case ScreenshotGame::UT2003: return QStringLiteral("Please set your UT2003 path in settings!");
        case ScreenshotGame::UT2004: break;
    }
    return QStringLiteral("Please set your UT2004 path in settings!");
}

std::optional<QString> ScreenshotFolderFor(ScreenshotGame game, const AppConfig& config) {
    QString folder;
    switch (game) {
        case ScreenshotGame::UT:
            folder = QString(config.UtPath).remove(QLatin1String("unrealtournament.exe"), Qt::CaseInsensitive);
            break;
        case ScreenshotGame::UT2003:
            folder = QString(config.Ut2003Path).remove(QLatin1String("ut2003.exe"), Qt::CaseInsensitive);
            break;
        case ScreenshotGame::UT2004:
            folder = QString(config.Ut2004Path)
                         .remove(QLatin1String("system\\ut2004.exe"), Qt::CaseInsensitive)
                         .remove(QLatin1String("system/ut2004.exe"), Qt::CaseInsensitive);
            if (!folder.isEmpty()) folder = childIgnoringCase(folder, QStringLiteral("screenshots"));
            break;
    }
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return std::nullopt;
    return withSeparator(folder);
}
