#pragma once
#include <QString>

// The eight values of "vyrn.ini", in file order. Values are kept as text as read, so
// every writer puts back exactly what it holds.
struct AppConfig {
    QString utPath;          // ...\System\UnrealTournament.exe
    QString ut2003Path;      // ...\System\ut2003.exe
    QString ut2004Path;      // ...\System\ut2004.exe
    QString afterLaunch;     // "1" end the program, "2" hide to the tray
    QString refreshDelay;    // scan delay 1..5; empty counts as 2
    QString lastSaveFolder;  // screenshot export
    QString lastSaveDrive;   // first two characters of lastSaveFolder
    // Line 9, after everything older versions read: "0" turns buddy alerts off; empty
    // (no ninth line) or anything else leaves them on. An empty value writes no line.
    QString buddyAlerts;
    // Line 10: "1" keeps the names of the buddies seen in the history; anything else, or no
    // line, keeps no player's name there.
    QString buddyHistory;
};

inline bool buddyAlertsOn(const AppConfig& c) { return c.buddyAlerts.trimmed() != QLatin1String("0"); }
inline bool buddyHistoryOn(const AppConfig& c) { return c.buddyHistory.trimmed() == QLatin1String("1"); }

// The one configuration record of the run.
AppConfig& appConfig();
