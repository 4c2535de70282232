#include "history/HistoryText.h"

#include <QDateTime>
#include <QLocale>

QString localDayName(int dayOfWeek, bool shortName) {
    return QLocale().dayName(dayOfWeek, shortName ? QLocale::ShortFormat : QLocale::LongFormat);
}

QString localDayAndTime(qint64 time) {
    const QDateTime local = QDateTime::fromSecsSinceEpoch(time).toLocalTime();
    return localDayName(local.date().dayOfWeek(), false) + u' ' + local.time().toString(u"HH:mm");
}

QString playerCount(int players) {
    return players == 1 ? QStringLiteral("1 player") : QStringLiteral("%1 players").arg(players);
}
