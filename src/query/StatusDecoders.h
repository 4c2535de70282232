#pragma once
#include <QString>
#include <QList>
#include <QPair>
#include <optional>

#include "query/ServerStatus.h"

// Turn one complete status reply (its bytes as sent) into a server status value.
// UT2003/UT2004 replies also read the rules of the probe reply. Nothing for a reply of
// no known game.
std::optional<ServerStatus> decodeStatusReply(const QByteArray& statusText,
                                              const QList<QPair<QString, QString>>& probeRules);

// The decoder for a "gamename" value in any capitals: "ut2004", "ut2" and "ut2d" are
// UT2003/UT2004, "ut" is UT.
ReplyGame replyGame(const QString& gameName);

// Display texts shared by the decoders.
QString ut2GameTypeDisplay(const QString& upperGameType);  // "ONSONSLAUGHTGAME" -> "Onslaught"
QString utGameTypeDisplay(const QString& upperGameType);   // "CTFGAME" -> "CTF"
QString passwordDisplay(const QString& value);             // "No", "Yes" or empty
QString padCount(const QString& count);                    // "3" -> "03"
