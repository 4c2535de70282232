#pragma once
#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <map>
#include <optional>

#include "platform/UdpSocket.h"
#include "query/NativeReplies.h"
#include "query/ReplyGathering.h"
#include "query/ServerStatus.h"

// What became of one query.
struct QueryOutcome {
    enum class Failure {
        None,        // answered: status holds the reply
        NoReply,     // no reply in time
        Incomplete,  // parts of a reply, never all of it, also when asked once more
        Unresolved,  // the host name has no IPv4 address
        BadAddress,  // no address or no usable port
        BadReply,    // a complete reply no decoder could read
        Busy,        // the same server is queried already under another name
    };
    QueryTarget target;
    QString resolvedAddress;  // the dotted address the queries went to
    Failure failure = Failure::NoReply;
    std::optional<ServerStatus> status;

    bool answered() const { return status.has_value(); }
};

// Queries game servers over one UDP socket, many at a time, each with its own pending
// state: its send time, probe rules and status datagrams, keyed by the address and
// port the reply comes from. Host names are resolved without blocking. Every query
// ends in one call of `finished`, with the decoded status or why there is none.
class ServerQuerier {
public:
    static constexpr int kMaxInFlight = 64;
    static constexpr int kDefaultTimeoutMs = 2000;
    static constexpr qsizetype kMaxProbeRules = 512;
    static constexpr int kStartsPerTurn = 32;
    static constexpr qsizetype kMaxNativePlayers = 256;

    ServerQuerier();
    ~ServerQuerier();
    ServerQuerier(const ServerQuerier&) = delete;
    ServerQuerier& operator=(const ServerQuerier&) = delete;

    std::function<void(const QueryOutcome&)> finished;

    // Wait for the UT2 probe's reply before "\status\" is sent (the reply ends it early).
    void setProbeWaitMs(int ms) { probeWaitMs_ = std::max(0, ms); }
    // Time after "\status\" is sent until the query counts as unanswered.
    void setTimeoutMs(int ms) { timeoutMs_ = std::max(1, ms); }

    // Finds the IPv4 address of a host name and calls done with it (nothing when the
    // name has none). The system's resolver unless replaced.
    using Resolver =
        std::function<void(const QString& name, std::function<void(std::optional<QString>)> done)>;
    void setResolver(Resolver resolver) { resolver_ = std::move(resolver); }

    // Queues one query, sent from the next turn of the event loop on; false when this
    // server is already queued or being queried.
    bool query(const QueryTarget& target);
    bool isBusy(const QueryTarget& target) const;
    // True once "\status\" went to this address and port and its reply is not in yet.
    bool awaitsStatusReply(const QString& address, int port) const;
    int inFlight() const { return inFlight_; }
    int queued() const { return int(queue_.size()); }
    bool idle() const { return inFlight_ == 0 && queue_.empty(); }

    // One received datagram, as the socket reports it, received now or at arrivedNs.
    void onDatagram(const QByteArray& bytes, const QString& fromAddress, int fromPort);
    void onDatagram(const QByteArray& bytes, const QString& fromAddress, int fromPort, qint64 arrivedNs);
    // Stops listening and drops every query without reporting it.
    void close();
    UdpSocket& socket() { return socket_; }

private:
    struct Pending {
        QueryTarget target;
        QString address;  // resolved, dotted
        quint64 id = 0;
        bool probe = false;
        bool statusSent = false;
        bool heard = false;  // some part of a status reply came in
        bool retried = false;
        quint64 droppedAtSend = 0;  // the socket's count of datagrams lost on arrival
        qint64 sentAtNs = 0;
        bool probeAnswered = false;
        QList<QPair<QString, QString>> probeRules;
        ReplyAssembly reply;
        // "\status\" stayed silent but the probe was answered: the server's own queries
        // for its information and players went out, and what came back so far.
        bool native = false;
        std::optional<NativeInfo> nativeInfo;
        qint64 nativePingNs = 0;
        QList<PlayerStatus> nativePlayers;
    };

    void scheduleStart();
    void startQueued();
    void begin(const QueryTarget& target);
    void launch(const QueryTarget& target, const QString& address);
    void sendStatus(const QString& key, quint64 id);
    void sendNative(const QString& key, quint64 id);
    void timeOut(const QString& key, quint64 id);
    // Probe waits and time-outs share one timer, set for the earliest of them.
    struct Deadline {
        bool probeWait = false;  // else the query's time-out
        QString key;
        quint64 id = 0;
    };
    void addDeadline(int afterMs, Deadline d);
    void onDeadlines();
    void armDeadlineTimer();
    void complete(const QString& key, const QByteArray& text, qint64 arrivedNs);
    void onNativeReply(const QString& key, NativeType type, const QByteArray& bytes, qint64 arrivedNs);
    void completeNative(const QString& key);
    static bool nativeWhole(const Pending& p);
    void finish(QueryOutcome outcome);

    UdpSocket socket_;
    QObject timers_;  // context of the single-shot timers; they die with the querier
    QTimer deadlineTimer_;
    std::multimap<qint64, Deadline> deadlines_;  // by monotonic time in ns; stale ones are skipped
    QHash<QString, Pending> pending_;            // by "address:port" of the status reply
    QSet<QString> busy_;                         // targets queued or in flight
    std::deque<QueryTarget> queue_;
    QHash<QString, QString> resolved_;  // host name -> dotted address
    Resolver resolver_;
    int inFlight_ = 0;
    quint64 nextId_ = 1;
    quint64 epoch_ = 0;
    bool startScheduled_ = false;
    bool starting_ = false;  // inside a start, where an ending query starts no other
    int probeWaitMs_ = 200;
    int timeoutMs_ = kDefaultTimeoutMs;
};
