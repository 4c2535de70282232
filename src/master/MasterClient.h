#pragma once
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTcpSocket>
#include <QTimer>
#include <functional>

#include "master/MasterList.h"
#include "master/MasterServers.h"

// Why a master gave no complete list.
enum class MasterFailure {
    None,
    HostNotFound,
    Refused,
    ConnectTimedOut,
    NoChallenge,     // closed, or sent something else, before its "\secure\" challenge
    ClosedEarly,     // closed before "\final\"
    Garbage,         // sent bytes that are no list
    MasterError,     // sent "\error\"
    TooManyServers,  // more servers than any master lists
    TimedOut,        // went silent
    TooSlow,         // took longer than the time allowed for a whole list
    NetworkError,
};

// The result of asking one master.
struct MasterOutcome {
    MasterAddress master;
    MasterFailure failure = MasterFailure::None;
    int servers = 0;    // new servers it added to the list
    int skipped = 0;    // entries that named no usable server
    QString detail;     // the master's own error text, or the system's
    int totalLimitMs = 0;  // the time it was allowed for the whole list
};

// How long one master may take.
struct MasterTimeouts {
    int connectMs = 5000;
    int silenceMs = 8000;   // no byte for this long
    int totalMs = 30000;    // from connect to "\final\"
};

// One line for the user: "master.333networks.com:28900: refused the connection".
QString describeOutcome(const MasterOutcome& outcome);

// Asks the masters in order for a game's server list ("\basic\\secure\X" challenge,
// validate answer, "\list\\gamename\G\final\") until one sends it whole. Servers are
// reported as they arrive, each once, also those of a master that failed part way.
class MasterClient : public QObject {
    Q_OBJECT
public:
    using Timeouts = MasterTimeouts;
    // No master lists more UT servers than this; a longer list is cut here.
    static constexpr int kMaxServers = 20000;

    MasterClient(QList<MasterAddress> masters, QByteArray gameName, Timeouts timeouts = {},
                 QObject* parent = nullptr);

    std::function<void(const QList<ServerAddress>&)> serversArrived;
    std::function<void(const MasterOutcome&)> masterDone;
    // After the last master tried; true when one of them sent its list whole.
    std::function<void(bool complete)> finished;

    void start();
    void cancel();
    bool running() const { return running_; }
    int serverCount() const { return int(seen_.size()); }

private:
    void tryNext();
    void onConnected();
    void onReadyRead();
    void readChunk();
    void onSocketError(QAbstractSocket::SocketError error);
    void readChallenge();
    void readList(QByteArrayView bytes);
    void endMaster(MasterFailure failure, const QString& detail = {});

    QList<MasterAddress> masters_;
    QByteArray gameName_;
    Timeouts timeouts_;
    int next_ = 0;
    bool running_ = false;

    QTcpSocket* socket_ = nullptr;
    QTimer silence_, total_;
    enum class Phase { Connecting, Challenge, List } phase_ = Phase::Connecting;
    QByteArray greeting_;
    MasterListReader reader_;
    MasterOutcome outcome_;
    QSet<quint64> seen_;
};
