#include "master/MasterClient.h"

#include "master/GameSpyExchange.h"
#include "master/Ut2MasterExchange.h"

namespace {
// About 200 entries: what one turn of the event loop takes in (each is queried at once), so
// a long list never holds up the window.
constexpr qint64 kReadChunk = 4 * 1024;
}  // namespace

QString describeOutcome(const MasterOutcome& o) {
    const QString name = o.master.text() + QStringLiteral(": ");
    QString text;
    switch (o.failure) {
    case MasterFailure::None: text = QStringLiteral("%1 servers").arg(o.servers); break;
    case MasterFailure::HostNotFound: text = QStringLiteral("host not found"); break;
    case MasterFailure::Refused: text = QStringLiteral("refused the connection"); break;
    case MasterFailure::ConnectTimedOut: text = QStringLiteral("did not answer the connection"); break;
    case MasterFailure::NoChallenge: text = QStringLiteral("sent no challenge"); break;
    case MasterFailure::KeyRefused: text = QStringLiteral("refused the CD key"); break;
    case MasterFailure::NoServers: text = QStringLiteral("sent a list without servers"); break;
    case MasterFailure::ClosedEarly:
        text = QStringLiteral("closed the connection before the end of the list (%1 servers)").arg(o.servers);
        break;
    case MasterFailure::Garbage: text = QStringLiteral("sent something that is not a server list"); break;
    case MasterFailure::MasterError: text = QStringLiteral("reported an error"); break;
    case MasterFailure::TooManyServers:
        text = QStringLiteral("sent more than %1 servers; the rest were left out").arg(MasterClient::kMaxServers);
        break;
    case MasterFailure::TimedOut:
        text = QStringLiteral("stopped before the end of the list (%1 servers)").arg(o.servers);
        break;
    case MasterFailure::TooSlow:
        text = QStringLiteral("did not send its whole list within the %1 s allowed (%2 servers)")
                   .arg(o.totalLimitMs / 1000.0)
                   .arg(o.servers);
        break;
    case MasterFailure::NetworkError: text = QStringLiteral("network error"); break;
    }
    if (o.skipped > 0) text += QStringLiteral("; %1 unusable entries skipped").arg(o.skipped);
    if (!o.detail.isEmpty()) text += QStringLiteral(" (") + o.detail + QLatin1Char(')');
    return name + text;
}

MasterClient::MasterClient(QList<MasterAddress> masters, QByteArray gameName, Timeouts timeouts,
                           QObject* parent)
    : MasterClient(
          std::move(masters),
          [game = std::move(gameName)] { return std::make_unique<GameSpyExchange>(game); }, timeouts,
          parent) {}

MasterClient::MasterClient(QList<MasterAddress> masters, ExchangeMaker makeExchange, Timeouts timeouts,
                           QObject* parent)
    : QObject(parent),
      masters_(std::move(masters)),
      makeExchange_(std::move(makeExchange)),
      timeouts_(timeouts) {
    silence_.setSingleShot(true);
    total_.setSingleShot(true);
    connect(&silence_, &QTimer::timeout, this, [this] {
        endMaster(!connected_                ? MasterFailure::ConnectTimedOut
                  : !exchange_->challenged() ? MasterFailure::NoChallenge
                                             : MasterFailure::TimedOut);
    });
    connect(&total_, &QTimer::timeout, this, [this] {
        endMaster(!connected_ ? MasterFailure::ConnectTimedOut : MasterFailure::TooSlow);
    });
}

void MasterClient::start() {
    if (running_) return;
    running_ = true;
    next_ = 0;
    tryNext();
}

void MasterClient::cancel() {
    if (!running_) return;
    running_ = false;
    silence_.stop();
    total_.stop();
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
        socket_->deleteLater();
        socket_ = nullptr;
    }
}

void MasterClient::tryNext() {
    if (next_ >= masters_.size()) {
        running_ = false;
        if (finished) finished(false);
        return;
    }
    outcome_ = MasterOutcome{};
    outcome_.master = masters_[next_++];
    connected_ = false;
    exchange_ = makeExchange_();
    socket_ = new QTcpSocket(this);
    // Bounded: a master that floods is read no faster than the list is parsed.
    socket_->setReadBufferSize(kReadChunk);
    connect(socket_, &QTcpSocket::connected, this, &MasterClient::onConnected);
    connect(socket_, &QTcpSocket::readyRead, this, &MasterClient::onReadyRead);
    connect(socket_, &QTcpSocket::errorOccurred, this, &MasterClient::onSocketError);
    silence_.start(timeouts_.connectMs);
    total_.start(timeouts_.totalMs);
    socket_->connectToHost(outcome_.master.host, outcome_.master.port);
}

void MasterClient::onConnected() {
    connected_ = true;
    silence_.start(timeouts_.silenceMs);
}

void MasterClient::onReadyRead() {
    readChunk();
    // The rest on the next turn; the socket does not signal again for bytes it holds.
    if (socket_ && running_ && socket_->bytesAvailable() > 0)
        QTimer::singleShot(0, socket_, [this] { onReadyRead(); });
}

void MasterClient::readChunk() {
    if (!socket_ || !running_ || socket_->bytesAvailable() <= 0) return;
    const QByteArray bytes = socket_->read(kReadChunk);
    silence_.start(timeouts_.silenceMs);
    takeStep(exchange_->feed(bytes));
}

void MasterClient::takeStep(MasterExchange::Step step) {
    if (!step.reply.isEmpty()) socket_->write(step.reply);
    QList<ListedServer> fresh;
    bool full = false;
    for (const ListedServer& s : step.servers) {
        if (seen_.size() >= kMaxServers) {
            full = true;
            break;
        }
        if (seen_.contains(s.server.key())) continue;
        seen_.insert(s.server.key());
        fresh << s;
    }
    outcome_.servers += int(fresh.size());
    outcome_.skipped = exchange_->skipped();
    if (!fresh.isEmpty() && serversArrived) serversArrived(fresh);
    if (!running_ || !socket_) return;  // the receiver cancelled
    if (full) return endMaster(MasterFailure::TooManyServers);
    switch (exchange_->state()) {
        case MasterExchange::State::Greeting:
        case MasterExchange::State::Listing: return;
        case MasterExchange::State::Complete: endMaster(MasterFailure::None); return;
        case MasterExchange::State::Failed: endMaster(exchange_->failure(), exchange_->detail()); return;
    }
}

void MasterClient::onSocketError(QAbstractSocket::SocketError error) {
    if (!socket_) return;
    if (error == QAbstractSocket::RemoteHostClosedError) {
        // Bytes may still wait in the buffer behind the close (no more than one chunk,
        // as the buffer is bounded).
        while (socket_ && running_ && socket_->bytesAvailable() > 0) readChunk();
        if (!socket_ || !running_) return;
        // The exchange ends here, with a whole list or a failure, and the next master may
        // start within this call.
        exchange_->closed();
        takeStep({});
        return;
    }
    if (error == QAbstractSocket::HostNotFoundError) endMaster(MasterFailure::HostNotFound);
    else if (error == QAbstractSocket::ConnectionRefusedError) endMaster(MasterFailure::Refused);
    else endMaster(MasterFailure::NetworkError, socket_->errorString());
}

void MasterClient::endMaster(MasterFailure failure, const QString& detail) {
    if (!socket_) return;
    silence_.stop();
    total_.stop();
    socket_->disconnect(this);
    socket_->abort();
    socket_->deleteLater();
    socket_ = nullptr;
    outcome_.failure = failure;
    outcome_.detail = detail;
    outcome_.skipped = exchange_ ? exchange_->skipped() : 0;
    outcome_.totalLimitMs = timeouts_.totalMs;
    if (masterDone) masterDone(outcome_);
    if (!running_) return;
    if (failure == MasterFailure::None || failure == MasterFailure::TooManyServers) {
        running_ = false;
        if (finished) finished(failure == MasterFailure::None);
        return;
    }
    tryNext();
}

MasterClient::ExchangeMaker masterExchangeFor(Game game, const std::optional<CdKey>& key) {
    if (game == Game::UT) return [] { return std::make_unique<GameSpyExchange>("ut"); };
    Q_ASSERT(key);
    return [game, key = *key] { return std::make_unique<Ut2MasterExchange>(game, key); };
}
