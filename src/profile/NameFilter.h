#pragma once
#include <QString>

// The player-name boxes keep a name the games accept: every space becomes "_", and a
// text grown past 20 characters is cut to its first 19.
QString filterPlayerName(const QString& text);
