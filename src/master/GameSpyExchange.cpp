#include "master/GameSpyExchange.h"

#include "master/GameSpyValidate.h"

namespace {
constexpr qsizetype kMaxGreeting = 512;
const QByteArray kSecure("\\secure\\");
const QByteArray kFinal("\\final\\");
constexpr qsizetype kChallengeLength = 6;  // GameSpy's challenges are six letters
}  // namespace

GameSpyExchange::GameSpyExchange(QByteArray gameName) : gameName_(std::move(gameName)) {}

MasterExchange::Step GameSpyExchange::feed(QByteArrayView bytes) {
    Step step;
    if (state_ == State::Greeting) {
        greeting_ += bytes;
        readChallenge(step);
    } else if (state_ == State::Listing) {
        readList(bytes, step);
    }
    return step;
}

void GameSpyExchange::readChallenge(Step& step) {
    const qsizetype at = greeting_.indexOf(kSecure);
    if (at < 0) {
        if (greeting_.size() > kMaxGreeting) fail(MasterFailure::NoChallenge);
        return;
    }
    const qsizetype from = at + kSecure.size();
    qsizetype end = greeting_.indexOf('\\', from);
    if (end < 0 || end - from > kChallengeLength) {
        if (greeting_.size() - from < kChallengeLength) return;  // the rest is on its way
        end = from + kChallengeLength;
    }
    const QByteArray challenge = greeting_.sliced(from, end - from);
    const QByteArray rest = greeting_.sliced(end);
    greeting_.clear();
    challenged_ = true;
    step.reply = "\\gamename\\" + gameName_ + "\\location\\0\\validate\\" +
                 gameSpyValidate(challenge, gameSpyKey(gameName_)) + "\\final\\" + "\\list\\\\gamename\\" +
                 gameName_ + "\\final\\";
    state_ = State::Listing;
    if (!rest.isEmpty()) readList(rest, step);
}

void GameSpyExchange::readList(QByteArrayView bytes, Step& step) {
    if (!listStarted_) {
        // Some masters close the challenge with its own "\final\", in the same read or a
        // later one; it does not end the list.
        head_ += bytes;
        if (head_.size() < kFinal.size() && kFinal.startsWith(head_)) return;
        listStarted_ = true;
        const QByteArray all = head_.startsWith(kFinal) ? head_.sliced(kFinal.size()) : head_;
        head_.clear();
        if (!all.isEmpty()) readList(all, step);
        return;
    }
    for (const ServerAddress& s : reader_.feed(bytes)) step.servers << ListedServer{s};
    servers_ += int(step.servers.size());
    takeReaderState(servers_);
}

void GameSpyExchange::takeReaderState(int servers) {
    skipped_ = reader_.skipped();
    switch (reader_.state()) {
        case MasterListReader::State::Reading: return;
        case MasterListReader::State::Complete:
            if (servers == 0) fail(MasterFailure::NoServers);
            else state_ = State::Complete;
            return;
        case MasterListReader::State::Garbage: fail(MasterFailure::Garbage); return;
        case MasterListReader::State::MasterSaidError:
            fail(MasterFailure::MasterError, reader_.errorText());
            return;
    }
}

void GameSpyExchange::closed() {
    if (state_ == State::Greeting) return fail(MasterFailure::NoChallenge);
    if (state_ != State::Listing) return;
    if (listStarted_) reader_.finish();
    takeReaderState(servers_);
    if (state_ == State::Listing) fail(MasterFailure::ClosedEarly);
}
