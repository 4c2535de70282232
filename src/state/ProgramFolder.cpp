#include "state/ProgramFolder.h"

#include <QCoreApplication>

#include "platform/FileIO.h"
#include "state/AppConfig.h"

namespace {
QString& folderOverride() {
    static QString folder;
    return folder;
}
}  // namespace

QString programFolder() {
    if (!folderOverride().isEmpty()) return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder) { folderOverride() = folder; }

QString programFile(const QString& name) { return pathJoin(programFolder(), name); }

AppConfig& appConfig() {
    static AppConfig config;
    return config;
}
