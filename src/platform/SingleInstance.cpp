#include "platform/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace {
constexpr int kAnswerMs = 1000;
const QByteArray kShowRequest = QByteArrayLiteral("show\n");
}  // namespace

QString SingleInstance::defaultFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

SingleInstance::SingleInstance(QString folder) : folder_(std::move(folder)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::anotherRunning() {
    if (lock_) return false;
    auto lock = std::make_unique<QLockFile>(QDir(folder_).filePath(QStringLiteral("vyrn.lock")));
    lock->setStaleLockTime(0);  // only a live process holds the lock
    if (lock->tryLock(0)) {
        lock_ = std::move(lock);
        listen();
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(QDir(folder_).filePath(QStringLiteral("vyrn.socket")));
    if (socket.waitForConnected(kAnswerMs)) {
        socket.write(kShowRequest);
        socket.waitForBytesWritten(kAnswerMs);
        socket.disconnectFromServer();
    }
    return true;
}

void SingleInstance::listen() {
    const QString name = QDir(folder_).filePath(QStringLiteral("vyrn.socket"));
    // We hold the lock, so a socket file left there belongs to a VYRN that crashed.
    QLocalServer::removeServer(name);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) return;  // later starts still find the lock; only the window stays put
    QObject::connect(server_.get(), &QLocalServer::newConnection, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            auto read = [this, socket] {
                if (socket->readAll().contains(kShowRequest) && laterStart) laterStart();
            };
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, read);
            if (socket->bytesAvailable() > 0) read();
        }
    });
}
