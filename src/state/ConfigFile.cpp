#include "state/ConfigFile.h"

#include <QFile>

#include "platform/FileIO.h"
#include "platform/ProgramEnd.h"
#include "platform/Prompter.h"
#include "state/ProgramFolder.h"
#include "state/TextLines.h"

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
    QStringList lines{c.UtPath, c.Ut2003Path, c.Ut2004Path, c.AfterLaunch, c.RefreshDelay,
                      line6, c.LastSaveFolder, c.LastSaveDrive};
    if (!c.BuddyAlerts.isEmpty()) lines.append(c.BuddyAlerts);
    return lines;
}

void resetOldFormat() {
    const Message question{
        QStringLiteral("Old VYRN.INI found, resetting config file.\r\n"
                       "Do you want to import your previous favorites?"),
        MsgIcon::None, QStringLiteral("VYRN 3.0"), MsgButtons::YesNo};
    if (prompter().ask(question) == MsgAnswer::Yes) {
        const auto lines = readTextLines(programFile(kConfigFileName));
        if (lines && !lines->isEmpty()) importOldFavourites(lines->mid(1));
    }
    // A failing copy or delete is passed over: the question simply comes again next time.
    const QString oldCopy = programFile(kOldConfigFileName);
    QFile::remove(oldCopy);
    QFile::copy(programFile(kConfigFileName), oldCopy);
    QFile::remove(programFile(kConfigFileName));
    prompter().ask({QStringLiteral("Please restart VYRN."), MsgIcon::Information});
    endProgram();
}
}  // namespace

void importOldFavourites(const QStringList& oldLinesAfterFirst) {
    const QString serversPath = programFile(kServersFileName);
    QStringList servers = readTextLines(serversPath).value_or(QStringList());
    const QStringList fields = inputFields(oldLinesAfterFirst);
    qsizetype i = 0;
    while (i < fields.size() && !fields[i].contains(QLatin1String("SERVER="), Qt::CaseInsensitive))
        ++i;
    // From the first "SERVER=" field on, fields are taken in pairs whatever they hold;
    // a last field without its port is left out.
    for (; i + 1 < fields.size(); i += 2) {
        const QString address = removeAll(fields[i], QStringLiteral("server="));
        const QString port = removeAll(fields[i + 1], QStringLiteral("SERVERPORT="));
        servers.append(address + ':' + port + QStringLiteral(":UT"));
    }
    writeTextLines(serversPath, servers);
}

GetPathsResult GetPaths(AppConfig& config, bool& skipDllPrompt) {
    const QString path = programFile(kConfigFileName);
    std::optional<QString> line6;
    GetPathsResult result = GetPathsResult::Missing;
    if (fileExists(path)) {
        const QStringList lines = readTextLines(path).value_or(QStringList());
        if (!lines.isEmpty()) config.UtPath = lines[0];
        if (config.UtPath.contains(QLatin1String("agreement"), Qt::CaseInsensitive)) {
            resetOldFormat();
            return GetPathsResult::OldFormatReset;
        }
        // A missing line keeps what its value held.
        QString* targets[] = {&config.Ut2003Path, &config.Ut2004Path, &config.AfterLaunch,
                              &config.RefreshDelay, nullptr, &config.LastSaveFolder,
                              &config.LastSaveDrive, &config.BuddyAlerts};
        for (int n = 1; n < 9 && n < lines.size(); ++n) {
            if (n == 5) line6 = lines[n];
            else *targets[n - 1] = lines[n];
        }
        result = GetPathsResult::Read;
    }
    if (line6.value_or(QString()) != QLatin1String("False")) skipDllPrompt = true;
    return result;
}

bool writeConfigFile(const AppConfig& config, const QString& line6) {
    return writeTextLines(programFile(kConfigFileName), configLines(config, line6));
}

bool RewriteConfig(const AppConfig& config, const QString& line6) {
    if (!fileExists(programFile(kConfigFileName))) return true;
    return writeConfigFile(config, line6);
}
