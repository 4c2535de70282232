#pragma once
#include <QString>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

// Makes an existing folder read-only for this test process with a read-only bind mount
// in a mount namespace of its own (root ignores permissions, but not a read-only
// mount). Empty reason when it worked; otherwise why not, for GTEST_SKIP.
inline QString mountReadOnly(const QString& folder) {
    const QByteArray path = folder.toLocal8Bit();
    const auto failed = [](const char* step) {
        return QString("%1 not permitted (%2)").arg(step, strerror(errno));
    };
    if (unshare(CLONE_NEWNS) != 0) return failed("unshare(CLONE_NEWNS)");
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return failed("making mounts private");
    if (mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) != 0)
        return failed("bind mount");
    if (mount(nullptr, path.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
        return failed("read-only remount");
    return {};
}

// Undoes mountReadOnly, so the temporary folder can be removed.
inline void unmountReadOnly(const QString& folder) { umount2(folder.toLocal8Bit().constData(), MNT_DETACH); }
