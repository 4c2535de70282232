#include "platform/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

bool anotherInstanceRunning() {
    static QLockFile* lock = nullptr;
    if (lock) return false;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    auto* candidate = new QLockFile(QDir(folder).filePath(QStringLiteral("vyrn.lock")));
    candidate->setStaleLockTime(0);  // only a live process holds the lock
    if (!candidate->tryLock(0)) {
        delete candidate;
        return true;
    }
    lock = candidate;
    return false;
}
