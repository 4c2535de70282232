#include "settings/FavouritesImport.h"

#include <optional>

#include "platform/FileIO.h"
#include "platform/Text1252.h"
#include "settings/SettingsGrids.h"
#include "state/GameFiles.h"

namespace {
// Blanks around decimal digits; nothing for any other text, or one too long for a port.
std::optional<qint64> wholeNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9) return std::nullopt;
    for (QChar c : t)
        if (c < '0' || c > '9') return std::nullopt;
    return t.toLongLong();
}

QString beforeColon(const QString& text) {
    const qsizetype colon = text.indexOf(':');
    return colon < 0 ? text : text.left(colon);
}

bool isSectionHeader(const QString& line) { return line.startsWith('['); }

std::optional<ImportedFavourite> ut2004Favourite(const QString& line) {
    const qsizetype ip = line.indexOf(QLatin1String("IP="));
    if (ip < 0) return std::nullopt;
    const qsizetype start = ip + 4;  // past the opening quote
    const qsizetype comma = line.indexOf(',', start);
    if (comma < 0 || comma - 1 <= start) return std::nullopt;
    QString address = line.mid(start, comma - 1 - start);  // without the closing quote
    address = beforeColon(address.remove(','));
    const qsizetype q = line.indexOf(QLatin1String("QueryPort"));
    if (q < 0) return std::nullopt;
    const qsizetype qEnd = line.indexOf(',', q);
    if (qEnd < 0) return std::nullopt;
    const auto port = wholeNumber(line.mid(q, qEnd - q).remove(QLatin1String("QueryPort=")));
    if (!port || address.isEmpty()) return std::nullopt;
    return ImportedFavourite{address, QString::number(*port + 9)};
}
}  // namespace

QList<ImportedFavourite> readUt2004Favourites(const QStringList& lines) {
    QList<ImportedFavourite> found;
    qsizetype i = 0;
    while (i < lines.size() && !lines[i].contains(QLatin1String("Favorites="), Qt::CaseInsensitive)) ++i;
    for (; i < lines.size() && lines[i].contains(QLatin1String("Favorites=")); ++i)
        if (auto fav = ut2004Favourite(lines[i])) found.append(*fav);
    return found;
}

QList<ImportedFavourite> readUt2003Favourites(const QStringList& lines) {
    QList<ImportedFavourite> found;
    qsizetype i = 0;
    while (i < lines.size() && !lines[i].contains(QLatin1String("XInterface.Browser_ServerListPageFavorites")))
        ++i;
    // The section ends at its blank line; a next section's header ends it as well.
    for (++i; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.size() < 2 || isSectionHeader(line)) break;
        const qsizetype a = line.indexOf(QLatin1String("IP="), 0, Qt::CaseInsensitive);
        const qsizetype b = line.indexOf(QLatin1String("port="), 0, Qt::CaseInsensitive);
        if (a < 0 || b < a) continue;
        const qsizetype end = line.indexOf(',', b);
        if (end < 0) continue;
        QString address = line.mid(a, b - a);
        address.remove(',').remove('"').remove(QLatin1String("IP="));
        const auto port =
            wholeNumber(line.mid(b, end - b).remove(QLatin1String("port="), Qt::CaseInsensitive));
        if (!port) break;  // a port that is no number ends the import
        if (!address.isEmpty()) found.append({address, QString::number(*port + 10)});
    }
    return found;
}

QList<ImportedFavourite> readUtFavourites(const QStringList& lines) {
    QList<ImportedFavourite> found;
    qsizetype i = 0;
    while (i < lines.size() && !lines[i].contains(QLatin1String("[UBrowser.UBrowserFavoritesFact]"))) ++i;
    if (++i >= lines.size()) return found;
    const QString& countLine = lines[i];
    const qsizetype eq = countLine.indexOf('=');
    if (eq < 0) return found;
    // The whole number after "=", so that 150 favourites import as 150.
    const auto count = wholeNumber(countLine.mid(eq + 1));
    if (!count) return found;
    for (qint64 n = 0; n < *count && ++i < lines.size(); ++n) {
        const QStringList fields = lines[i].split('\\');
        if (fields.size() < 4) continue;
        const QString address = beforeColon(fields[1]);
        const QString& port = fields[2];
        if (address.isEmpty() || port.isEmpty()) continue;
        found.append({address, port});
    }
    return found;
}

QString favouritesIniPath(Game game, const QString& pathBoxText) {
    return iniFileOf(game, pathBoxText).value_or(QString());
}

int addImportedFavourites(FlexGrid& g, const QList<ImportedFavourite>& favourites,
                          const QString& code) {
    int added = 0;
    g.setRedraw(false);
    for (const ImportedFavourite& fav : favourites) {
        bool present = false;
        for (int r = 1; r < g.Rows() && !present; ++r)
            present = g.TextMatrix(r, 1) == fav.address && g.TextMatrix(r, 2) == fav.queryPort;
        if (present) continue;
        if (g.Rows() == 2 && g.TextMatrix(1, 1).isEmpty()) {
            g.setTextMatrix(1, 1, fav.address);
            g.setTextMatrix(1, 2, fav.queryPort);
            g.setTextMatrix(1, 3, code);
        } else {
            appendGridRow(g, {QString::number(g.Rows()), fav.address, fav.queryPort, code});
        }
        ++added;
    }
    g.setRedraw(true);
    return added;
}

int ImportFavourites(FlexGrid& g, Game game, const QString& pathBoxText) {
    const QString path = favouritesIniPath(game, pathBoxText);
    if (path.isEmpty()) return 0;
    // A file too large to be a game's ini, or one that cannot be read, imports nothing.
    const auto bytes = readWholeFile(path);
    if (!bytes) return 0;
    QStringList lines;
    for (const QByteArray& line : splitLines(*bytes)) lines.append(windows1252ToUnicode(line));
    QList<ImportedFavourite> favourites;
    switch (game) {
        case Game::UT: favourites = readUtFavourites(lines); break;
        case Game::UT2003: favourites = readUt2003Favourites(lines); break;
        case Game::UT2004: favourites = readUt2004Favourites(lines); break;
    }
    return addImportedFavourites(g, favourites, gameInfo(game).code);
}
