#pragma once
#include <functional>

#include "platform/PictureLibraries.h"
#include "state/MainState.h"

// The steps of start-up that are not the window's own, as hooks the main window
// fills in (tests fill them with recorders).
struct StartupHooks {
    std::function<bool()> anotherInstanceRunning;
    std::function<void()> showAbout;
    std::function<bool()> showAgreement;  // true for "I Agree"
    std::function<void()> showFirstRunSettings;
    std::function<void()> centreWindow;
    PictureLibraries* libraries = nullptr;
};

// Runs the start-up sequence; false when the program ended during it.
bool runStartup(MainState& s, const StartupHooks& hooks);

// Loads "servers.ini", "buddies.ini" and "vyrn.ini" into freshly laid out grids and
// the configuration, telling the user of a file that could not be read. False when an
// old-format "vyrn.ini" was reset, which ends the program.
bool loadFiles(MainState& s);

// The offer to place the picture libraries and the rewrite of "vyrn.ini" that ends
// start-up.
void offerPictureLibraries(MainState& s, bool firstRun, PictureLibraries& libraries);

inline const QString kOldFormatQuestion = QStringLiteral(
    "Old VYRN.INI found, resetting config file.\r\n"
    "Do you want to import your previous favorites?");

inline const QString kLibraryOffer = QStringLiteral(
    "The file ijl15.dll and FoxCBmp.dll files should be in your\r\n"
    "Windows\\System32 folder for the screenshot feature to work.\r\n"
    "Move these files now?\r\n");
