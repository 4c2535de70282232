#include "query/ServerQuerier.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QTimer>

#include "platform/HostAddress.h"
#include "platform/MonotonicClock.h"
#include "query/StatusDecoders.h"

namespace {
const QByteArray kUt2Probe("\x79\x00\x00\x00\x01", 5);
const QByteArray kStatusQuery("\\status\\");

QString keyOf(const QString& address, int port) { return address + QLatin1Char(':') + QString::number(port); }
QString targetKey(const QueryTarget& t) { return keyOf(t.address, t.port); }

bool wantsProbe(const QString& game) { return game == QLatin1String("UT2") || game == QLatin1String("UT3"); }
}  // namespace

ServerQuerier::ServerQuerier() {
    resolver_ = [this](const QString& name, std::function<void(std::optional<QString>)> done) {
        QHostInfo::lookupHost(name, &timers_, [done = std::move(done)](const QHostInfo& info) {
            for (const QHostAddress& a : info.addresses())
                if (a.protocol() == QAbstractSocket::IPv4Protocol) return done(a.toString());
            done(std::nullopt);
        });
    };
    deadlineTimer_.setSingleShot(true);
    deadlineTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadlineTimer_, &QTimer::timeout, &timers_, [this] { onDeadlines(); });
    socket_.setReceiver([this](const QByteArray& b, const QString& host, int port) {
        onDatagram(b, host, port, socket_.arrivalNs());
    });
}

ServerQuerier::~ServerQuerier() { finished = nullptr; }

bool ServerQuerier::query(const QueryTarget& target) {
    const QString key = targetKey(target);
    if (busy_.contains(key)) return false;
    busy_.insert(key);
    queue_.push_back(target);
    scheduleStart();
    return true;
}

bool ServerQuerier::isBusy(const QueryTarget& target) const { return busy_.contains(targetKey(target)); }

bool ServerQuerier::awaitsStatusReply(const QString& address, int port) const {
    const auto it = pending_.constFind(keyOf(address, port));
    return it != pending_.cend() && it->statusSent;
}

void ServerQuerier::scheduleStart() {
    if (startScheduled_ || queue_.empty()) return;
    startScheduled_ = true;
    QTimer::singleShot(0, &timers_, [this] {
        startScheduled_ = false;
        startQueued();
    });
}

void ServerQuerier::startQueued() {
    // A few at a time, so asking a long list never holds the event loop for long. A query
    // that ends at once inside begin() frees its place for this same loop.
    starting_ = true;
    for (int started = 0; started < kStartsPerTurn && inFlight_ < kMaxInFlight && !queue_.empty();
         ++started) {
        const QueryTarget t = queue_.front();
        queue_.pop_front();
        ++inFlight_;
        begin(t);
    }
    starting_ = false;
    if (inFlight_ < kMaxInFlight) scheduleStart();
}

void ServerQuerier::begin(const QueryTarget& t) {
    if (t.port < 1 || t.port > 65535) return finish({t, {}, QueryOutcome::Failure::BadAddress, {}});
    const HostAddress written = parseHostAddress(t.address);
    if (written.kind == HostAddress::Kind::Ipv4) return launch(t, written.text);
    if (written.kind != HostAddress::Kind::HostName)
        return finish({t, {}, QueryOutcome::Failure::BadAddress, {}});
    if (const auto it = resolved_.constFind(t.address.toLower()); it != resolved_.cend())
        return launch(t, *it);
    resolver_(t.address, [this, t, epoch = epoch_](std::optional<QString> address) {
        if (epoch != epoch_) return;  // closed meanwhile
        if (!address) return finish({t, {}, QueryOutcome::Failure::Unresolved, {}});
        resolved_.insert(t.address.toLower(), *address);
        launch(t, *address);
    });
}

void ServerQuerier::launch(const QueryTarget& t, const QString& address) {
    const QString key = keyOf(address, t.port);
    if (pending_.contains(key)) return finish({t, address, QueryOutcome::Failure::Busy, {}});
    Pending& p = pending_[key];
    p.target = t;
    p.address = address;
    p.id = nextId_++;
    p.probe = wantsProbe(t.game) && t.port > 9;
    if (p.probe && socket_.send(address, t.port - 9, kUt2Probe)) {
        if (t.nativeFirst) return sendNative(key, p.id);
        // The status query follows the probe's reply, or the end of the wait.
        addDeadline(probeWaitMs_, {true, key, p.id});
        return;
    }
    sendStatus(key, p.id);
}

void ServerQuerier::sendNative(const QString& key, quint64 id) {
    const auto it = pending_.find(key);
    if (it == pending_.end() || it->id != id) return;
    it->native = true;
    socket_.open();
    it->sentAtNs = monotonicNs();
    socket_.send(it->address, it->target.port - 9, nativeQuery(NativeType::Info));
    socket_.send(it->address, it->target.port - 9, nativeQuery(NativeType::Players));
    addDeadline(timeoutMs_, {false, key, id});
}

void ServerQuerier::sendStatus(const QString& key, quint64 id) {
    const auto it = pending_.find(key);
    if (it == pending_.end() || it->id != id || it->statusSent) return;
    it->statusSent = true;
    // The socket is opened before the clock is read, so the first server's ping holds
    // neither the opening nor a wait after the send.
    socket_.open();
    it->droppedAtSend = socket_.dropped();
    it->sentAtNs = monotonicNs();
    socket_.send(it->address, it->target.port, kStatusQuery);  // a refused send runs out like a lost one
    addDeadline(timeoutMs_, {false, key, id});
}

void ServerQuerier::addDeadline(int afterMs, Deadline d) {
    const qint64 at = monotonicNs() + qint64(afterMs) * 1'000'000;
    const bool earliest = deadlines_.empty() || at < deadlines_.begin()->first;
    deadlines_.emplace(at, std::move(d));
    if (earliest) armDeadlineTimer();
}

void ServerQuerier::armDeadlineTimer() {
    if (deadlines_.empty()) return deadlineTimer_.stop();
    const qint64 waitNs = deadlines_.begin()->first - monotonicNs();
    deadlineTimer_.start(int(std::max<qint64>(0, (waitNs + 999'999) / 1'000'000)));
}

void ServerQuerier::onDeadlines() {
    // Handlers may add deadlines; only those due now run in this turn.
    const qint64 now = monotonicNs();
    while (!deadlines_.empty() && deadlines_.begin()->first <= now) {
        const Deadline d = std::move(deadlines_.begin()->second);
        deadlines_.erase(deadlines_.begin());
        if (d.probeWait) sendStatus(d.key, d.id);
        else timeOut(d.key, d.id);
    }
    armDeadlineTimer();
}

void ServerQuerier::timeOut(const QString& key, quint64 id) {
    const auto it = pending_.find(key);
    if (it == pending_.end() || it->id != id) return;
    if (it->native) {
        if (it->nativeInfo) return completeNative(key);
        QueryOutcome outcome{it->target, it->address, QueryOutcome::Failure::NoReply, {}};
        pending_.erase(it);
        return finish(std::move(outcome));
    }
    if (!it->retried && (it->heard || socket_.dropped() > it->droppedAtSend)) {
        // The server answered in part, or replies were dropped on arrival meanwhile (UDP
        // loses datagrams under load): ask once more, timing the ping from the new question.
        // A silent server on a quiet socket is not asked again.
        it->retried = true;
        it->droppedAtSend = socket_.dropped();
        it->sentAtNs = monotonicNs();
        socket_.send(it->address, it->target.port, kStatusQuery);
        return addDeadline(timeoutMs_, {false, key, id});
    }
    // The server answers its own protocol but not "\status\" (switched off on many servers
    // a UT2 master lists): ask it there for its information and players.
    if (!it->heard && it->probeAnswered) return sendNative(key, id);
    QueryOutcome outcome{it->target,
                         it->address,
                         it->heard ? QueryOutcome::Failure::Incomplete : QueryOutcome::Failure::NoReply,
                         {}};
    pending_.erase(it);
    finish(std::move(outcome));
}

void ServerQuerier::onDatagram(const QByteArray& bytes, const QString& fromAddress, int fromPort) {
    onDatagram(bytes, fromAddress, fromPort, monotonicNs());
}

void ServerQuerier::onDatagram(const QByteArray& bytes, const QString& fromAddress, int fromPort,
                               qint64 arrivedNs) {
    if (const auto type = nativeReplyType(bytes); type && type != NativeType::Rules) {
        // Answers to the native queries come from the game's port + 1, nine below the query port.
        const QString key = keyOf(fromAddress, fromPort + 9);
        const auto it = pending_.constFind(key);
        if (it != pending_.cend() && it->native) onNativeReply(key, *type, bytes, arrivedNs);
        return;
    }
    if (isProbeDatagram(bytes)) {
        // The probe's reply comes from the game's port, nine below the query port.
        const QString key = keyOf(fromAddress, fromPort + 9);
        const auto it = pending_.find(key);
        if (it == pending_.end() || !it->probe) return;
        it->probeAnswered = true;
        const auto rules = readProbeRules(bytes);
        if (it->probeRules.size() + rules.size() <= kMaxProbeRules) it->probeRules += rules;
        if (it->native) {
            if (nativeWhole(*it)) completeNative(key);
        } else if (!it->statusSent) {
            sendStatus(key, it->id);
        }
        return;
    }
    const QString key = keyOf(fromAddress, fromPort);
    const auto it = pending_.find(key);
    // Only a server being asked is listened to, and only after it was asked.
    if (it == pending_.end() || !it->statusSent) return;
    it->heard = true;
    if (const std::optional<QByteArray> text = it->reply.add(bytes)) complete(key, *text, arrivedNs);
}

void ServerQuerier::complete(const QString& key, const QByteArray& text, qint64 arrivedNs) {
    const auto it = pending_.find(key);
    QueryOutcome outcome{it->target, it->address, QueryOutcome::Failure::None, {}};
    outcome.status = decodeStatusReply(text, it->probeRules);
    if (outcome.status) outcome.status->pingMs = std::max<qint64>(0, arrivedNs - it->sentAtNs) / 1000000;
    else outcome.failure = QueryOutcome::Failure::BadReply;
    pending_.erase(it);
    finish(std::move(outcome));
}

void ServerQuerier::onNativeReply(const QString& key, NativeType type, const QByteArray& bytes,
                                  qint64 arrivedNs) {
    const auto it = pending_.find(key);
    Pending& p = *it;
    if (type == NativeType::Info && !p.nativeInfo) {
        p.nativeInfo = readNativeInfo(bytes);
        p.nativePingNs = arrivedNs - p.sentAtNs;
    } else if (type == NativeType::Players && p.nativePlayers.size() < kMaxNativePlayers) {
        p.nativePlayers += readNativePlayers(bytes);
    }
    if (nativeWhole(p)) completeNative(key);
}

bool ServerQuerier::nativeWhole(const Pending& p) {
    // The players may come in several replies with no mark of the last: the reply is whole
    // once the rules are in and as many players listed as the information announced (or at
    // the time-out).
    return p.nativeInfo && p.probeAnswered && p.nativePlayers.size() >= p.nativeInfo->numPlayers;
}

void ServerQuerier::completeNative(const QString& key) {
    const auto it = pending_.find(key);
    QueryOutcome outcome{it->target, it->address, QueryOutcome::Failure::None, {}};
    outcome.status = nativeStatus(*it->nativeInfo, it->probeRules, it->nativePlayers);
    outcome.status->pingMs = std::max<qint64>(0, it->nativePingNs) / 1000000;
    pending_.erase(it);
    finish(std::move(outcome));
}

void ServerQuerier::finish(QueryOutcome outcome) {
    busy_.remove(targetKey(outcome.target));
    --inFlight_;
    if (finished) finished(outcome);
    // The freed place goes to the next query at once, so the full number stays in flight;
    // one reply starts at most one query, and the rest wait for the next turn.
    if (!starting_ && inFlight_ < kMaxInFlight && !queue_.empty()) {
        starting_ = true;
        const QueryTarget t = queue_.front();
        queue_.pop_front();
        ++inFlight_;
        begin(t);
        starting_ = false;
    }
    scheduleStart();
}

void ServerQuerier::close() {
    socket_.close();
    pending_.clear();
    busy_.clear();
    queue_.clear();
    inFlight_ = 0;
    deadlines_.clear();
    deadlineTimer_.stop();
    ++epoch_;  // timers and lookups still under way find nothing to do
}
