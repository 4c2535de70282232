#include "launch/LaunchPlan.h"

#include <QDir>
#include <QFileInfo>

#include "platform/FileIO.h"

namespace {
struct GameRow {
    const char* code;
    QString AppConfig::*path;
    const char* exeName;
    WindowShow show;
    const char* unusablePath;
};

const GameRow kGames[] = {
    {"ut", &AppConfig::UtPath, "unrealtournament.exe", WindowShow::Maximised,
     "You must specify the correct path to UT!"},
    {"ut2", &AppConfig::Ut2003Path, "ut2003.exe", WindowShow::Maximised,
     "You must specify the correct path to UT2003!"},
    {"ut3", &AppConfig::Ut2004Path, "ut2004.exe", WindowShow::Minimised,
     "You must specify the correct path to UT2004!"},
};

Message critical(const QString& text) { return {text, MsgIcon::Critical}; }

AfterLaunch afterLaunchOf(const AppConfig& config) {
    bool ok = false;
    const int value = config.AfterLaunch.trimmed().toInt(&ok);
    return ok && value == 2 ? AfterLaunch::HideToTray : AfterLaunch::EndProgram;
}
}  // namespace

std::optional<int> parseGamePort(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 5) return std::nullopt;
    for (const QChar c : t)
        if (c < '0' || c > '9') return std::nullopt;
    const int port = t.toInt();
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}

QString gameFolderOf(const QString& path, const QString& exeName) {
    QString folder = path;
    folder.remove(QDir::separator() + exeName, Qt::CaseInsensitive);
    // A native game binary has another name: its own folder is the game folder.
    if (!QFileInfo(folder).isDir()) folder = QFileInfo(path).absolutePath();
    return folder;
}

ProcessSpec gameProcess(const QString& path, const QString& folder, const QString& target,
                        WindowShow show) {
    if (path.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        return {QStringLiteral("wine"), {path, target}, folder, show};
    return {path, {target}, folder, show};
}

LaunchPlan planLaunch(const MainState& s, const AppConfig& config) {
    LaunchPlan plan;
    // An empty field and a field no port can be read from alike mean no usable reply.
    const std::optional<int> port = parseGamePort(s.panel.Text2);
    if (!port) {
        plan.message = critical(kServerDownMessage);
        return plan;
    }
    const QString code = s.ServerGrid.TextMatrix(s.ServerGrid.Row(), 7).toLower();
    for (const GameRow& game : kGames) {
        if (code != QLatin1String(game.code)) continue;
        const QString path = config.*game.path;
        if (path.isEmpty() || !fileExists(path)) {
            plan.message = critical(QString::fromLatin1(game.unusablePath));
            return plan;
        }
        const QString target = s.panel.Text1 + ':' + QString::number(*port);
        plan.process = gameProcess(path, gameFolderOf(path, QString::fromLatin1(game.exeName)),
                                   target, game.show);
    }
    plan.after = afterLaunchOf(config);
    return plan;
}
