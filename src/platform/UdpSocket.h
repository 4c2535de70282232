#pragma once
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUdpSocket>
#include <functional>

// One UDP socket for the server queries: sends a byte string as one datagram to a
// dotted IPv4 address and port, and reports every datagram received with its bytes
// and its source address (dotted IPv4 text) and port. The local port is the system's.
class UdpSocket : public QObject {
    Q_OBJECT
public:
    using Receiver = std::function<void(const QByteArray& bytes, const QString& fromAddress,
                                        int fromPort)>;
    explicit UdpSocket(QObject* parent = nullptr);

    void setReceiver(Receiver receiver) { receiver_ = std::move(receiver); }
    // False when the address or port is unusable or the system refused the datagram.
    bool send(const QString& host, int port, const QByteArray& bytes);
    // Stops receiving; a later send opens the socket again.
    void close();
    bool isOpen() const { return socket_.state() == QAbstractSocket::BoundState; }
    quint16 localPort() const { return socket_.localPort(); }
    // While the receiver runs: when the system received that datagram, on the clock of
    // monotonicNs(), so a busy event loop does not lengthen a measured round trip.
    qint64 arrivalNs() const { return arrivalNs_; }

private:
    bool ensureBound();
    void readPending();
    // When the system received the datagram just read; now when it cannot say.
    qint64 lastArrivalNs();

    QUdpSocket socket_;
    Receiver receiver_;
    qint64 arrivalNs_ = 0;
};
