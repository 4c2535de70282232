#pragma once
#include <QString>
#include <QStringList>

#include "query/ReplyState.h"
#include "state/MainState.h"

// Turn one complete status reply (ReplyState::StatusFields, and for UT2003/UT2004 the
// probe's ProbeFields) into the server's row, the buddy list and, in selected-server
// mode, the players grid and the information panel. The row is the favourite whose
// address and query port sent the reply (ReplyState::RemoteHost/RemotePort).
void DecodeUt2Status(MainState& s, ReplyState& r);
void DecodeUtStatus(MainState& s, ReplyState& r);

// First favourite row whose address is host and whose query port is port; 0 for none.
int findServerRow(const MainState& s, const QString& host, int port);

// Display texts shared by the decoders.
QString ut2GameTypeDisplay(const QString& upperGameType);  // "ONSONSLAUGHTGAME" -> "Onslaught"
QString utGameTypeDisplay(const QString& upperGameType);   // "CTFGAME" -> "CTF"
QString passwordDisplay(const QString& value);             // "No", "Yes" or empty
QString padCount(const QString& count);                    // "3" -> "03"
