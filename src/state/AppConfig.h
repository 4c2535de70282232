#pragma once
#include <QString>

// The eight values of "vyrn.ini", in file order. Values are kept as text as read, so
// every writer puts back exactly what it holds.
struct AppConfig {
    QString UtPath;          // ...\System\UnrealTournament.exe
    QString Ut2003Path;      // ...\System\ut2003.exe
    QString Ut2004Path;      // ...\System\ut2004.exe
    QString AfterLaunch;     // "1" end the program, "2" hide to the tray
    QString RefreshDelay;    // scan delay 1..5; empty counts as 2
    QString LastSaveFolder;  // screenshot export
    QString LastSaveDrive;   // first two characters of LastSaveFolder
    // Line 9, after everything older versions read: "0" turns buddy alerts off; empty
    // (no ninth line) or anything else leaves them on. An empty value writes no line.
    QString BuddyAlerts;
};

inline bool buddyAlertsOn(const AppConfig& c) { return c.BuddyAlerts.trimmed() != QLatin1String("0"); }

// The one configuration record of the run.
AppConfig& appConfig();
