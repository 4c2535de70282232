// Writes a made-up history for trying the pictures without waiting weeks: for each server
// given, a sample every 10 minutes over the last DAYS days, busy in the evenings and at
// weekends. The file is written through the store as VYRN writes it, then compacted.
//   vyrn-history-fill FILE DAYS ADDRESS:PORT:GAME...
#include <QCoreApplication>
#include <QDateTime>
#include <QTextStream>
#include <cmath>

#include "history/HistoryStore.h"

namespace {
// Players at a local time: nobody at night, a crowd from eight to eleven, more at weekends.
int playersAt(qint64 time, int server, int most) {
    const QDateTime local = QDateTime::fromSecsSinceEpoch(time).toLocalTime();
    const double hour = local.time().hour() + local.time().minute() / 60.0;
    const double evening = std::exp(-std::pow((hour - 21.5) / 2.5, 2));
    const double weekend = local.date().dayOfWeek() >= 6 ? 1.3 : 1.0;
    const double wobble = 0.85 + 0.15 * std::sin(double(time) / 1700.0 + server);
    return std::min(most, int(std::lround(most * evening * weekend * wobble)));
}
}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    bool daysOk = false;
    const int days = args.size() >= 3 ? args[1].toInt(&daysOk) : 0;
    if (!daysOk || days < 1 || days > 400) {
        err << "usage: vyrn-history-fill FILE DAYS ADDRESS:PORT:GAME...\n";
        return 2;
    }
    QList<HistoryServer> servers;
    for (const QString& s : args.mid(2)) {
        const QStringList parts = s.split(QLatin1Char(':'));
        if (parts.size() != 3) {
            err << "not ADDRESS:PORT:GAME: " << s << "\n";
            return 2;
        }
        servers << historyServer(parts[0], parts[1].toInt(), parts[2]);
    }
    HistoryStore store;
    if (!store.open(args[0]).ok()) {
        err << "cannot open " << args[0] << "\n";
        return 1;
    }
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    QList<HistorySample> batch;
    QString error;
    for (qint64 t = now - qint64(days) * 86400; t < now; t += 600) {
        for (int i = 0; i < servers.size(); ++i) {
            HistorySample s;
            s.server = servers[i];
            s.time = t;
            s.maxPlayers = 16;
            s.players = playersAt(t, i, 16);
            s.pingMs = 30 + 10 * i;
            batch << s;
        }
        if (batch.size() >= 2000) {
            if (!store.add(batch, &error)) {
                err << "could not write: " << error << "\n";
                return 1;
            }
            batch.clear();
        }
    }
    if (!store.add(batch, &error) || !store.compact(now, &error)) {
        err << "could not write: " << error << "\n";
        return 1;
    }
    return 0;
}
