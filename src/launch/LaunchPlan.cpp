#include "launch/LaunchPlan.h"

#include <QStandardPaths>

#include "platform/WineRegistry.h"
#include "state/Games.h"

namespace {
Message critical(const QString& text) { return {text, MsgIcon::Critical}; }

AfterLaunch afterLaunchOf(const AppConfig& config) {
    bool ok = false;
    const int value = config.afterLaunch.trimmed().toInt(&ok);
    return ok && value == 2 ? AfterLaunch::HideToTray : AfterLaunch::EndProgram;
}

// UT2004 opens minimised, so its own start-up screens take over the desktop.
WindowShow windowShowOf(Game game) {
    return game == Game::UT2004 ? WindowShow::Minimised : WindowShow::Maximised;
}

// A Windows game runs through wine in the prefix that holds it, where its registry keys
// and CD key are; a native port runs as it is. Nothing when wine is not installed.
std::optional<ProcessSpec> gameProcess(const QString& executable, const QString& target) {
    ProcessSpec p;
    p.workingFolder = gameFolderOf(executable);
    if (!isWindowsExecutable(executable)) {
        p.program = executable;
        p.arguments = {target};
        return p;
    }
    p.program = QStandardPaths::findExecutable(QStringLiteral("wine"));
    if (p.program.isEmpty()) return std::nullopt;
    p.arguments = {executable, target};
    const QString prefix = winePrefixOf(executable);
    if (!prefix.isEmpty()) p.environment.insert(QStringLiteral("WINEPREFIX"), prefix);
    return p;
}
}  // namespace

QString unknownGameMessage(const QString& code) {
    return QStringLiteral("This server's game code \"") + code +
           QStringLiteral(
               "\" is not UT, UT2 or UT3, so VYRN does not know which game to start.\r\n"
               "Correct it in the VYRN settings.");
}

std::optional<int> parseGamePort(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 5) return std::nullopt;
    for (const QChar c : t)
        if (c < '0' || c > '9') return std::nullopt;
    const int port = t.toInt();
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}

LaunchPlan planLaunch(const MainState& s, const AppConfig& config) {
    return planLaunchTo(s.serverGrid.cellText(s.serverGrid.currentRow(), 7), s.panel.address,
                        s.panel.gamePort, config);
}

LaunchPlan planLaunchTo(const QString& code, const QString& address, const QString& gamePort,
                        const AppConfig& config) {
    LaunchPlan plan;
    // An empty field and a field no port can be read from alike mean no usable reply.
    const std::optional<int> port = parseGamePort(gamePort);
    if (!port) {
        plan.message = critical(kServerDownMessage);
        return plan;
    }
    const std::optional<Game> game = gameOfCode(code);
    if (!game) {
        plan.message = Message{unknownGameMessage(code), MsgIcon::Exclamation};
        return plan;
    }
    const std::optional<QString> executable = existingExecutable(gamePathOf(config, *game));
    if (!executable) {
        plan.message =
            critical(QStringLiteral("You must specify the correct path to ") + gameInfo(*game).name + '!');
        return plan;
    }
    plan.process = gameProcess(*executable, address + ':' + QString::number(*port));
    if (!plan.process) {
        plan.message = critical(kWineMissingMessage);
        return plan;
    }
    plan.process->show = windowShowOf(*game);
    plan.after = afterLaunchOf(config);
    return plan;
}
