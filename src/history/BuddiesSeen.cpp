#include "history/BuddiesSeen.h"

#include "query/PlayersAndBuddies.h"
#include "state/MainState.h"

QStringList buddiesSeen(const QStringList& entries, const QList<PlayerStatus>& players) {
    QStringList seen;
    for (const QString& entry : entries) {
        if (entry.trimmed().isEmpty() || seen.contains(entry)) continue;
        for (const PlayerStatus& p : players)
            if (buddyEntryMatches(entry, p.name)) {
                seen << entry;
                break;
            }
    }
    return seen;
}

QStringList buddyEntries(const FlexGrid& buddyGrid) {
    QStringList entries;
    for (int row = 1; row < buddyGrid.rowCount(); ++row) entries << buddyGrid.cellText(row, BuddyCol::Entry);
    return entries;
}
