#include "state/FavouritesFiles.h"

#include "platform/FileIO.h"
#include "state/ProgramFolder.h"
#include "state/TextLines.h"

QString gameDisplayName(const QString& code) {
    const QString lower = code.toLower();
    if (lower == QLatin1String("ut")) return QStringLiteral("UT");
    if (lower == QLatin1String("ut2")) return QStringLiteral("UT2003");
    if (lower == QLatin1String("ut3")) return QStringLiteral("UT2004");
    return code;
}

FavouriteLine splitFavouriteLine(const QString& line) {
    const QStringList f = line.split(':');
    return {f.value(0).trimmed(), f.value(1).trimmed(), f.value(2).trimmed()};
}

void LoadServerList(MainState& s) {
    FlexGrid& g = s.ServerGrid;
    const auto lines = readTextLines(programFile(kServersFileName));
    if (!lines) return;
    int number = 0;
    g.setRedraw(false);
    for (const QString& line : *lines) {
        if (line.isEmpty()) continue;
        // A line with fewer than three fields still loads, with the missing ones empty.
        const FavouriteLine fav = splitFavouriteLine(line);
        ++number;
        const int row = g.Rows() - 1;
        g.setTextMatrix(row, 0, QString::number(number));
        g.setTextMatrix(row, 1, fav.address);
        g.setTextMatrix(row, 2, fav.address);
        g.setTextMatrix(row, 3, fav.port);
        g.setTextMatrix(row, 7, fav.code);
        g.setTextMatrix(row, 9, gameDisplayName(fav.code));
        g.setRows(g.Rows() + 1);
    }
    const int rows = g.Rows();
    for (int i = 1; i < rows; ++i)
        if (g.Rows() >= 3 && i < g.Rows() && g.TextMatrix(i, 0).isEmpty()) g.RemoveItem(i);
    g.setRedraw(true);
}

bool SaveSortedServerList(const MainState& s) {
    const FlexGrid& g = s.ServerGrid;
    QStringList lines;
    for (int i = 1; i < g.Rows(); ++i) {
        if (g.TextMatrix(i, 0).isEmpty()) continue;
        lines.append(g.TextMatrix(i, 2) + ':' + g.TextMatrix(i, 3) + ':' + g.TextMatrix(i, 7));
    }
    return writeTextLines(programFile(kServersFileName), lines);
}

void loadBuddyGrid(FlexGrid& g) {
    const auto lines = readTextLines(programFile(kBuddiesFileName));
    if (!lines) return;
    g.setRedraw(false);
    qsizetype i = 0;
    while (i < lines->size() && lines->at(i).isEmpty()) ++i;
    if (i < lines->size()) g.setTextMatrix(1, 0, lines->at(i++));
    for (; i < lines->size(); ++i) g.AddItem(lines->at(i));
    if (g.TextMatrix(g.Rows() - 1, 0).isEmpty()) g.RemoveItem(g.Rows() - 1);
    if (g.TextMatrix(1, 0).isEmpty()) g.RemoveItem(1);
    g.setRedraw(true);
}

bool writeBuddies(const QStringList& names) {
    return writeTextLines(programFile(kBuddiesFileName), names);
}
