#include "master/FoundServers.h"

#include "query/PlayersAndBuddies.h"
#include "state/FavouritesFiles.h"

namespace {
QString players(const FoundServer& s) {
    auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    return two(s.numPlayers) + QLatin1Char('/') + two(s.maxPlayers);
}
}  // namespace

QString foundColumnHeader(FoundColumn column) {
    switch (column) {
    case FoundColumn::Server: return QStringLiteral("Server");
    case FoundColumn::Players: return QStringLiteral("Players");
    case FoundColumn::UsuallyBusy: return QStringLiteral("Usually busy now");
    case FoundColumn::Ping: return QStringLiteral("Ping");
    case FoundColumn::GameType: return QStringLiteral("Game Type");
    case FoundColumn::Game: return QStringLiteral("Game");
    case FoundColumn::Map: return QStringLiteral("Map");
    }
    return {};
}

FoundServer foundServerListed(const ListedServer& listed) {
    FoundServer f;
    f.server = listed.server;
    f.gameCode = listed.gameCode;
    if (!listed.hasDetails) return f;
    f.fromMaster = true;
    f.hostName = listed.hostName;
    f.map = listed.map;
    f.gameType = listed.gameType;
    f.numPlayers = listed.numPlayers;
    f.maxPlayers = listed.maxPlayers;
    return f;
}

QString foundCellText(const FoundServer& s, FoundColumn column) {
    const bool known = s.answered || s.fromMaster;
    switch (column) {
        case FoundColumn::Server: return known && !s.hostName.isEmpty() ? s.hostName : s.server.text();
        case FoundColumn::Players: return known ? players(s) : QString();
        case FoundColumn::UsuallyBusy: return s.usuallyBusy < 0 ? QString() : QString::number(qRound(s.usuallyBusy));
        case FoundColumn::Ping: return s.answered && s.ping >= 0 ? QString::number(s.ping) : QString();
        case FoundColumn::GameType: return s.gameType;
        case FoundColumn::Game: return gameDisplayName(s.gameCode);
        case FoundColumn::Map: return s.map;
    }
    return {};
}

bool foundLessThan(const FoundServer& a, const FoundServer& b, FoundColumn column) {
    const bool knowA = a.answered || a.fromMaster, knowB = b.answered || b.fromMaster;
    if (knowA != knowB) return knowA;
    switch (column) {
    case FoundColumn::Players:
        if (a.numPlayers != b.numPlayers) return a.numPlayers < b.numPlayers;
        return a.maxPlayers < b.maxPlayers;
    case FoundColumn::Ping: return a.ping < b.ping;
    case FoundColumn::UsuallyBusy: return a.usuallyBusy < b.usuallyBusy;
    default:
        return foundCellText(a, column).compare(foundCellText(b, column), Qt::CaseInsensitive) < 0;
    }
}

bool FoundFilter::active() const {
    return !gameType.isEmpty() || notEmpty || notFull || noPassword || !nameContains.isEmpty();
}

bool foundPasses(const FoundServer& s, const FoundFilter& f) {
    if (!f.active()) return true;
    if (!s.answered && !s.fromMaster) return false;
    if (!f.gameType.isEmpty() && s.gameType != f.gameType) return false;
    if (f.notEmpty && s.numPlayers <= 0) return false;
    if (f.notFull && s.maxPlayers > 0 && s.numPlayers >= s.maxPlayers) return false;
    if (f.noPassword && s.password) return false;
    return s.hostName.contains(f.nameContains, Qt::CaseInsensitive);
}

QList<BuddySighting> findBuddies(const QStringList& buddyEntries, const QList<FoundServer>& servers) {
    // Each player counts for the first entry that matches, as in the main window.
    QList<QList<BuddySighting>> byEntry(buddyEntries.size());
    for (int i = 0; i < servers.size(); ++i)
        for (const QString& player : servers[i].players)
            for (int e = 0; e < buddyEntries.size(); ++e) {
                if (buddyEntries[e].isEmpty() || !buddyEntryMatches(buddyEntries[e], player)) continue;
                byEntry[e] << BuddySighting{buddyEntries[e], player, i};
                break;
            }
    QList<BuddySighting> seen;
    for (const auto& list : byEntry) seen += list;
    return seen;
}
