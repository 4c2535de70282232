#pragma once
#include "launch/LaunchPlan.h"

// What the launch needs from the window and the system.
class LaunchEnvironment {
public:
    virtual ~LaunchEnvironment() = default;
    // Empty when the game started, else the system's reason.
    virtual QString startProcess(const ProcessSpec& process) = 0;
    virtual void minimiseWindow() = 0;  // the window then hides to the tray
};

// The "&Launch!" button: starts the selected server's game, then ends the program or
// hides it as the settings say.
void launchSelectedServer(MainState& s, const AppConfig& config, LaunchEnvironment& env);
// The same for a planned launch (a row of "Find Servers").
void performLaunch(MainState& s, const LaunchPlan& plan, LaunchEnvironment& env);

// Starts the planned process detached from VYRN; empty when started, else the reason.
QString startGameProcess(const ProcessSpec& process);

inline QString cannotStartMessage(const QString& program, const QString& reason = {}) {
    return QStringLiteral("The game could not be started: ") + program +
           (reason.isEmpty() ? QString() : " (" + reason + ')');
}
