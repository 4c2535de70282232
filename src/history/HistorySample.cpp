#include "history/HistorySample.h"

#include <algorithm>

namespace {
constexpr int kMostPlayers = 256;

std::optional<int> playerCount(const QString& text) {
    bool ok = false;
    const int count = text.trimmed().toInt(&ok, 10);
    if (!ok || count < 0 || count > kMostPlayers) return std::nullopt;
    return count;
}
}  // namespace

HistorySample historySample(const QueryTarget& target, const ServerStatus& status, qint64 time,
                            const QStringList& buddies) {
    HistorySample sample;
    sample.server = historyServer(target.address, target.port, target.game);
    sample.serverName = status.hostName;
    sample.time = time;
    sample.players = playerCount(status.numPlayers);
    sample.maxPlayers = playerCount(status.maxPlayers);
    // No server takes no players at all: a maximum of 0 says nothing.
    if (sample.maxPlayers == 0) sample.maxPlayers.reset();
    sample.map = status.map;
    sample.gameType = status.gameType;
    sample.pingMs = int(std::clamp<qint64>(status.pingMs, 0, 999999));
    sample.buddies = buddies;
    return sample;
}
