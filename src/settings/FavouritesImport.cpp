#include "settings/FavouritesImport.h"

#include <QRegularExpression>
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

bool isSectionHeader(const QString& line) { return line.trimmed().startsWith('['); }

// The value of one field of a "Favorites=(Key=value,...)" entry, the key in any letter
// case, without its quotes and blanks; nothing when the entry lacks it.
std::optional<QString> fieldOf(const QString& line, const QString& key) {
    static const QRegularExpression field(QStringLiteral(R"re([(,]\s*(\w+)\s*=\s*("[^"]*"|[^,)]*))re"));
    auto it = field.globalMatch(line);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(1).compare(key, Qt::CaseInsensitive) == 0) return m.captured(2).remove('"').trimmed();
    }
    return std::nullopt;
}

// A port of the entry plus the offset that gives the query port, when both are ports.
std::optional<qint64> queryPortFrom(const std::optional<QString>& field, int offset) {
    const auto port = field ? wholeNumber(*field) : std::nullopt;
    if (!port || *port < 1 || *port + offset > 65535) return std::nullopt;
    return *port + offset;
}

// One entry of UT2003 or UT2004: the "QueryPort" + 9, else the game "Port" + 10.
std::optional<ImportedFavourite> ut200xFavourite(const QString& line) {
    const QString address = beforeColon(fieldOf(line, QStringLiteral("IP")).value_or(QString())).trimmed();
    auto port = queryPortFrom(fieldOf(line, QStringLiteral("QueryPort")), 9);
    if (!port) port = queryPortFrom(fieldOf(line, QStringLiteral("Port")), 10);
    if (address.isEmpty() || !port) return std::nullopt;
    return ImportedFavourite{address, QString::number(*port)};
}

void take(std::optional<ImportedFavourite> favourite, const QString& line, QList<ImportedFavourite>& found,
          QStringList* refused) {
    if (favourite) found.append(*favourite);
    else if (refused) refused->append(line.trimmed());
}
}  // namespace

QList<ImportedFavourite> readUt2004Favourites(const QStringList& lines, QStringList* refused) {
    QList<ImportedFavourite> found;
    qsizetype i = 0;
    while (i < lines.size() && !lines[i].contains(QLatin1String("Favorites="), Qt::CaseInsensitive)) ++i;
    for (; i < lines.size(); ++i) {
        if (!lines[i].contains(QLatin1String("Favorites="), Qt::CaseInsensitive)) break;  // the run ends
        take(ut200xFavourite(lines[i]), lines[i], found, refused);
    }
    return found;
}

QList<ImportedFavourite> readUt2003Favourites(const QStringList& lines, QStringList* refused) {
    QList<ImportedFavourite> found;
    qsizetype i = 0;
    while (i < lines.size() && !lines[i].contains(QLatin1String("XInterface.Browser_ServerListPageFavorites"),
                                                  Qt::CaseInsensitive))
        ++i;
    // The section ends at its blank line; a next section's header ends it as well.
    for (++i; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.trimmed().size() < 2 || isSectionHeader(line)) break;
        take(ut200xFavourite(line), line, found, refused);
    }
    return found;
}

QList<ImportedFavourite> readUtFavourites(const QStringList& lines, QStringList* refused) {
    QList<ImportedFavourite> found;
    qsizetype i = 0;
    while (i < lines.size() && lines[i].trimmed().compare(QLatin1String("[UBrowser.UBrowserFavoritesFact]"),
                                                          Qt::CaseInsensitive) != 0)
        ++i;
    if (++i >= lines.size()) return found;
    const QString& countLine = lines[i];
    const qsizetype eq = countLine.indexOf('=');
    if (eq < 0) return found;
    // The whole number after "=", so that 150 favourites import as 150.
    const auto count = wholeNumber(countLine.mid(eq + 1));
    if (!count) return found;
    for (qint64 n = 0; n < *count; ++n) {
        if (++i >= lines.size()) break;  // fewer lines than the count
        const QStringList fields = lines[i].split('\\');
        const QString address = beforeColon(fields.value(1)).trimmed();
        const QString port = fields.value(2).trimmed();
        const auto number = wholeNumber(port);
        const bool usable =
            fields.size() >= 4 && !address.isEmpty() && number && *number >= 1 && *number <= 65535;
        take(usable ? std::optional(ImportedFavourite{address, port}) : std::nullopt, lines[i], found,
             refused);
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
        for (int r = 1; r < g.rowCount() && !present; ++r)
            present = g.cellText(r, 1) == fav.address && g.cellText(r, 2) == fav.queryPort;
        if (present) continue;
        if (g.rowCount() == 2 && g.cellText(1, 1).isEmpty()) {
            g.setCellText(1, 1, fav.address);
            g.setCellText(1, 2, fav.queryPort);
            g.setCellText(1, 3, code);
        } else {
            appendGridRow(g, {QString::number(g.rowCount()), fav.address, fav.queryPort, code});
        }
        ++added;
    }
    g.setRedraw(true);
    return added;
}

ImportResult importFavourites(FlexGrid& g, Game game, const QString& pathBoxText) {
    ImportResult result;
    const QString path = favouritesIniPath(game, pathBoxText);
    if (path.isEmpty()) return result;
    // A file too large to be a game's ini, or one that cannot be read, imports nothing.
    const auto bytes = readWholeFile(path);
    if (!bytes) return result;
    QStringList lines;
    for (const QByteArray& line : splitLines(*bytes)) lines.append(windows1252ToUnicode(line));
    QList<ImportedFavourite> favourites;
    switch (game) {
        case Game::UT: favourites = readUtFavourites(lines, &result.refused); break;
        case Game::UT2003: favourites = readUt2003Favourites(lines, &result.refused); break;
        case Game::UT2004: favourites = readUt2004Favourites(lines, &result.refused); break;
    }
    result.added = addImportedFavourites(g, favourites, gameInfo(game).code);
    return result;
}

QString refusedImportText(Game game, const QStringList& refused) {
    QStringList shown = refused.mid(0, 10);
    if (refused.size() > 10) shown.append(QStringLiteral("... and %1 more").arg(refused.size() - 10));
    return QStringLiteral("These favourites of %1 have no usable address or port and were not imported:\r\n")
               .arg(gameInfo(game).name) +
           shown.join(QStringLiteral("\r\n"));
}
