#pragma once
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// One server as the history knows it: the address and query port it is asked at, and its
// game code as "servers.ini" writes it ("UT", "UT2", "UT3").
struct HistoryServer {
    QString address;
    int queryPort = 0;
    QString game;

    bool operator==(const HistoryServer&) const = default;
};
size_t qHash(const HistoryServer& server, size_t seed = 0);
// The one spelling of a server in the history, whichever list it came from: the address
// without blanks, the game code in capitals ("ut3" and "UT3" are one server).
HistoryServer historyServer(const QString& address, int queryPort, const QString& game);

// What one complete reply said, and when (wall-clock seconds since 1970, UTC).
struct HistorySample {
    HistoryServer server;
    QString serverName;  // the host name it sent, kept for the buddy lists
    qint64 time = 0;
    std::optional<int> players;     // absent when the reply's count is not a usable number
    std::optional<int> maxPlayers;  // likewise
    QString map, gameType;
    int pingMs = 0;
    QStringList buddies;  // the buddies seen on it; always empty while buddy history is off
};

// A point of the players pictures: the players at one time (one sample, or the most heard
// in one hour), with the maximum the server announced then (0 when unknown).
struct PlayerPoint {
    qint64 time = 0;
    int players = 0;
    int maxPlayers = 0;

    bool operator==(const PlayerPoint&) const = default;
};

// Hours of the week in the user's local time: 0 is Monday 00:00-00:59, 167 Sunday 23:00-23:59.
inline constexpr int kHoursPerWeek = 168;
int localHourOfWeek(qint64 time);

// How busy a server usually is in each hour of the week.
struct UsualWeek {
    std::array<double, kHoursPerWeek> players{};  // the average of the hours' most players
    std::array<int, kHoursPerWeek> hoursHeard{};  // how many such hours were heard; 0: unknown

    bool known(int hour) const { return hoursHeard[size_t(hour)] > 0; }
};

// Everything the pictures of one server need.
struct ServerHistory {
    QList<PlayerPoint> lastDay;   // every sample of the last 24 hours, oldest first
    QList<PlayerPoint> lastWeek;  // the most players of each hour of the last 7 days
    UsualWeek usualWeek;          // over the whole history
};

// Where and when one buddy was seen.
struct BuddyServerSeen {
    HistoryServer server;
    QString serverName;
    int hoursSeen = 0;
    qint64 lastSeen = 0;
};
struct BuddyHistory {
    QList<BuddyServerSeen> servers;  // the most hours first
    UsualWeek hours;                 // hoursHeard: how often the buddy was seen in that hour of the week
};

// Figures of one hour, as kept after a week and as `vyrn --history` prints older times.
struct HourFigure {
    qint64 hourStart = 0;  // seconds since 1970, a multiple of 3600
    std::optional<int> mostPlayers;
    std::optional<int> maxPlayers;
    std::optional<int> medianPingMs;
    int samples = 0;
};

// One kept sample, as `vyrn --history` prints it.
struct SampleRow {
    qint64 time = 0;
    std::optional<int> players, maxPlayers;
    QString map, gameType;
    int pingMs = 0;
};
