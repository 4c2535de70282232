#pragma once
#include <QList>
#include <QPair>
#include <QString>

// One server to query: its address (dotted IPv4 or a host name), the port that answers
// "\status\" and its game code as "servers.ini" stores it ("UT", "UT2", "UT3").
struct QueryTarget {
    QString address;
    int port = 0;
    QString game;
    // Asked through the UT2003/UT2004 server's own protocol from the start: a server a UT2
    // master listed answers it, and many of them have "\status\" switched off.
    bool nativeFirst = false;

    bool operator==(const QueryTarget&) const = default;
};

struct PlayerStatus {
    QString name, score, ping, team;  // as sent
};

enum class ReplyGame { None, Ut2, Ut };

// A decoded status reply: what the grids and the panel show of one server.
struct ServerStatus {
    ReplyGame game = ReplyGame::None;
    QString gameName;      // the "gamename" value as sent ("ut", "ut2", "ut2004", "ut2d")
    bool hasHostName = false;
    QString hostName;
    QString hostPort;
    QString map;           // title + " (" + name + ")"
    QString gameType;      // display text of the game type
    QString numPlayers;    // as the row shows it: UT2003/UT2004 the number listed, UT as announced
    QString announcedPlayers;  // the "numplayers" value as sent, for every game
    QString maxPlayers;
    QString adminName, adminEmail;
    QString password;      // "No", "Yes" or empty
    QString timeLimit, version, translocator, mutators, goalLimit;
    QList<PlayerStatus> players;
    // Every other key of the reply and every probe rule, as received, in order.
    QList<QPair<QString, QString>> rules;
    qint64 pingMs = 0;
};
