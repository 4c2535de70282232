#include "launch/Launch.h"

#include "platform/ProcessStarter.h"
#include "platform/ProgramEnd.h"

void launchSelectedServer(MainState& s, const AppConfig& config, LaunchEnvironment& env) {
    performLaunch(s, planLaunch(s, config), env);
}

void performLaunch(MainState& s, const LaunchPlan& plan, LaunchEnvironment& env) {
    if (plan.message) {
        prompter().ask(*plan.message);
        return;
    }
    const QString failure =
        plan.process ? env.startProcess(*plan.process) : QStringLiteral("nothing to start");
    if (!failure.isEmpty()) {
        // Nothing was started: stay as we are so the user can correct the path.
        prompter().ask({cannotStartMessage(plan.process ? plan.process->program : QString(), failure),
                        MsgIcon::Critical});
        return;
    }
    if (plan.after == AfterLaunch::HideToTray) {
        s.autoScanTimer.setEnabled(false);
        s.autoScanMode = false;
        env.minimiseWindow();
        return;
    }
    endProgram();
}

QString startGameProcess(const ProcessSpec& p) {
    return startDetachedProcess(p.program, p.arguments, p.workingFolder, p.environment);
}
