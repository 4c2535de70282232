#include "history/HistoryTypes.h"

#include <QDateTime>

size_t qHash(const HistoryServer& server, size_t seed) {
    return qHashMulti(seed, server.address, server.queryPort, server.game);
}

HistoryServer historyServer(const QString& address, int queryPort, const QString& game) {
    const QString code = game.trimmed().toUpper();
    return {address.trimmed(), queryPort, code.isEmpty() ? QStringLiteral("UT") : code};
}

int localHourOfWeek(qint64 time) {
    const QDateTime local = QDateTime::fromSecsSinceEpoch(time).toLocalTime();
    return (local.date().dayOfWeek() - 1) * 24 + local.time().hour();
}
