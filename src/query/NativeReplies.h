#pragma once
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <optional>

#include "query/ServerStatus.h"

// The UT2003/UT2004 servers' own query protocol, on the game port + 1 (the favourite's
// query port - 9): a 5-byte query (78 00 00 00 type) and a reply behind a 5-byte header
// (79 or 80, three zeros, the type). Type 0 is the server information, 1 the rules,
// 2 the players. A server whose "\status\" query is switched off still answers these.
enum class NativeType : quint8 { Info = 0, Rules = 1, Players = 2 };

QByteArray nativeQuery(NativeType type);
// The type of a native reply, told by its header alone.
std::optional<NativeType> nativeReplyType(const QByteArray& datagram);

struct NativeInfo {
    bool ut2004 = false;  // the header's first byte: 80 UT2004, 79 UT2003
    QString hostName, map, gameType;
    int gamePort = 0;
    int numPlayers = 0, maxPlayers = 0;
};
// Nothing for a reply cut short before the player counts.
std::optional<NativeInfo> readNativeInfo(const QByteArray& reply);
// The players of one players reply; a player cut short at the end is left out.
QList<PlayerStatus> readNativePlayers(const QByteArray& reply);

// What the grids and the panel show of a server heard only through these replies.
ServerStatus nativeStatus(const NativeInfo& info, const QList<QPair<QString, QString>>& rules,
                          const QList<PlayerStatus>& players);
