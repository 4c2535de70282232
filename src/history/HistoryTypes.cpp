#include "history/HistoryTypes.h"

#include <QDateTime>

size_t qHash(const HistoryServer& server, size_t seed) {
    return qHashMulti(seed, server.address, server.queryPort, server.game);
}

int localHourOfWeek(qint64 time) {
    const QDateTime local = QDateTime::fromSecsSinceEpoch(time).toLocalTime();
    return (local.date().dayOfWeek() - 1) * 24 + local.time().hour();
}
