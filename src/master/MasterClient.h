#pragma once
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <memory>

#include "master/CdKey.h"
#include "master/MasterExchange.h"
#include "master/MasterList.h"
#include "master/MasterServers.h"

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

// Asks the masters in order for a game's server list until one sends it whole, each over
// its own connection and in its own exchange (GameSpy's for UT, Epic's for UT2003 and
// UT2004). Servers are reported as they arrive, each once, also those of a master that
// failed part way.
class MasterClient : public QObject {
    Q_OBJECT
public:
    using Timeouts = MasterTimeouts;
    // No master lists more UT servers than this; a longer list is cut here.
    static constexpr int kMaxServers = 20000;

    using ExchangeMaker = std::function<std::unique_ptr<MasterExchange>()>;

    // The GameSpy list of a game ("ut").
    MasterClient(QList<MasterAddress> masters, QByteArray gameName, Timeouts timeouts = {},
                 QObject* parent = nullptr);
    // Any protocol: a fresh exchange for each master.
    MasterClient(QList<MasterAddress> masters, ExchangeMaker makeExchange, Timeouts timeouts = {},
                 QObject* parent = nullptr);

    std::function<void(const QList<ListedServer>&)> serversArrived;
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
    void takeStep(MasterExchange::Step step);
    void endMaster(MasterFailure failure, const QString& detail = {});

    QList<MasterAddress> masters_;
    ExchangeMaker makeExchange_;
    Timeouts timeouts_;
    int next_ = 0;
    bool running_ = false;

    QTcpSocket* socket_ = nullptr;
    QTimer silence_, total_;
    bool connected_ = false;
    std::unique_ptr<MasterExchange> exchange_;
    MasterOutcome outcome_;
    QSet<quint64> seen_;
};

// The exchange a game's masters speak: GameSpy's for UT, Epic's (with the player's CD
// key, which they need) for UT2003 and UT2004.
MasterClient::ExchangeMaker masterExchangeFor(Game game, const std::optional<CdKey>& key);
