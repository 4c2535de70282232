#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

// One game server named by a master: a dotted IPv4 address and its query port.
struct ServerAddress {
    QString address;
    quint16 port = 0;
    QString text() const { return address + QLatin1Char(':') + QString::number(port); }
    quint64 key() const;
    bool operator==(const ServerAddress&) const = default;
};

// "A.B.C.D:PORT" with four decimal parts up to 255 and a port from 1 to 65535. Addresses
// no game server can have (0.x.x.x, multicast, broadcast and the reserved block) are
// refused, so a hostile list cannot turn the queries at a whole network.
std::optional<ServerAddress> parseServerAddress(QByteArrayView text);

// A server as a master lists it: where to query it, the game it runs ("servers.ini"'s
// code), and what the master itself says of it, when it says anything.
struct ListedServer {
    ServerAddress server;  // the query port as the favourites keep it
    QString gameCode = QStringLiteral("UT");
    bool hasDetails = false;
    QString hostName{}, map{}, gameType{};
    int numPlayers = 0, maxPlayers = 0;
};

// Reads a master's answer to "\list\" as it arrives: backslash-separated keys and values,
// "\ip\A.B.C.D:PORT" for each server, up to "\final\". Only the unfinished last field is
// kept between calls, so memory stays small however long the list is.
class MasterListReader {
public:
    enum class State { Reading, Complete, Garbage, MasterSaidError };
    static constexpr qsizetype kMaxField = 256;

    // The servers completed by these bytes, in the order sent.
    QList<ServerAddress> feed(QByteArrayView bytes);
    // The connection closed: a last "\final" without its backslash still ends the list.
    void finish();

    State state() const { return state_; }
    // "\ip\" entries that named no usable server (port 0 or 99999, a bad address).
    int skipped() const { return skipped_; }
    // The text of an "\error\" the master sent.
    QString errorText() const { return errorText_; }

private:
    void takeField(const QByteArray& field, QList<ServerAddress>& out);

    State state_ = State::Reading;
    bool started_ = false;     // the leading backslash has been seen
    QByteArray field_;         // the field being read
    QByteArray key_;           // the key whose value comes next
    bool expectingValue_ = false;
    int skipped_ = 0;
    QString errorText_;
};
