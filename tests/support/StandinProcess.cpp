#include "support/StandinProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

StandinProcess::StandinProcess(const QStringList& arguments, const QString& program) {
    QStringList args = arguments;
    if (!args.contains(QStringLiteral("--port"))) args << QStringLiteral("--port") << QStringLiteral("0");
    if (!args.contains(QStringLiteral("--lifetime-seconds")))
        args << QStringLiteral("--lifetime-seconds") << QStringLiteral("60");
    const QString what = program + ' ' + args.join(' ');
    process_.start(program, args);
    if (!process_.waitForStarted(5000)) {
        failure_ = what + ": " + process_.errorString();
        return;
    }
    while (process_.state() == QProcess::Running && !process_.canReadLine()) process_.waitForReadyRead(100);
    const QByteArray line = process_.readLine().trimmed();
    if (line.startsWith("ready ")) port_ = line.mid(6).toInt();
    if (port_ > 0) return;
    process_.waitForFinished(1000);
    failure_ = what + " did not start: " + QString::fromLocal8Bit(process_.readAllStandardError().trimmed());
}

StandinProcess::~StandinProcess() {
    process_.kill();
    process_.waitForFinished(3000);
}

::testing::AssertionResult StandinProcess::ready() const {
    if (port_ > 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << failure_.toStdString();
}

namespace {
int boundUdpSocket(int port) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(quint16(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return fd;
    if (fd >= 0) ::close(fd);
    return -1;
}

int localPort(int fd) {
    sockaddr_in a{};
    socklen_t size = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
    return ntohs(a.sin_port);
}
}  // namespace

SilentPorts::SilentPorts(int count) {
    // The system picks the first; the others follow it, or it picks again.
    for (int attempt = 0; attempt < 100 && int(sockets_.size()) < count; ++attempt) {
        for (const int fd : sockets_) ::close(fd);
        sockets_.clear();
        const int fd = boundUdpSocket(0);
        if (fd < 0) break;
        sockets_.push_back(fd);
        first_ = localPort(fd);
        for (int i = 1; i < count && first_ + i <= 65535; ++i) {
            const int next = boundUdpSocket(first_ + i);
            if (next < 0) break;
            sockets_.push_back(next);
        }
    }
    EXPECT_EQ(int(sockets_.size()), count) << "no " << count << " free UDP ports in a row on 127.0.0.1";
}

SilentPorts::~SilentPorts() {
    for (const int fd : sockets_) ::close(fd);
}
