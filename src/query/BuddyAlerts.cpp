#include "query/BuddyAlerts.h"

#include "query/PlayersAndBuddies.h"

bool BuddyAlerts::seen(const QString& player, const QString& server, qint64 nowMs) {
    const QString key = player.toLower();
    const auto last = lastSeen_.constFind(key);
    const bool news = last == lastSeen_.constEnd() || nowMs - *last > forgetAfterMs_;
    lastSeen_.insert(key, nowMs);
    if (news) news_.append({player, server});
    return news;
}

QString BuddyAlerts::takeMessage() {
    QStringList lines;
    for (const auto& [player, server] : news_) {
        if (lines.size() == kNamedInOneMessage) {
            lines << QStringLiteral("and %1 more").arg(news_.size() - kNamedInOneMessage);
            break;
        }
        lines << buddyAlertText(player, server);
    }
    news_.clear();
    return lines.join(QLatin1Char('\n'));
}
