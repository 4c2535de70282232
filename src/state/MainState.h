#pragma once
#include <QString>
#include <functional>

#include "platform/IntervalTimer.h"
#include "state/FlexGrid.h"

// Texts of the main window's server information panel.
struct InfoPanel {
    QString Frame1 = QStringLiteral("Server Information:");  // frame caption
    QString Label1 = QStringLiteral("Map:");
    QString Label3 = QStringLiteral("Time Limit:");
    QString Label4 = QStringLiteral("Version:");
    QString Label5 = QStringLiteral("P/W:");
    QString Label6 = QStringLiteral("Translocator:");
    QString Label7 = QStringLiteral("Game Type:");
    QString Label8 = QStringLiteral("Mutators:");
    QString Label9 = QStringLiteral("Goal Limit:");
    QString Text1;  // address of the selected server
    QString Text2;  // game port of the selected server, from its last reply
    QString Text3;  // admin name and e-mail
};

// Everything the main window owns while the program runs, as plain data, so the
// scan, the decoders and the launch can work (and be tested) without a window.
struct MainState {
    FlexGrid ServerGrid{2, 10};
    FlexGrid Flex{2, 5};
    FlexGrid BudList{2, 2};
    InfoPanel panel;

    bool SkipDllPrompt = false;

    // Scan state.
    int ScanRow = 0;
    bool ReadyToQuery = false;
    bool AutoScanMode = false;
    bool ExitRequested = false;

    // Sort state of the grids.
    int ServerSortCol = 0;
    int PlayerSortCol = 0;

    IntervalTimer AutoScan{200};
    IntervalTimer ClickScan{1000};
    IntervalTimer ASIndicator{500, true};
    QString mnuautoCaption = QStringLiteral("&AutoScan");

    // Called when a buddy's "Server" cell changes to a server (the player's name and
    // the server's), once until the buddy is seen elsewhere or the list is rebuilt.
    std::function<void(const QString& player, const QString& server)> buddySeen;
};
