#include "master/MasterClient.h"

#include "master/GameSpyValidate.h"

namespace {
constexpr qsizetype kMaxGreeting = 512;
// About 200 entries: what one turn of the event loop takes in (each is queried at once), so
// a long list never holds up the window.
constexpr qint64 kReadChunk = 4 * 1024;
const QByteArray kSecure("\\secure\\");
constexpr qsizetype kChallengeLength = 6;  // GameSpy's challenges are six letters
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
    : QObject(parent), masters_(std::move(masters)), gameName_(std::move(gameName)), timeouts_(timeouts) {
    silence_.setSingleShot(true);
    total_.setSingleShot(true);
    connect(&silence_, &QTimer::timeout, this, [this] {
        endMaster(phase_ == Phase::Connecting ? MasterFailure::ConnectTimedOut
                  : phase_ == Phase::Challenge ? MasterFailure::NoChallenge
                                               : MasterFailure::TimedOut);
    });
    connect(&total_, &QTimer::timeout, this, [this] {
        endMaster(phase_ == Phase::Connecting ? MasterFailure::ConnectTimedOut : MasterFailure::TooSlow);
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
    phase_ = Phase::Connecting;
    greeting_.clear();
    reader_ = MasterListReader{};
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
    phase_ = Phase::Challenge;
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
    if (phase_ == Phase::Challenge) {
        greeting_ += bytes;
        readChallenge();
    } else if (phase_ == Phase::List) {
        readList(bytes);
    }
}

void MasterClient::readChallenge() {
    const qsizetype at = greeting_.indexOf(kSecure);
    if (at < 0) {
        if (greeting_.size() > kMaxGreeting) endMaster(MasterFailure::NoChallenge);
        return;
    }
    const qsizetype from = at + kSecure.size();
    qsizetype end = greeting_.indexOf('\\', from);
    if (end < 0 || end - from > kChallengeLength) {
        if (greeting_.size() - from < kChallengeLength) return;  // the rest is on its way
        end = from + kChallengeLength;
    }
    const QByteArray challenge = greeting_.sliced(from, end - from);
    QByteArray rest = greeting_.sliced(end);
    greeting_.clear();
    // Some masters close the challenge with its own "\final\"; it does not end the list.
    if (rest.startsWith("\\final\\")) rest.remove(0, 7);
    socket_->write("\\gamename\\" + gameName_ + "\\location\\0\\validate\\" +
                   gameSpyValidate(challenge, gameSpyKey(gameName_)) + "\\final\\");
    socket_->write("\\list\\\\gamename\\" + gameName_ + "\\final\\");
    phase_ = Phase::List;
    if (!rest.isEmpty()) readList(rest);
}

void MasterClient::readList(QByteArrayView bytes) {
    QList<ServerAddress> fresh;
    for (const ServerAddress& s : reader_.feed(bytes)) {
        if (seen_.size() >= kMaxServers) {
            if (!fresh.isEmpty() && serversArrived) serversArrived(fresh);
            endMaster(MasterFailure::TooManyServers);
            return;
        }
        if (seen_.contains(s.key())) continue;
        seen_.insert(s.key());
        fresh << s;
    }
    outcome_.servers += int(fresh.size());
    outcome_.skipped = reader_.skipped();
    if (!fresh.isEmpty() && serversArrived) serversArrived(fresh);
    if (!running_) return;  // the receiver cancelled
    switch (reader_.state()) {
    case MasterListReader::State::Reading: return;
    case MasterListReader::State::Complete: endMaster(MasterFailure::None); return;
    case MasterListReader::State::Garbage: endMaster(MasterFailure::Garbage); return;
    case MasterListReader::State::MasterSaidError:
        endMaster(MasterFailure::MasterError, reader_.errorText());
        return;
    }
}

void MasterClient::onSocketError(QAbstractSocket::SocketError error) {
    if (!socket_) return;
    if (error == QAbstractSocket::RemoteHostClosedError) {
        // Bytes may still wait in the buffer behind the close (no more than one chunk,
        // as the buffer is bounded).
        while (socket_ && running_ && socket_->bytesAvailable() > 0) readChunk();
        if (!socket_ || !running_) return;
        if (phase_ == Phase::List) {
            reader_.finish();
            if (reader_.state() == MasterListReader::State::Complete) endMaster(MasterFailure::None);
            else endMaster(MasterFailure::ClosedEarly);
        } else {
            endMaster(MasterFailure::NoChallenge);
        }
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
    outcome_.skipped = reader_.skipped();
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
