#pragma once
#include <QString>
#include <QStringList>
#include <optional>

#include "query/ServerStatus.h"

// Turn one complete status reply into a server status value. UT2003/UT2004 replies
// also read the rules of the probe reply (split at NUL). Nothing for a reply of no
// known game, or a UT2003/UT2004 reply cut short (a key without its value).
std::optional<ServerStatus> decodeStatusReply(const QString& statusText, const QStringList& probeFields);

// "gamename\ut2004\", "gamename\ut2\", "gamename\ut2d\" call the UT2003/UT2004 decoder,
// "gamename\ut\" the UT decoder; the game value may be in any capitals.
ReplyGame replyGame(const QString& statusText);

// Display texts shared by the decoders.
QString ut2GameTypeDisplay(const QString& upperGameType);  // "ONSONSLAUGHTGAME" -> "Onslaught"
QString utGameTypeDisplay(const QString& upperGameType);   // "CTFGAME" -> "CTF"
QString passwordDisplay(const QString& value);             // "No", "Yes" or empty
QString padCount(const QString& count);                    // "3" -> "03"
