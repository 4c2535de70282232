#pragma once
#include <QDateTime>
#include <QVariant>
#include <ctime>

#include "history/HistoryStore.h"

// Times written as UTC wall-clock, so the local hours expected are worked out by hand.
inline qint64 utc(int y, int mo, int d, int h, int mi = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC).toSecsSinceEpoch();
}

// The process's time zone for one test.
class TimeZoneScope {
public:
    explicit TimeZoneScope(const char* zone) : old_(qgetenv("TZ")), had_(qEnvironmentVariableIsSet("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZoneScope() {
        if (had_) qputenv("TZ", old_);
        else qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray old_;
    bool had_;
};

inline const HistoryServer kServer{"127.0.0.1", 7778, "UT3"};

inline HistorySample sampleAt(qint64 time, std::optional<int> players, int pingMs = 50,
                              const HistoryServer& server = kServer) {
    HistorySample s;
    s.server = server;
    s.serverName = "Deck16 Only";
    s.time = time;
    s.players = players;
    s.maxPlayers = 16;
    s.map = "DM-Deck16][";
    s.gameType = "DeathMatch";
    s.pingMs = pingMs;
    return s;
}

// One value read through a connection of the test's own, as another program would.
QVariant readScalar(const QString& path, const QString& sql);
