#include "master/MasterServers.h"

#include "platform/FileIO.h"
#include "platform/HostAddress.h"
#include "state/ProgramFolder.h"
#include "state/TextLines.h"

namespace {
// A "[UT2004]" line (or "[UT3]"): the game whose masters follow.
std::optional<Game> sectionGame(const QString& line) {
    if (!line.startsWith(QLatin1Char('[')) || !line.endsWith(QLatin1Char(']'))) return std::nullopt;
    const QString name = line.mid(1, line.size() - 2).trimmed();
    for (const Game g : kGames)
        if (name.compare(gameInfo(g).name, Qt::CaseInsensitive) == 0) return g;
    return gameOfCode(name);
}
}  // namespace

quint16 defaultMasterPort(Game game) { return game == Game::UT ? kDefaultMasterPort : kDefaultUt2MasterPort; }

QList<MasterAddress> defaultMasters(Game game) {
    switch (game) {
        case Game::UT:
            return {{QStringLiteral("master.333networks.com"), kDefaultMasterPort},
                    {QStringLiteral("master.errorist.eu"), kDefaultMasterPort},
                    {QStringLiteral("master.newbiesplayground.net"), kDefaultMasterPort},
                    {QStringLiteral("master.oldunreal.com"), kDefaultMasterPort}};
        case Game::UT2003: return {{QStringLiteral("utmaster.openspy.net"), kDefaultUt2MasterPort}};
        case Game::UT2004:
            return {{QStringLiteral("utmaster.openspy.net"), kDefaultUt2MasterPort},
                    {QStringLiteral("ut2004master.333networks.com"), kDefaultUt2MasterPort}};
    }
    return {};
}

std::optional<MasterAddress> parseMasterAddress(const QString& text, Game game) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 253 + 6) return std::nullopt;
    const qsizetype colon = t.lastIndexOf(QLatin1Char(':'));
    const QString host = colon < 0 ? t : t.first(colon);
    quint16 port = defaultMasterPort(game);
    if (colon >= 0) {
        bool ok = false;
        const uint p = t.sliced(colon + 1).toUInt(&ok);
        if (!ok || p < 1 || p > 65535) return std::nullopt;
        port = quint16(p);
    }
    if (!parseHostAddress(host).valid()) return std::nullopt;
    return MasterAddress{host, port};
}

QList<MasterAddress> loadMasters(Game game) {
    QList<MasterAddress> masters;
    const LinesRead read = readTextLines(programFile(kMastersFileName));
    Game section = Game::UT;
    for (const QString& line : read.lines) {
        QString t = line.trimmed();
        if (t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'))) continue;
        if (const auto g = sectionGame(t)) {
            section = *g;
            continue;
        }
        Game lineGame = section;
        const qsizetype colon = t.lastIndexOf(QLatin1Char(':'));
        if (const auto g = colon > 0 ? gameOfCode(t.sliced(colon + 1).trimmed()) : std::nullopt) {
            lineGame = *g;
            t.truncate(colon);
        }
        if (lineGame != game) continue;
        if (const auto m = parseMasterAddress(t, game)) masters << *m;
    }
    return masters.isEmpty() ? defaultMasters(game) : masters;
}

bool writeDefaultMastersIfMissing() {
    const QString path = programFile(kMastersFileName);
    if (fileExists(path)) return true;
    QStringList lines{
        QStringLiteral("; Master servers for \"Find Servers\", tried in order: one HOST:PORT a line."),
        QStringLiteral("; UT's come first; the masters of UT2003 and UT2004 follow their [UT2003]"),
        QStringLiteral("; and [UT2004] lines.")};
    for (const Game g : kGames) {
        if (g != Game::UT) lines << QLatin1Char('[') + gameInfo(g).name + QLatin1Char(']');
        for (const MasterAddress& m : defaultMasters(g)) lines << m.text();
    }
    return writeTextLines(path, lines).saved();
}
