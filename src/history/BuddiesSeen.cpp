#include "history/BuddiesSeen.h"

#include "query/PlayersAndBuddies.h"
#include "state/AppConfig.h"

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

QStringList keptBuddyEntries(const FlexGrid& buddyGrid) {
    return buddyHistoryOn(appConfig()) ? buddyEntries(buddyGrid) : QStringList();
}
