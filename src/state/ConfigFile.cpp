#include "state/ConfigFile.h"

#include <QFile>

#include "platform/FileIO.h"
#include "platform/TextFileCodec.h"
#include "state/FavouritesFiles.h"
#include "state/ProgramFolder.h"

namespace {
// Fields the way the old program read its file: a field ends at a comma or at the end
// of a line, blanks before it are skipped, and a quoted field may hold commas.
QStringList inputFields(const QStringList& lines) {
    QStringList fields;
    for (const QString& line : lines) {
        const qsizetype n = line.size();
        qsizetype i = 0;
        while (true) {
            while (i < n && line[i] == ' ') ++i;
            if (i < n && line[i] == '"') {
                const qsizetype close = line.indexOf('"', i + 1);
                const qsizetype end = close < 0 ? n : close;
                fields.append(line.mid(i + 1, end - i - 1));
                i = end;
                while (i < n && line[i] != ',') ++i;
            } else {
                const qsizetype comma = line.indexOf(',', i);
                const qsizetype end = comma < 0 ? n : comma;
                fields.append(line.mid(i, end - i));
                i = end;
            }
            if (i >= n) break;
            ++i;  // past the comma: another field follows, maybe an empty one
        }
    }
    return fields;
}

QString removeAll(QString text, const QString& what) {
    return text.remove(what, Qt::CaseInsensitive);
}

QStringList configLines(const AppConfig& c, const QString& line6) {
    QStringList lines{c.utPath,       c.ut2003Path, c.ut2004Path,     c.afterLaunch,
                      c.refreshDelay, line6,        c.lastSaveFolder, c.lastSaveDrive};
    if (!c.buddyAlerts.isEmpty() || !c.buddyHistory.isEmpty()) lines.append(c.buddyAlerts);
    if (!c.buddyHistory.isEmpty()) lines.append(c.buddyHistory);
    return lines;
}

}  // namespace

SaveResult importOldFavourites(const QStringList& oldLinesAfterFirst) {
    const QString serversPath = programFile(kServersFileName);
    // Appended to the lines as they stand, so the favourites already there keep every byte.
    LinesRead servers = readTextLines(serversPath);
    if (servers.failed()) return {serversPath, servers.reason};
    const QStringList fields = inputFields(oldLinesAfterFirst);
    qsizetype i = 0;
    while (i < fields.size() && !fields[i].contains(QLatin1String("SERVER="), Qt::CaseInsensitive))
        ++i;
    // From the first "SERVER=" field on, fields are taken in pairs whatever they hold;
    // a last field without its port is left out.
    for (; i + 1 < fields.size(); i += 2) {
        const FavouriteLine favourite{removeAll(fields[i], QStringLiteral("server=")),
                                      removeAll(fields[i + 1], QStringLiteral("SERVERPORT=")),
                                      QStringLiteral("UT")};
        if (const auto line = joinFavouriteLine(favourite)) servers.lines.append(*line);
    }
    return writeTextLines(serversPath, servers.lines);
}

OldFormatReset resetOldFormat(bool importFavourites) {
    OldFormatReset out;
    const QString path = programFile(kConfigFileName);
    const QString copyPath = programFile(kOldConfigFileName);
    out.copy.path = copyPath;
    const FileRead old = readFile(path);
    if (old.outcome != ReadOutcome::Read) {
        out.copy.reason = QStringLiteral("vyrn.ini could not be read");
        return out;
    }
    // The copy comes first: when it fails nothing changes, so answering the question
    // again at the next start imports nothing twice.
    out.copy.reason = writeFileAtomicallyWithReason(copyPath, old.bytes);
    if (!out.copy.saved()) return out;
    if (readWholeFile(copyPath) != old.bytes) {
        out.copy.reason = QStringLiteral("the copy does not hold the same bytes");
        return out;
    }
    if (importFavourites) {
        const QStringList lines = decodeTextLines(old.bytes).lines;
        if (!lines.isEmpty()) out.favourites = importOldFavourites(lines.mid(1));
    }
    // The user's only copy goes once old-vyrn.ini holds every byte of it. A failing
    // delete brings the question again at the next start.
    QFile::remove(path);
    return out;
}

ConfigRead readConfigFile(AppConfig& config, QString* line6) {
    ConfigRead out;
    out.file = readTextLines(programFile(kConfigFileName));
    if (out.file.status != LinesRead::Read) {
        out.result = out.file.failed() ? GetPathsResult::Unreadable : GetPathsResult::Missing;
        return out;
    }
    out.result = GetPathsResult::Read;
    const QStringList& lines = out.file.lines;
    if (lines.isEmpty()) return out;
    config.utPath = lines[0];
    if (config.utPath.contains(QLatin1String("agreement"), Qt::CaseInsensitive)) {
        out.result = GetPathsResult::OldFormat;
        return out;
    }
    // A missing line keeps what its value held.
    QString* targets[] = {
        &config.ut2003Path,     &config.ut2004Path,    &config.afterLaunch, &config.refreshDelay, line6,
        &config.lastSaveFolder, &config.lastSaveDrive, &config.buddyAlerts, &config.buddyHistory};
    for (int n = 1; n < 10 && n < lines.size(); ++n)
        if (targets[n - 1]) *targets[n - 1] = lines[n];
    return out;
}

ConfigRead loadConfig(AppConfig& config, bool& skipDllPrompt) {
    QString line6;
    const ConfigRead read = readConfigFile(config, &line6);
    const bool offerWanted = read.result == GetPathsResult::Read && read.file.lines.size() > 5 &&
                             line6 == QLatin1String("False");
    if (!offerWanted) skipDllPrompt = true;
    return read;
}

SaveResult writeConfigFile(const AppConfig& config, const QString& line6) {
    return writeTextLines(programFile(kConfigFileName), configLines(config, line6));
}

SaveResult rewriteConfig(const AppConfig& config, const QString& line6) {
    if (!fileExists(programFile(kConfigFileName))) return {};
    return writeConfigFile(config, line6);
}
