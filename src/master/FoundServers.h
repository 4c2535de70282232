#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include "master/MasterList.h"

// What one server of a master's list answered to its status query.
struct FoundServer {
    ServerAddress server;
    QString gameCode = QStringLiteral("UT");  // as "servers.ini" stores it
    bool answered = false;
    // Not answered yet, but the master said what it runs: the texts and counts below are
    // the master's until the server answers.
    bool fromMaster = false;
    QString hostName, map, gameType;           // gameType as the main grid shows it
    int numPlayers = 0, maxPlayers = 0;
    int ping = -1;                             // whole ms; -1 before an answer
    QString gamePort;                          // the port players join, as the reply gave it
    bool password = false;
    QStringList players;
    // The players it usually has in this hour of the week, from the history; -1: unknown.
    double usuallyBusy = -1;
};

// The columns of the "Find Servers" list: the main grid's, plus the map.
enum class FoundColumn { Server, Players, UsuallyBusy, Ping, GameType, Game, Map };
constexpr int kFoundColumnCount = 7;
QString foundColumnHeader(FoundColumn column);
// A listed server's row before it answers: its address, and what the master said of it.
FoundServer foundServerListed(const ListedServer& listed);
QString foundCellText(const FoundServer& s, FoundColumn column);
// Sort order of a column: numbers by value, texts ignoring case; servers that have not
// answered sort last.
bool foundLessThan(const FoundServer& a, const FoundServer& b, FoundColumn column);

// The filters above the list. Servers that have not answered show only while no filter
// is set, since nothing is known of them, unless their master said what they run.
struct FoundFilter {
    QString gameType;       // empty: any
    bool notEmpty = false;
    bool notFull = false;
    bool noPassword = false;
    QString nameContains{};  // ignoring case
    bool active() const;
};
bool foundPasses(const FoundServer& s, const FoundFilter& f);

// "Find my buddies": for each entry of "buddies.ini" (a name, or a pattern with "**"),
// the players matching it and their servers.
struct BuddySighting {
    QString buddy;    // the entry as written
    QString player;   // the name on the server
    int serverIndex;  // into the list searched
    bool operator==(const BuddySighting&) const = default;
};
QList<BuddySighting> findBuddies(const QStringList& buddyEntries, const QList<FoundServer>& servers);
