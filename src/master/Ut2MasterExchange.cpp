#include "master/Ut2MasterExchange.h"

#include "query/ColourCodes.h"
#include "query/StatusDecoders.h"

namespace {
constexpr quint32 kUt2004Version = 3369;
constexpr quint32 kUt2003Version = 2225;
constexpr qsizetype kMaxChallenge = 64;
constexpr qsizetype kMaxAnswerShown = 40;
constexpr int kQueryPortOffset = 10;  // favourites keep a UT2 server's game port + 10
const QByteArray kLanguage("int");

// What the master said instead of "APPROVED", fit to show: printable ASCII, cut short.
QString shownAnswer(const QString& text) {
    QString out;
    for (const QChar c : text.left(kMaxAnswerShown))
        out += (c.unicode() >= 0x20 && c.unicode() < 0x7f) ? c : QLatin1Char('?');
    return out;
}

QByteArray clientAnswer(Game game, const CdKey& key, const QString& challenge) {
    const bool ut2004 = game == Game::UT2004;
    QByteArray body = ut2String(key.keyHash()) + ut2String(key.challengeHash(challenge.toLatin1())) +
                      ut2String(ut2004 ? "UT2K4CLIENT" : "CLIENT") +
                      ut2Dword(ut2004 ? kUt2004Version : kUt2003Version);
    body += char(0);  // the OS
    body += ut2String(kLanguage);
    // UT2004 adds its GPU device and vendor, CPU speed and CPU type; none is known here.
    if (ut2004) body += ut2Dword(0) + ut2Dword(0) + ut2Dword(0) + char(0);
    return ut2Packet(body);
}

QByteArray listQuery(const QList<Ut2Filter>& filters) {
    QByteArray body(1, '\0');  // a server query, not the message of the day
    body += ut2CompactNumber(qint32(filters.size()));
    for (const Ut2Filter& f : filters) body += ut2String(f.field) + ut2String(f.value) + char(f.comparison);
    return ut2Packet(body);
}
}  // namespace

std::optional<ListedServer> decodeUt2Record(QByteArrayView body, Game game) {
    Ut2Reader r(body);
    const auto a = r.byte(), b = r.byte(), c = r.byte(), d = r.byte();
    const auto gamePort = r.word();
    const auto queryPort = r.word();
    if (!queryPort) return std::nullopt;
    const int port = int(*gamePort) + kQueryPortOffset;
    if (*gamePort == 0 || port > 65535) return std::nullopt;
    const auto address = parseServerAddress(
        QStringLiteral("%1.%2.%3.%4:%5").arg(*a).arg(*b).arg(*c).arg(*d).arg(port).toLatin1());
    if (!address) return std::nullopt;
    ListedServer s{*address, gameInfo(game).code};
    const auto name = r.string(), map = r.string(), type = r.string();
    const auto players = r.byte(), maximum = r.byte();
    if (!maximum) return s;  // the texts ran past the record: the address is still good
    s.hasDetails = true;
    s.hostName = stripColourCodes(*name);
    s.map = *map;
    s.gameType = ut2GameTypeDisplay(type->toUpper());  // as the server's own answer shows it
    s.numPlayers = *players;
    s.maxPlayers = *maximum;
    return s;
}

Ut2MasterExchange::Ut2MasterExchange(Game game, CdKey key, QList<Ut2Filter> filters)
    : game_(game), key_(std::move(key)), filters_(std::move(filters)) {}

MasterExchange::Step Ut2MasterExchange::feed(QByteArrayView bytes) {
    Step step;
    packets_.feed(bytes);
    while (state_ == State::Greeting || state_ == State::Listing) {
        const auto body = packets_.next();
        if (packets_.oversized()) {
            fail(challenged_ ? MasterFailure::Garbage : MasterFailure::NoChallenge);
            break;
        }
        if (!body) break;
        take(*body, step);
    }
    return step;
}

void Ut2MasterExchange::take(const QByteArray& body, Step& step) {
    Ut2Reader r(body);
    switch (stage_) {
        case Stage::Challenge: {
            const auto challenge = r.string();
            if (!challenge || challenge->isEmpty() || challenge->size() > kMaxChallenge)
                return fail(MasterFailure::NoChallenge);
            challenged_ = true;
            step.reply += clientAnswer(game_, key_, *challenge);
            stage_ = Stage::Review;
            return;
        }
        case Stage::Review: {
            const QString answer = r.string().value_or(QString());
            if (answer != QLatin1String("APPROVED"))
                return fail(MasterFailure::KeyRefused, shownAnswer(answer));
            if (game_ == Game::UT2004) {
                // The MD5 of the game's own files, which only the game knows; masters take zeros.
                step.reply += ut2Packet(ut2String(QByteArray(32, '0')));
                stage_ = Stage::Verify;
                return;
            }
            step.reply += listQuery(filters_);
            stage_ = Stage::Count;
            return;
        }
        case Stage::Verify: {
            const QString answer = r.string().value_or(QString());
            if (answer != QLatin1String("VERIFIED"))
                return fail(MasterFailure::KeyRefused, shownAnswer(answer));
            step.reply += listQuery(filters_);
            stage_ = Stage::Count;
            return;
        }
        case Stage::Count: {
            const auto count = r.dword();
            if (!count) return fail(MasterFailure::Garbage);
            announced_ = *count;
            stage_ = Stage::Records;
            state_ = State::Listing;
            if (announced_ == 0) fail(MasterFailure::NoServers);
            return;
        }
        case Stage::Records: {
            ++received_;
            if (auto s = decodeUt2Record(body, game_)) {
                step.servers << *s;
                ++servers_;
            } else {
                ++skipped_;
            }
            if (received_ < announced_) return;
            if (servers_ == 0) return fail(MasterFailure::NoServers);
            state_ = State::Complete;
            return;
        }
    }
}

void Ut2MasterExchange::closed() {
    if (state_ != State::Greeting && state_ != State::Listing) return;
    if (!challenged_) return fail(MasterFailure::NoChallenge);
    // A master that closes instead of answering the key has refused it.
    if (stage_ == Stage::Review || stage_ == Stage::Verify) return fail(MasterFailure::KeyRefused);
    fail(MasterFailure::ClosedEarly);
}
