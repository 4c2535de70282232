#include "app/Startup.h"

#include "platform/FileIO.h"
#include "platform/ProgramEnd.h"
#include "platform/Prompter.h"
#include "query/MainGrids.h"
#include "state/ConfigFile.h"
#include "state/FavouritesFiles.h"
#include "state/ProgramFolder.h"

namespace {
// A file that is there but could not be read is never taken as missing: the user is
// told, and nothing writes over it.
void tellIfUnreadable(const LinesRead& read) {
    if (read.failed()) prompter().ask({readFailureText(read), MsgIcon::Exclamation});
}

// The reset of a "vyrn.ini" left by an older version; it always ends the program.
void resetOldConfiguration() {
    const Message question{kOldFormatQuestion, MsgIcon::None, QStringLiteral("VYRN 3.0"), MsgButtons::YesNo};
    const OldFormatReset reset = resetOldFormat(prompter().ask(question) == MsgAnswer::Yes);
    if (!reset.favourites) prompter().ask({saveFailureText(reset.favourites), MsgIcon::Exclamation});
    if (reset.copy) {
        prompter().ask({QStringLiteral("Please restart VYRN."), MsgIcon::Information});
    } else {
        prompter().ask({saveFailureText(reset.copy) +
                            QStringLiteral(" vyrn.ini was kept; the question comes again at the next start."),
                        MsgIcon::Exclamation});
    }
    endProgram();
}
}  // namespace

bool loadFiles(MainState& s) {
    tellIfUnreadable(loadServerList(s));
    tellIfUnreadable(loadBuddyList(s));
    const ConfigRead config = loadConfig(appConfig(), s.skipDllPrompt);
    tellIfUnreadable(config.file);
    if (config.result != GetPathsResult::OldFormat) return true;
    resetOldConfiguration();
    return false;
}

void offerPictureLibraries(MainState& s, bool firstRun, PictureLibraries& libraries) {
    if (firstRun) s.skipDllPrompt = false;
    if (!s.skipDllPrompt) {
        if (libraries.present()) return;  // nothing to offer, and nothing is rewritten
        const Message offer{kLibraryOffer, MsgIcon::None, kAppTitle, MsgButtons::YesNo};
        if (prompter().ask(offer) == MsgAnswer::No) s.skipDllPrompt = true;
        else libraries.install();
    }
    // A folder that cannot be written keeps the old file whole; only the offer's answer
    // is not remembered, so start-up goes on without a message.
    rewriteConfig(appConfig(), s.skipDllPrompt ? QStringLiteral("True") : QStringLiteral("False"));
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
        s.skipDllPrompt = false;
    }
    if (hooks.centreWindow) hooks.centreWindow();
    setUpServerGrid(s);
    setUpBuddyGrid(s);
    setUpPlayerGrid(s);
    if (!loadFiles(s)) return false;
    sortPlayerGrid(s, 3);
    s.readyToQuery = true;
    s.autoScanTimer.setEnabled(true);
    PictureLibraries builtIn;
    offerPictureLibraries(s, firstRun, hooks.libraries ? *hooks.libraries : builtIn);
    return true;
}
