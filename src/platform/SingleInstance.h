#pragma once
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

// One VYRN per user. The first start holds a lock file and listens on a local socket
// beside it; a later start finds the lock taken and asks, through the socket, for the
// running VYRN's window.
class SingleInstance {
public:
    // `folder` holds the lock and the socket: the user's runtime folder by default.
    explicit SingleInstance(QString folder = defaultFolder());
    ~SingleInstance();

    // True when another VYRN already holds the lock; that VYRN has been asked to show its
    // window. False when this one took the lock (kept until it ends).
    bool anotherRunning();

    // Called in the running VYRN for every later start.
    std::function<void()> laterStart;

    static QString defaultFolder();

private:
    void listen();
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
};
