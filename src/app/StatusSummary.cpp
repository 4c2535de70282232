#include "app/StatusSummary.h"

QString statusSummary(const FlexGrid& g, const ServerMonitor::RefreshProgress& refresh) {
    int favourites = 0, answering = 0, players = 0;
    for (int row = 1; row < g.rowCount(); ++row) {
        if (g.cellText(row, ServerCol::Address).trimmed().isEmpty()) continue;
        ++favourites;
        // A silent server's ping is emptied; one never answered has none.
        if (g.cellText(row, ServerCol::Ping).trimmed().isEmpty()) continue;
        ++answering;
        players += int(leadingNumber(g.cellText(row, ServerCol::Players)));
    }
    QString text =
        QStringLiteral("%1 favourites, %2 answering, %3 players").arg(favourites).arg(answering).arg(players);
    if (refresh.running())
        text = QStringLiteral("Refresh all: %1 of %2 answered. ").arg(refresh.answered).arg(refresh.asked) +
               text;
    return text;
}
