#pragma once
#include <QString>
#include <functional>

#include "platform/IntervalTimer.h"
#include "state/FlexGrid.h"

// Columns of the main window's server grid.
namespace ServerCol {
enum : int { Number = 0, Name = 1, Address = 2, QueryPort = 3, Players = 4, Ping = 6,
             GameCode = 7, GameType = 8, GameName = 9 };
}
// Columns of the players grid; Team shows the picture, TeamNumber the team as sent.
namespace PlayerCol {
enum : int { Name = 0, Score = 1, Ping = 2, Team = 3, TeamNumber = 4 };
}
// Columns of the buddy grid.
namespace BuddyCol {
enum : int { Entry = 0, Server = 1 };
}

// Text colour of a server that stopped answering, and of the buddies last seen on it.
inline constexpr FlexGrid::Colour kSilentColour = 0x808080;

// Texts of the main window's server information panel.
struct InfoPanel {
    QString title = QStringLiteral("Server Information:");  // frame caption
    QString map = QStringLiteral("Map:");
    QString timeLimit = QStringLiteral("Time Limit:");
    QString version = QStringLiteral("Version:");
    QString password = QStringLiteral("P/W:");
    QString translocator = QStringLiteral("Translocator:");
    QString gameType = QStringLiteral("Game Type:");
    QString mutators = QStringLiteral("Mutators:");
    QString goalLimit = QStringLiteral("Goal Limit:");
    QString address;   // address of the selected server
    QString gamePort;  // game port of the selected server, from its last reply
    QString admin;     // admin name and e-mail
};

// Everything the main window owns while the program runs, as plain data, so the
// scan, the decoders and the launch can work (and be tested) without a window.
struct MainState {
    FlexGrid serverGrid{2, 10};
    FlexGrid playerGrid{2, 5};
    FlexGrid buddyGrid{2, 2};
    InfoPanel panel;

    bool skipDllPrompt = false;

    // Scan state.
    int scanRow = 0;
    bool readyToQuery = false;
    bool autoScanMode = false;
    bool exitRequested = false;

    // Sort state of the grids.
    int serverSortCol = 0;
    int playerSortCol = 0;

    IntervalTimer autoScanTimer{200};
    IntervalTimer selectedScanTimer{1000};
    IntervalTimer autoScanIndicatorTimer{500, true};
    QString autoScanCaption = QStringLiteral("&AutoScan");

    // Called for every reply in which a player matches a buddy entry (the player's name
    // and the server's); the window decides which sightings are news.
    std::function<void(const QString& player, const QString& server)> buddySeen;
};
