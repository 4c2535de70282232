#pragma once
#include <QString>
#include <QStringList>

// The wire side of the status query: telling probe replies from status text, when a
// gathered status reply is complete, and which decoder its game name calls for.
// Datagrams are text with one character per byte (Windows-1252), NUL included.

// A probe reply holds NUL NUL somewhere after its first character.
bool isProbeDatagram(const QString& datagram);

// True when the text holds "\final\" and "\gamename\" (exact case), a "\numplayers\"
// count, and, for 8 or more announced players, the key of player count - 8.
bool isStatusComplete(const QString& statusText);

enum class ReplyGame { None, Ut2, Ut };
// "gamename\ut2004\", "gamename\ut2\", "gamename\ut2d\" call the UT2003/UT2004 decoder,
// "gamename\ut\" the UT decoder; the game value may be in any capitals.
ReplyGame replyGame(const QString& statusText);

// Split at every "\", empty pieces kept (element 0 is the text before the first "\").
QStringList splitStatusFields(const QString& statusText);
// Split at every NUL.
QStringList splitProbeFields(const QString& probeBuffer);
