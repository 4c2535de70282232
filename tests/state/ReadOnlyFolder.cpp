#include "ReadOnlyFolder.h"

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

QString mountReadOnly(const QString& folder) {
    const QByteArray path = folder.toLocal8Bit();
    auto failed = [](const char* step) {
        return QStringLiteral("%1 not permitted here (%2)").arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(errno)));
    };
    if (unshare(CLONE_NEWNS) != 0) return failed("unshare(CLONE_NEWNS)");
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return failed("making mounts private");
    if (mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) != 0) return failed("bind mount");
    if (mount(nullptr, path.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
        return failed("read-only remount");
    return {};
}

void unmountReadOnly(const QString& folder) { umount2(folder.toLocal8Bit().constData(), MNT_DETACH); }
