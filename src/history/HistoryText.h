#pragma once
#include <QString>

// Texts the history pictures share, in the user's locale and local time.
QString localDayName(int dayOfWeek, bool shortName);  // 1 is Monday
// "Tuesday 20:15" for a time (seconds since 1970).
QString localDayAndTime(qint64 time);
// "1 player", "7 players".
QString playerCount(int players);
