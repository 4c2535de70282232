#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include "master/MasterList.h"

// Why a master gave no complete list.
enum class MasterFailure {
    None,
    HostNotFound,
    Refused,
    ConnectTimedOut,
    NoChallenge,     // closed, or sent something else, before its challenge
    KeyRefused,      // did not approve the CD key
    ClosedEarly,     // closed before the end of the list
    Garbage,         // sent bytes that are no list
    MasterError,     // sent "\error\"
    NoServers,       // a whole list without one usable server
    TooManyServers,  // more servers than any master lists
    TimedOut,        // went silent
    TooSlow,         // took longer than the time allowed for a whole list
    NetworkError,
};

// One master's side of the conversation, without the socket: bytes in, the bytes to
// answer and the servers they completed out. The socket, the clock and the bounds are
// the client's.
class MasterExchange {
public:
    enum class State { Greeting, Listing, Complete, Failed };
    struct Step {
        QByteArray reply;             // to send now
        QList<ListedServer> servers;  // completed by these bytes, in the order sent
    };

    virtual ~MasterExchange() = default;
    virtual Step feed(QByteArrayView bytes) = 0;
    // The master closed the connection.
    virtual void closed() = 0;

    State state() const { return state_; }
    // Once it failed: why, and the master's own words when it sent any.
    MasterFailure failure() const { return failure_; }
    QString detail() const { return detail_; }
    // Entries that named no usable server.
    int skipped() const { return skipped_; }
    // The master sent its challenge (silence before it is "sent no challenge").
    bool challenged() const { return challenged_; }

protected:
    void fail(MasterFailure why, const QString& detail = {}) {
        state_ = State::Failed;
        failure_ = why;
        detail_ = detail;
    }
    State state_ = State::Greeting;
    MasterFailure failure_ = MasterFailure::None;
    QString detail_;
    int skipped_ = 0;
    bool challenged_ = false;
};
