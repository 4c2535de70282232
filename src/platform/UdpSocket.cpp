#include "platform/UdpSocket.h"

#include <QHostAddress>
#include <QNetworkDatagram>

UdpSocket::UdpSocket(QObject* parent) : QObject(parent) {
    connect(&socket_, &QUdpSocket::readyRead, this, &UdpSocket::readPending);
}

bool UdpSocket::ensureBound() {
    if (isOpen()) return true;
    // Bound to IPv4 only, so source addresses come as plain dotted text, never "::ffff:".
    return socket_.bind(QHostAddress(QHostAddress::AnyIPv4), 0);
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

void UdpSocket::readPending() {
    while (socket_.hasPendingDatagrams()) {
        const QNetworkDatagram d = socket_.receiveDatagram();
        if (!d.isValid()) continue;
        bool ok = false;
        const quint32 v4 = d.senderAddress().toIPv4Address(&ok);
        const QString from = ok ? QHostAddress(v4).toString() : d.senderAddress().toString();
        if (receiver_) receiver_(d.data(), from, d.senderPort());
    }
}
