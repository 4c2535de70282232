#pragma once
#include <QList>
#include <QString>
#include <optional>

#include "state/Games.h"

// A master server: host name or address and TCP port.
struct MasterAddress {
    QString host;
    quint16 port = 0;
    QString text() const { return host + QLatin1Char(':') + QString::number(port); }
};

// The masters' own ports, used when a line gives none: GameSpy's for UT, Epic's for
// UT2003 and UT2004.
constexpr quint16 kDefaultMasterPort = 28900;
constexpr quint16 kDefaultUt2MasterPort = 28902;
quint16 defaultMasterPort(Game game);

// "masters.ini" in the program folder: the masters of each game, tried in order. A line
// is HOST:PORT, or HOST:PORT:GAME with a game code of "servers.ini" (UT, UT2, UT3); a
// "[UT]", "[UT2003]" or "[UT2004]" line starts the masters of that game. Lines before
// any such line and without a code are UT's, as in the files of older versions. Lines
// starting with ";" or "#" are notes; blanks around a line are ignored.
inline const QString kMastersFileName = QStringLiteral("masters.ini");

// The community masters that serve each game's list today.
QList<MasterAddress> defaultMasters(Game game = Game::UT);

// "host:port" or "host" (the game's default port); nothing for text no master can be.
std::optional<MasterAddress> parseMasterAddress(const QString& text, Game game = Game::UT);

// A game's masters in "masters.ini"; the defaults when the file is missing or names none.
QList<MasterAddress> loadMasters(Game game = Game::UT);

// Writes the defaults to "masters.ini" when there is no such file, so the user finds one
// to edit. False when it was missing and could not be written.
bool writeDefaultMastersIfMissing();
