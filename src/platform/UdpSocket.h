#pragma once
#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

// One UDP socket for the server queries: sends a byte string as one datagram to a
// dotted IPv4 address and port, and reports every datagram received with its bytes
// and its source address (dotted IPv4 text) and port. The local port is the system's.
class UdpSocket : public QObject {
    Q_OBJECT
public:
    using Receiver = std::function<void(const QByteArray& bytes, const QString& fromAddress, int fromPort)>;
    explicit UdpSocket(QObject* parent = nullptr);
    ~UdpSocket() override;

    void setReceiver(Receiver receiver) { receiver_ = std::move(receiver); }
    // False when the address or port is unusable or the system refused the datagram.
    bool send(const QString& host, int port, const QByteArray& bytes);
    // Opens the socket if it is not open yet; false when the system refused. A send opens
    // it too, but a round trip is timed from after the opening.
    bool open() { return ensureBound(); }
    // Stops receiving; a later send opens the socket again.
    void close();
    bool isOpen() const { return fd_ >= 0; }
    quint16 localPort() const;
    // While the receiver runs: when the system received that datagram, on the clock of
    // monotonicNs(), so a busy event loop does not lengthen a measured round trip.
    qint64 arrivalNs() const { return arrivalNs_; }
    // Datagrams the system dropped because its buffer was full, as far as the datagrams
    // read so far tell: a rise means some reply was lost on arrival.
    quint64 dropped() const { return dropped_; }

private:
    bool ensureBound();
    void readPending();
    void drainSystemBuffer(int most);
    // The datagram's arrival on the monotonic clock; notes the system's drop count too.
    qint64 readControl(const struct msghdr& msg);
    void deliverSome();

    struct Datagram {
        QByteArray bytes;
        QString from;
        int port = 0;
        qint64 arrivalNs = 0;
    };

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<char> buffer_;  // one datagram of any size
    Receiver receiver_;
    qint64 arrivalNs_ = 0;
    quint64 dropped_ = 0;
    std::deque<Datagram> queue_;  // read from the system, not yet handed to the receiver
    bool deliverQueued_ = false;
};
