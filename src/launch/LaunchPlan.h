#pragma once
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/Prompter.h"
#include "state/AppConfig.h"
#include "state/MainState.h"

// What "&Launch!" does, decided from the selected row, the panel and the settings
// before anything is started.

enum class WindowShow { Maximised, Minimised };

struct ProcessSpec {
    QString program;
    QStringList arguments;
    QString workingFolder;
    QMap<QString, QString> environment;  // set on top of VYRN's own
    WindowShow show = WindowShow::Maximised;
};

enum class AfterLaunch { EndProgram, HideToTray };

struct LaunchPlan {
    std::optional<Message> message;      // shown instead of a launch; nothing else happens
    std::optional<ProcessSpec> process;  // the game to start
    std::optional<AfterLaunch> after;    // what the program does afterwards
};

LaunchPlan planLaunch(const MainState& s, const AppConfig& config);
// The same for a server known by its game code, address and game port as a reply gave it
// (a row of "Find Servers").
LaunchPlan planLaunchTo(const QString& gameCode, const QString& address, const QString& gamePort,
                        const AppConfig& config);

// The game port of a reply, accepted only as a decimal port 1..65535 (blanks around it
// allowed), so a reply can never put anything else on the game's command line.
std::optional<int> parseGamePort(const QString& text);

inline const QString kServerDownMessage = QStringLiteral("Cannot launch into server. Server down.");
inline const QString kWineMissingMessage =
    QStringLiteral("The game needs Wine to start. Install the wine package.");
// For a favourite whose game code is none of the three.
QString unknownGameMessage(const QString& code);
