#include "query/PlayersAndBuddies.h"

#include "query/MainGrids.h"
#include "state/ProgramFolder.h"
#include "state/FavouritesFiles.h"

bool buddyEntryMatches(const QString& entry, const QString& playerName) {
    if (entry.contains(QLatin1String("**"))) {
        QString pattern = entry;
        pattern.remove(QLatin1String("**"));
        return playerName.contains(pattern, Qt::CaseInsensitive);
    }
    return entry.compare(playerName, Qt::CaseInsensitive) == 0;
}

QStringList buddyEntries(const FlexGrid& buddyGrid) {
    QStringList entries;
    for (int row = 1; row < buddyGrid.rowCount(); ++row) entries << buddyGrid.cellText(row, BuddyCol::Entry);
    return entries;
}

void buddyMatch(MainState& s, const QString& playerName, const QString& hostName) {
    FlexGrid& g = s.buddyGrid;
    for (int b = 1; b < g.rowCount(); ++b) {
        if (!buddyEntryMatches(g.cellText(b, BuddyCol::Entry), playerName)) continue;
        g.setCellText(b, BuddyCol::Server, hostName);
        if (s.buddySeen) s.buddySeen(playerName, hostName);
        // Buddies with a server listed come first.
        g.setCurrentCol(BuddyCol::Server);
        g.setSelectionEndCol(BuddyCol::Server);
        g.sort(FlexGrid::SortStringDescending);
        return;
    }
}

int teamPictureIndex(const QString& team) {
    if (team == QLatin1String("0")) return PictureRed;
    if (team == QLatin1String("1")) return PictureBlue;
    if (team == QLatin1String("2")) return PictureGreen;
    if (team == QLatin1String("3")) return PictureGold;
    if (team == QLatin1String("255")) return PictureSpec;
    return 0;
}

void placeTeamPicture(MainState& s, const QString& team) {
    const int picture = teamPictureIndex(team);
    if (picture == 0) return;  // an unknown team shows no picture
    FlexGrid& g = s.playerGrid;
    g.setCurrentRow(g.rowCount() - 1);
    g.setCurrentCol(PlayerCol::Team);
    g.setCellPicture(picture);
}

QString serverInfoCopyText(const MainState& s) {
    const InfoPanel& p = s.panel;
    const QString crlf = QStringLiteral("\r\n");
    const QString tab = QStringLiteral("\t");
    QString t = p.title + crlf + p.map + crlf + p.admin + crlf + p.timeLimit + crlf + p.version + crlf +
                p.password + crlf + p.translocator + crlf + crlf + p.gameType + crlf + crlf + p.mutators +
                crlf + crlf + p.goalLimit + crlf + crlf;
    const FlexGrid& f = s.playerGrid;
    for (int r = 1; r < f.rowCount(); ++r)
        t += QStringLiteral("Player:") + f.cellText(r, 0) + tab + QStringLiteral("Frags:") +
             f.cellText(r, 1) + tab + QStringLiteral("Ping:") + f.cellText(r, 2) + tab +
             QStringLiteral("Ping:") + f.cellText(r, 4) + tab + crlf + crlf;
    return t;
}

QString adminMailAddress(const QString& adminBox) {
    const qsizetype open = adminBox.lastIndexOf(QLatin1Char('('));
    if (open < 0) return {};
    QString s = adminBox.mid(open + 1);
    s.chop(1);  // normally the closing ")"
    return s.trimmed();
}

std::optional<QString> adminMailUrl(const QString& adminBox) {
    QString address = adminMailAddress(adminBox);
    const qsizetype question = address.indexOf(QLatin1Char('?'));
    if (question >= 0) address.truncate(question);
    address = address.trimmed();
    static const QString kAllowed = QStringLiteral(".!#$&'*+/=^_`{|}~-@");
    for (const QChar c : address) {
        const bool alnum = c.unicode() < 128 && c.isLetterOrNumber();
        if (!alnum && !kAllowed.contains(c)) return std::nullopt;
    }
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    if (at <= 0 || at == address.size() - 1 || address.count(QLatin1Char('@')) != 1) return std::nullopt;
    return QStringLiteral("mailto:") + address;
}

QString buddyNotSavedText(const QString& name) {
    return QStringLiteral("Could not save ") + programFile(kBuddiesFileName) + QStringLiteral(", so ") + name +
           QStringLiteral(" was not added to the buddy list.");
}

FlexClickResult clickPlayerGrid(MainState& s) {
    using What = FlexClickResult::What;
    const int row = s.playerGrid.mouseRow();
    if (row == 0) {
        sortPlayerGrid(s, s.playerGrid.mouseCol());
        return {What::Sorted, {}};
    }
    const QString name = s.playerGrid.cellText(row, PlayerCol::Name);
    if (name.isEmpty()) return {};
    QStringList names = buddyEntries(s.buddyGrid);
    names << name;
    // A file that could not be written keeps the old list on disk and on screen.
    if (!writeBuddies(names)) return {What::BuddyNotSaved, name};
    setUpBuddyGrid(s);
    loadBuddyList(s);
    return {What::BuddyAdded, name};
}
