#pragma once
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
    WindowShow show = WindowShow::Maximised;
};

enum class AfterLaunch { EndProgram, HideToTray };

struct LaunchPlan {
    std::optional<Message> message;     // shown instead of a launch; nothing else happens
    std::optional<ProcessSpec> process;  // the game to start, if any
    std::optional<AfterLaunch> after;    // what the program does afterwards
};

LaunchPlan planLaunch(const MainState& s, const AppConfig& config);

// The game port of a reply, accepted only as a decimal port 1..65535 (blanks around it
// allowed), so a reply can never put anything else on the game's command line.
std::optional<int> parseGamePort(const QString& text);

// The executable path with every occurrence of "<sep><exeName>" removed, in any case.
QString gameFolderOf(const QString& path, const QString& exeName);

// The process for a game executable: a Windows ".exe" (any case) runs through wine.
ProcessSpec gameProcess(const QString& path, const QString& folder, const QString& target,
                        WindowShow show);

inline const QString kServerDownMessage = QStringLiteral("Cannot launch into server. Server down.");
