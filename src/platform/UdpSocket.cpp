#include "platform/UdpSocket.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <cstring>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <time.h>

#include "platform/MonotonicClock.h"


UdpSocket::UdpSocket(QObject* parent) : QObject(parent) {
    connect(&socket_, &QUdpSocket::readyRead, this, &UdpSocket::readPending);
}

bool UdpSocket::ensureBound() {
    if (isOpen()) return true;
    // Bound to IPv4 only, so source addresses come as plain dotted text, never "::ffff:".
    if (!socket_.bind(QHostAddress(QHostAddress::AnyIPv4), 0)) return false;
    // The system notes when each datagram came in from the first asking on.
    timespec unused{};
    ioctl(int(socket_.socketDescriptor()), SIOCGSTAMPNS, &unused);
    return true;
}

bool UdpSocket::send(const QString& host, int port, const QByteArray& bytes) {
    if (port < 1 || port > 65535) return false;
    QHostAddress address;
    if (!address.setAddress(host) || address.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    if (!ensureBound()) return false;
    return socket_.writeDatagram(bytes, address, quint16(port)) == bytes.size();
}

void UdpSocket::close() { socket_.close(); }

qint64 UdpSocket::lastArrivalNs() {
    const qint64 now = monotonicNs();
    timespec stamp{}, wall{};
    if (ioctl(int(socket_.socketDescriptor()), SIOCGSTAMPNS, &stamp) != 0) return now;
    clock_gettime(CLOCK_REALTIME, &wall);
    // The stamp is wall-clock time: carried over to the monotonic clock by its age.
    const qint64 ageNs = (qint64(wall.tv_sec) - stamp.tv_sec) * 1'000'000'000 + (wall.tv_nsec - stamp.tv_nsec);
    return ageNs >= 0 && ageNs < 60'000'000'000 ? now - ageNs : now;
}

void UdpSocket::readPending() {
    // A burst is read a part at a time: the socket reports itself readable again on the
    // next turn of the event loop, so other events get their turn in between.
    constexpr int kDatagramsPerTurn = 64;
    for (int n = 0; n < kDatagramsPerTurn && socket_.hasPendingDatagrams(); ++n) {
        const QNetworkDatagram d = socket_.receiveDatagram();
        if (!d.isValid()) continue;
        arrivalNs_ = lastArrivalNs();
        bool ok = false;
        const quint32 v4 = d.senderAddress().toIPv4Address(&ok);
        const QString from = ok ? QHostAddress(v4).toString() : d.senderAddress().toString();
        if (receiver_) receiver_(d.data(), from, d.senderPort());
    }
}
