#pragma once
#include <QString>
#include <functional>
#include <optional>

class QMenu;
class QWidget;

// What a player pastes into the game's console to join: "ADDRESS:GAMEPORT" when the
// server's reply gave its game port, else the address alone.
QString serverAddressText(const QString& address, const std::optional<QString>& gamePort);

// The actions of a server row's menu in the main window.
struct ServerRowActions {
    std::function<void()> launch;
    std::function<void()> refresh;
    std::function<void()> copyAddress;
    std::function<void()> copyInformation;
    std::function<void()> removeFavourite;
};
// "Launch", "Refresh this server", "Copy address" (Ctrl+C), "Copy information",
// "Remove from favourites".
QMenu* buildServerRowMenu(QWidget* parent, const ServerRowActions& actions);
// "Where has this buddy played?".
QMenu* buildBuddyRowMenu(QWidget* parent, const std::function<void()>& showHistory);
// "Add player to buddies".
QMenu* buildPlayerRowMenu(QWidget* parent, const std::function<void()>& addBuddy);
