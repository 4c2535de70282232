#include "app/Startup.h"

#include "platform/FileIO.h"
#include "platform/ProgramEnd.h"
#include "platform/Prompter.h"
#include "query/MainGrids.h"
#include "state/ConfigFile.h"
#include "state/FavouritesFiles.h"
#include "state/ProgramFolder.h"

void offerPictureLibraries(MainState& s, bool firstRun, PictureLibraries& libraries) {
    if (firstRun) s.SkipDllPrompt = false;
    if (!s.SkipDllPrompt) {
        if (libraries.present()) return;  // nothing to offer, and nothing is rewritten
        const Message offer{kLibraryOffer, MsgIcon::None, kAppTitle, MsgButtons::YesNo};
        if (prompter().ask(offer) == MsgAnswer::No) s.SkipDllPrompt = true;
        else libraries.install();
    }
    // A folder that cannot be written keeps the old file whole; only the offer's answer
    // is not remembered, so start-up goes on without a message.
    RewriteConfig(appConfig(), s.SkipDllPrompt ? QStringLiteral("True") : QStringLiteral("False"));
}

bool runStartup(MainState& s, const StartupHooks& hooks) {
    if (hooks.anotherInstanceRunning && hooks.anotherInstanceRunning()) {
        prompter().ask({QStringLiteral("Another instance of VYRN is already running!"),
                        MsgIcon::Critical});
        endProgram();
        return false;
    }
    const bool firstRun = !fileExists(programFile(kConfigFileName));
    if (firstRun) {
        if (hooks.showAbout) hooks.showAbout();
        if (hooks.showAgreement && !hooks.showAgreement()) {
            endProgram();
            return false;
        }
        if (hooks.showFirstRunSettings) hooks.showFirstRunSettings();
        s.SkipDllPrompt = false;
    }
    if (hooks.centreWindow) hooks.centreWindow();
    SetupServerGrid(s);
    SetupBuddyGrid(s);
    SetupPlayerGrid(s);
    LoadServerList(s);
    LoadBuddyList(s);
    if (GetPaths(appConfig(), s.SkipDllPrompt) == GetPathsResult::OldFormatReset) return false;
    SortPlayerGrid(s, 3);
    s.ReadyToQuery = true;
    s.AutoScan.setEnabled(true);
    PictureLibraries builtIn;
    offerPictureLibraries(s, firstRun, hooks.libraries ? *hooks.libraries : builtIn);
    return true;
}
