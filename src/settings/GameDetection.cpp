#include "settings/GameDetection.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include "platform/CaseInsensitivePath.h"
#include "platform/FileIO.h"
#include "platform/WineRegistry.h"
#include "state/GameFiles.h"

namespace {
void addFolder(QStringList& list, const QString& folder) {
    if (!QFileInfo(folder).isDir()) return;
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (!list.contains(canonical)) list.append(canonical);
}

// The quoted values of one key in a Valve KeyValues text ("path"  "/mnt/games").
QStringList vdfValues(const QString& file, const QString& key) {
    static const QRegularExpression pair(QStringLiteral(R"re(^\s*"([^"]*)"\s+"((?:[^"\\]|\\.)*)")re"));
    QStringList values;
    for (const QByteArray& line : splitLines(readWholeFile(file).value_or(QByteArray()))) {
        const QRegularExpressionMatch m = pair.match(QString::fromUtf8(line));
        if (m.hasMatch() && m.captured(1).compare(key, Qt::CaseInsensitive) == 0)
            values.append(m.captured(2).replace(QLatin1String("\\\\"), QLatin1String("\\")));
    }
    return values;
}

// Lutris keeps each game's prefix in its YAML file ("  prefix: /home/p/Games/ut2004"), and
// puts new ones in ~/Games.
QStringList lutrisPrefixes(const QString& home) {
    QStringList prefixes;
    const QDir games(QDir(home).filePath(QStringLiteral(".config/lutris/games")));
    for (const QString& name : games.entryList({QStringLiteral("*.yml")}, QDir::Files)) {
        for (const QByteArray& line :
             splitLines(readWholeFile(games.filePath(name)).value_or(QByteArray()))) {
            const QString text = QString::fromUtf8(line).trimmed();
            if (text.startsWith(QLatin1String("prefix:")))
                prefixes.append(text.mid(7).trimmed().remove('"').remove('\''));
        }
    }
    const QDir own(QDir(home).filePath(QStringLiteral("Games")));
    for (const QString& name : own.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
        if (QFileInfo::exists(own.filePath(name + QStringLiteral("/system.reg"))))
            prefixes.append(own.filePath(name));
    return prefixes;
}

std::optional<QString> executableIn(const QString& prefix, const GameInfo& info) {
    const QString windowsFolder = readRegistryStringFromFile(
        QDir(prefix).filePath(QStringLiteral("system.reg")), info.registryKey, QStringLiteral("Folder"));
    const QString folder = mapWindowsPathIntoPrefix(windowsFolder, prefix);
    if (folder.isEmpty()) return std::nullopt;
    const auto found = resolvePathIgnoringCase(folder + QStringLiteral("/System/") + info.windowsExecutable);
    if (!found || !QFileInfo(*found).isFile()) return std::nullopt;
    return found;
}
}  // namespace

QStringList steamLibraries(const QString& home) {
    QStringList libraries;
    for (const char* root : {".steam/steam", ".local/share/Steam", ".steam/debian-installation",
                             ".var/app/com.valvesoftware.Steam/.local/share/Steam"}) {
        const QString steam = QDir(home).filePath(QLatin1String(root));
        addFolder(libraries, steam);
        for (const QString& path :
             vdfValues(steam + QStringLiteral("/steamapps/libraryfolders.vdf"), QStringLiteral("path")))
            addFolder(libraries, path);
    }
    return libraries;
}

QStringList winePrefixesFor(Game game, const QString& home) {
    QStringList prefixes;
    const QString named = QProcessEnvironment::systemEnvironment().value(QStringLiteral("WINEPREFIX"));
    if (!named.isEmpty()) addFolder(prefixes, named);
    addFolder(prefixes, QDir(home).filePath(QStringLiteral(".wine")));
    if (const int app = gameInfo(game).steamAppId)
        for (const QString& library : steamLibraries(home))
            addFolder(prefixes, library + QStringLiteral("/steamapps/compatdata/%1/pfx").arg(app));
    for (const QString& prefix : lutrisPrefixes(home)) addFolder(prefixes, prefix);
    return prefixes;
}

GameSearch searchGame(Game game, const QString& home) {
    const GameInfo& info = gameInfo(game);
    GameSearch search;
    for (const QString& prefix : winePrefixesFor(game, home)) {
        search.looked.append(QDir(prefix).filePath(QStringLiteral("system.reg")));
        if (auto found = executableIn(prefix, info)) {
            search.path = *found;
            return search;
        }
    }
    if (search.looked.isEmpty())
        search.looked.append(QDir(home).filePath(QStringLiteral(".wine/system.reg")));
    for (const QString& place : info.nativeInstallFolders)
        search.looked.append(place.startsWith(QLatin1String("~/")) ? QDir(home).filePath(place.mid(2))
                                                                   : place);
    search.path = findNativeInstall(game, home, QStringLiteral("/")).value_or(QString());
    return search;
}

QString notFoundText(Game game, const QStringList& looked) {
    return QStringLiteral("VYRN found no ") + gameInfo(game).name + QStringLiteral(". It looked in:\r\n") +
           QDir::toNativeSeparators(looked.join(QStringLiteral("\r\n")));
}
