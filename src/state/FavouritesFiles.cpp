#include "state/FavouritesFiles.h"

#include <algorithm>

#include "state/ProgramFolder.h"

QString gameDisplayName(const QString& code) {
    const QString lower = code.toLower();
    if (lower == QLatin1String("ut")) return QStringLiteral("UT");
    if (lower == QLatin1String("ut2")) return QStringLiteral("UT2003");
    if (lower == QLatin1String("ut3")) return QStringLiteral("UT2004");
    return code;
}

FavouriteLine splitFavouriteLine(const QString& line) {
    const QStringList f = line.split(':');
    const QString rest = f.size() > 3 ? ':' + f.mid(3).join(':') : QString();
    return {f.value(0).trimmed(), f.value(1).trimmed(), f.value(2).trimmed(), rest};
}

std::optional<QString> joinFavouriteLine(const FavouriteLine& f) {
    if (f.address.trimmed().isEmpty()) return std::nullopt;
    return f.address + ':' + f.port + ':' + f.code + f.rest;
}

bool isFavouriteLine(const QString& line) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('#')) return false;
    return joinFavouriteLine(splitFavouriteLine(line)).has_value();
}

FavouritesRead readFavourites() {
    FavouritesRead out;
    out.file = readTextLines(programFile(kServersFileName));
    out.favourites.reserve(out.file.lines.size());
    for (const QString& line : std::as_const(out.file.lines))
        if (isFavouriteLine(line)) out.favourites.append(splitFavouriteLine(line));
    return out;
}

SaveResult writeFavourites(const QList<FavouriteLine>& favourites) {
    const QString path = programFile(kServersFileName);
    const LinesRead old = readTextLines(path);
    QStringList lines = old.lines;
    QList<qsizetype> places;  // the lines that hold favourites
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (isFavouriteLine(lines[i])) places.append(i);
    QStringList unused;  // the old favourites' lines, each taken once
    for (qsizetype i : std::as_const(places)) unused.append(lines[i]);
    QStringList stored;
    for (const FavouriteLine& favourite : favourites) {
        const auto joined = joinFavouriteLine(favourite);
        if (!joined) continue;
        const auto same = std::find_if(unused.begin(), unused.end(), [&](const QString& line) {
            return splitFavouriteLine(line) == favourite;
        });
        if (same == unused.end()) {
            stored.append(*joined);
            continue;
        }
        stored.append(*same);  // as it was written, blanks and all
        unused.erase(same);
    }
    qsizetype k = 0;
    for (; k < places.size() && k < stored.size(); ++k) lines[places[k]] = stored[k];
    for (qsizetype drop = places.size() - 1; drop >= k; --drop) lines.removeAt(places[drop]);
    lines.append(stored.mid(k));
    return writeTextLines(path, lines);
}

LinesRead loadFavouritesInto(FlexGrid& g,
                             const std::function<void(int row, int index, const FavouriteLine&)>& writeRow) {
    const FavouritesRead read = readFavourites();
    if (read.favourites.isEmpty()) return read.file;
    const int first = g.rowCount() - 1;
    g.setRedraw(false);
    g.setRowCount(first + int(read.favourites.size()));
    for (int k = 0; k < read.favourites.size(); ++k) writeRow(first + k, k, read.favourites[k]);
    g.setRedraw(true);
    return read.file;
}

LinesRead loadServerList(MainState& s) {
    FlexGrid& g = s.serverGrid;
    return loadFavouritesInto(g, [&g](int row, int k, const FavouriteLine& fav) {
        g.setCellText(row, 0, QString::number(k + 1));
        g.setCellText(row, 1, fav.address);
        g.setCellText(row, 2, fav.address);
        g.setCellText(row, 3, fav.port);
        g.setCellText(row, 7, fav.code);
        g.setCellText(row, 9, gameDisplayName(fav.code));
    });
}

SaveResult saveSortedServerList(const MainState& s) {
    const FlexGrid& g = s.serverGrid;
    // A reply may rewrite a row's code ("UT" to "ut"); the file's own spelling and the
    // rest of its line stay with the favourite.
    QList<FavouriteLine> stored = readFavourites().favourites;
    QList<FavouriteLine> favourites;
    // Column 0 only says whether a row is a favourite; the address comes from the hidden
    // column, so a server name shown in column 1 is never stored.
    for (int i = 1; i < g.rowCount(); ++i) {
        if (g.cellText(i, 0).isEmpty()) continue;
        FavouriteLine row{g.cellText(i, 2), g.cellText(i, 3), g.cellText(i, 7), {}};
        const auto same = std::find_if(stored.begin(), stored.end(), [&](const FavouriteLine& f) {
            return f.address == row.address && f.port == row.port &&
                   f.code.compare(row.code, Qt::CaseInsensitive) == 0;
        });
        if (same != stored.end()) {
            row = *same;
            stored.erase(same);
        }
        favourites.append(row);
    }
    return writeFavourites(favourites);
}

FavouritesAdded appendFavourites(MainState& s, const QList<FavouriteLine>& favourites) {
    const QString path = programFile(kServersFileName);
    LinesRead read = readTextLines(path);
    if (read.failed()) return {0, readFailureText(read)};
    auto sameServer = [](const FavouriteLine& a, const FavouriteLine& b) {
        return a.address.trimmed() == b.address.trimmed() && a.port.trimmed().toInt() == b.port.trimmed().toInt();
    };
    QList<FavouriteLine> known;
    for (const QString& line : std::as_const(read.lines)) known << splitFavouriteLine(line);
    QList<FavouriteLine> added;
    for (const FavouriteLine& f : favourites) {
        const auto isF = [&](const FavouriteLine& k) { return sameServer(k, f); };
        if (!joinFavouriteLine(f) || std::any_of(known.cbegin(), known.cend(), isF) ||
            std::any_of(added.cbegin(), added.cend(), isF))
            continue;
        added << f;
    }
    if (added.isEmpty()) return {};
    QStringList lines = read.lines;
    for (const FavouriteLine& f : std::as_const(added)) lines << *joinFavouriteLine(f);
    if (const SaveResult saved = writeTextLines(path, lines); !saved) return {0, saveFailureText(saved)};

    FlexGrid& g = s.serverGrid;
    int number = 0;
    for (int r = 1; r < g.rowCount(); ++r) number = std::max(number, g.cellText(r, 0).toInt());
    for (const FavouriteLine& f : std::as_const(added)) {
        // The empty list's one row takes the first favourite, as the loader fills it.
        int row = g.rowCount() - 1;
        if (!g.cellText(row, 0).isEmpty()) {
            g.setRowCount(g.rowCount() + 1);
            row = g.rowCount() - 1;
        }
        g.setCellText(row, 0, QString::number(++number));
        g.setCellText(row, 1, f.address);
        g.setCellText(row, 2, f.address);
        g.setCellText(row, 3, f.port);
        g.setCellText(row, 7, f.code);
        g.setCellText(row, 9, gameDisplayName(f.code));
    }
    return {int(added.size()), {}};
}

LinesRead loadBuddyGrid(FlexGrid& g) {
    LinesRead read = readTextLines(programFile(kBuddiesFileName));
    const QStringList& lines = read.lines;
    qsizetype i = 0;
    while (i < lines.size() && lines[i].isEmpty()) ++i;
    if (i == lines.size()) return read;
    // Leading empty lines are skipped; after the first name every line is a row, kept
    // whole (tabs included), except an empty last one.
    qsizetype end = lines.size();
    if (lines[end - 1].isEmpty()) --end;
    g.setRedraw(false);
    g.setCellText(1, 0, lines[i++]);
    const int first = g.rowCount();
    g.setRowCount(first + int(end - i));
    for (int row = first; i < end; ++i, ++row) g.setCellText(row, 0, lines[i]);
    g.setRedraw(true);
    return read;
}

SaveResult writeBuddies(const QStringList& names) {
    const QString path = programFile(kBuddiesFileName);
    const QStringList old = readTextLines(path).lines;
    // The loader passes over the empty lines before the first name and an empty last
    // line; they stay in the file, and a file without names stays as it is while the
    // list is empty.
    qsizetype lead = 0;
    while (lead < old.size() && old[lead].isEmpty()) ++lead;
    const bool fileHasNames = lead < old.size();
    const bool noNames =
        std::all_of(names.cbegin(), names.cend(), [](const QString& n) { return n.isEmpty(); });
    if (!fileHasNames && !old.isEmpty() && noNames) return writeTextLines(path, old);
    QStringList lines(fileHasNames ? lead : 0, QString());
    lines += names;
    if (fileHasNames && old.last().isEmpty()) lines.append(QString());
    return writeTextLines(path, lines);
}
