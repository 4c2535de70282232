#include "platform/UdpSocket.h"

#include <QTimer>
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include "platform/HostAddress.h"
#include "platform/MonotonicClock.h"

namespace {
// The system's receive stamp (wall-clock time) carried over to the monotonic clock by
// its age; now when there is none or it is implausible.
qint64 monotonicArrival(const timespec& stamp) {
    const qint64 now = monotonicNs();
    timespec wall{};
    clock_gettime(CLOCK_REALTIME, &wall);
    const qint64 ageNs =
        (qint64(wall.tv_sec) - stamp.tv_sec) * 1'000'000'000 + (wall.tv_nsec - stamp.tv_nsec);
    return ageNs >= 0 && ageNs < 60'000'000'000 ? now - ageNs : now;
}
}  // namespace

UdpSocket::UdpSocket(QObject* parent) : QObject(parent) {}

UdpSocket::~UdpSocket() {
    notifier_.reset();
    if (fd_ >= 0) ::close(fd_);
}

bool UdpSocket::ensureBound() {
    if (isOpen()) return true;
    // IPv4 only, so source addresses come as plain dotted text, never "::ffff:".
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
        ::close(fd);
        return false;
    }
    // Every datagram carries the time the system received it.
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    // ... and the number of datagrams the system dropped for want of room so far.
    setsockopt(fd, SOL_SOCKET, SO_RXQ_OVFL, &on, sizeof on);
    // Room for a burst: 64 queries in flight whose replies come in several datagrams
    // overflow the system's usual 208 KiB, and the overflow is lost without a word. The
    // system caps the request at its own maximum; the forced size needs privileges.
    const int wanted = 4 << 20;
    if (setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &wanted, sizeof wanted) != 0)
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &wanted, sizeof wanted);
    fd_ = fd;
    buffer_.resize(65536);
    notifier_ = std::make_unique<QSocketNotifier>(qintptr(fd_), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &UdpSocket::readPending);
    return true;
}

bool UdpSocket::send(const QString& host, int port, const QByteArray& bytes) {
    if (port < 1 || port > 65535) return false;
    const HostAddress address = parseHostAddress(host);
    if (address.kind != HostAddress::Kind::Ipv4) return false;
    if (!ensureBound()) return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(quint16(port));
    to.sin_addr.s_addr = htonl(address.ipv4);
    const ssize_t sent = ::sendto(fd_, bytes.constData(), size_t(bytes.size()), MSG_DONTWAIT,
                                  reinterpret_cast<const sockaddr*>(&to), sizeof to);
    return sent == bytes.size();
}

void UdpSocket::close() {
    // The receiver may close the socket while its notifier reports it.
    if (notifier_) {
        notifier_->setEnabled(false);
        notifier_.release()->deleteLater();
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    queue_.clear();
}

quint16 UdpSocket::localPort() const {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (fd_ < 0 || getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &size) != 0) return 0;
    return ntohs(local.sin_port);
}

qint64 UdpSocket::readControl(const msghdr& msg) {
    qint64 arrival = 0;
    for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(const_cast<msghdr*>(&msg), c)) {
        if (c->cmsg_level != SOL_SOCKET) continue;
        if (c->cmsg_type == SCM_TIMESTAMPNS) {
            timespec stamp{};
            std::memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
            arrival = monotonicArrival(stamp);
        } else if (c->cmsg_type == SO_RXQ_OVFL) {
            quint32 count = 0;
            std::memcpy(&count, CMSG_DATA(c), sizeof count);
            dropped_ = std::max(dropped_, quint64(count));
        }
    }
    return arrival ? arrival : monotonicNs();
}

void UdpSocket::readPending() {
    drainSystemBuffer(1024);  // about a millisecond
    deliverSome();
}

void UdpSocket::drainSystemBuffer(int most) {
    // Reading is cheap next to handling a reply, so the system's buffer is emptied in
    // large steps: it then has room for the rest of a burst while the replies are
    // handled. The queue is bounded; beyond it the system's buffer holds the rest.
    constexpr size_t kMaxQueued = 8192;
    for (int n = 0; n < most && fd_ >= 0 && queue_.size() < kMaxQueued; ++n) {
        sockaddr_in from{};
        iovec data{buffer_.data(), buffer_.size()};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec)) + CMSG_SPACE(sizeof(quint32)) + 64];
        msghdr msg{};
        msg.msg_name = &from;
        msg.msg_namelen = sizeof from;
        msg.msg_iov = &data;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        const ssize_t got = ::recvmsg(fd_, &msg, MSG_DONTWAIT);
        if (got < 0) {
            if (errno == EINTR) continue;
            return;  // nothing more now; errors from earlier sends are dropped with it
        }
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
        queue_.push_back({QByteArray(buffer_.data(), got), QString::fromLatin1(text), ntohs(from.sin_port),
                          readControl(msg)});
    }
}

void UdpSocket::deliverSome() {
    // At most so much time a turn, so other events get theirs in between; the system's
    // buffer is emptied again every few datagrams.
    constexpr qint64 kWorkPerTurnNs = 2'000'000;
    const qint64 start = monotonicNs();
    for (int n = 1; !queue_.empty() && monotonicNs() - start < kWorkPerTurnNs; ++n) {
        const Datagram d = std::move(queue_.front());
        queue_.pop_front();
        arrivalNs_ = d.arrivalNs;
        if (receiver_) receiver_(d.bytes, d.from, d.port);
        if (n % 16 == 0) drainSystemBuffer(64);
    }
    if (!queue_.empty() && !deliverQueued_) {
        deliverQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            deliverQueued_ = false;
            readPending();
        });
    }
}
