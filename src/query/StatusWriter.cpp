#include "query/StatusWriter.h"

#include "query/MainGrids.h"
#include "query/PlayersAndBuddies.h"
#include "query/ServerPictures.h"
#include "query/StatusDecoders.h"

namespace {

// Text colour of a whole row; a cell painted as the selection keeps its colours.
void setRowTextColour(FlexGrid& g, int row, FlexGrid::Colour colour) {
    const int keepRow = g.currentRow(), keepCol = g.currentCol();
    g.setCurrentRow(row);
    for (int c = 0; c < g.colCount(); ++c) {
        g.setCurrentCol(c);
        if (g.cellBackColour() == FlexGrid::kSystemHighlight) continue;
        g.setCellForeColour(colour);
    }
    g.setCurrentRow(keepRow);
    g.setCurrentCol(keepCol);
}

void colourBuddiesOn(MainState& s, const QString& server, FlexGrid::Colour colour) {
    FlexGrid& b = s.buddyGrid;
    for (int r = 1; r < b.rowCount(); ++r)
        if (!b.cellText(r, BuddyCol::Entry).isEmpty() && b.cellText(r, BuddyCol::Server) == server)
            setRowTextColour(b, r, colour);
}

// Turns repainting of the players grid back on, however the writer ends.
struct PlayerGridRepaint {
    FlexGrid& playerGrid;
    explicit PlayerGridRepaint(FlexGrid& f) : playerGrid(f) { playerGrid.setRedraw(false); }
    ~PlayerGridRepaint() {
        playerGrid.setRedraw(true);
        playerGrid.refresh();
    }
};

void fillPlayerGrid(MainState& s, const ServerStatus& st) {
    FlexGrid& g = s.playerGrid;
    for (const PlayerStatus& p : st.players) {
        const int row = g.rowCount() - 1;
        g.setCellText(row, PlayerCol::Name, p.name);
        g.setCellText(row, PlayerCol::Score, p.score);
        g.setCellText(row, PlayerCol::Ping, p.ping);
        placeTeamPicture(s, p.team);
        g.setCellText(row, PlayerCol::TeamNumber, p.team);
        g.appendRow(QString());
    }
    const int rows = g.rowCount() - 1;
    for (int i = 1; i <= rows && i < g.rowCount(); ++i)
        if (g.rowCount() > 2 && g.cellText(i, PlayerCol::Name).isEmpty()) g.removeRow(i);
    sortPlayerGrid(s, s.playerSortCol);
}

void fillPanel(MainState& s, int row, const ServerStatus& st) {
    InfoPanel& p = s.panel;
    const bool ut = st.game == ReplyGame::Ut;
    if (st.hasHostName) p.title = QStringLiteral("Server information for: ") + st.hostName;
    p.gamePort = st.hostPort;
    p.address = s.serverGrid.cellText(row, ServerCol::Address);
    p.map = QStringLiteral("Map: ") + st.map;
    p.admin = st.adminName + QStringLiteral(" ( ") + st.adminEmail + QStringLiteral(" )");
    p.timeLimit = QStringLiteral("Time Limit: ") + st.timeLimit;
    p.version = QStringLiteral("Version:") + st.version;
    p.password = QStringLiteral("P/W: ") + st.password;
    if (!ut) p.translocator = QStringLiteral("Translocator: ") + st.translocator;
    p.gameType = QStringLiteral("Game Type: ") + (ut ? st.gameType.toLower() : st.gameType);
    p.mutators = QStringLiteral("Mutators: ") + st.mutators;
    p.goalLimit = QStringLiteral("Goal Limit: ") + st.goalLimit;
}

}  // namespace

int queryPortOf(const FlexGrid& g, int row) {
    const double p = leadingNumber(g.cellText(row, ServerCol::QueryPort));
    return p >= 1 && p <= 65535 ? int(p) : 0;
}

int findServerRow(const MainState& s, const QString& address, int port) {
    const QString wanted = address.trimmed();
    if (wanted.isEmpty()) return 0;
    const FlexGrid& g = s.serverGrid;
    for (int i = 1; i < g.rowCount(); ++i)
        if (g.cellText(i, ServerCol::Address).trimmed() == wanted && queryPortOf(g, i) == port) return i;
    return 0;
}

void writeServerStatus(MainState& s, int row, const ServerStatus& st, bool selected) {
    {
        PlayerGridRepaint repaint(s.playerGrid);
        // Emptied on every reply in automatic mode; a grid already empty is left as it is.
        const bool empty =
            s.playerGrid.rowCount() == 2 && s.playerGrid.cellText(1, PlayerCol::Name).isEmpty();
        if (selected || (s.autoScanMode && !empty)) setUpPlayerGrid(s);
        for (const PlayerStatus& p : st.players) buddyMatch(s, p.name, st.hostName);
        if (selected) fillPlayerGrid(s, st);
    }
    FlexGrid& g = s.serverGrid;
    g.setCellText(row, ServerCol::Name, st.hostName);
    g.setCellText(row, ServerCol::Players,
                  padCount(st.numPlayers) + QLatin1Char('/') + padCount(st.maxPlayers));
    g.setCellText(row, ServerCol::Ping, QString::number(st.pingMs));
    g.setCellText(row, ServerCol::GameType, st.gameType);
    // A UT reply stores the code in lower case; launch and the probe read it so.
    if (st.game == ReplyGame::Ut) g.setCellText(row, ServerCol::GameCode, QStringLiteral("ut"));
    setRowTextColour(g, row, FlexGrid::kDefaultColour);
    setServerPicture(g, row, st.password == QLatin1String("Yes") ? PictureLocked : 0);
    colourBuddiesOn(s, st.hostName, FlexGrid::kDefaultColour);
    if (selected) fillPanel(s, row, st);
}

void markServerSilent(MainState& s, int row) {
    FlexGrid& g = s.serverGrid;
    g.setCellText(row, ServerCol::Ping, QString());
    setRowTextColour(g, row, kSilentColour);
    setServerPicture(g, row, PictureSilent);
    colourBuddiesOn(s, g.cellText(row, ServerCol::Name), kSilentColour);
}
