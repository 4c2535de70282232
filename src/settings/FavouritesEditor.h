#pragma once
#include <QString>
#include <functional>
#include <optional>

#include "settings/InputAsker.h"
#include "state/FlexGrid.h"

// The favourites editor of the settings dialog, on the dialog's favourites grid. The
// questions are asked through the callbacks the dialog passes in; a cancelled answer
// ends an operation silently, an address or port no server can have ends it with a
// message that names it.

// Shows the game choice with the given code preselected (none when it matches no
// choice); the chosen code ("UT", "UT2", "UT3"), or nothing when none was chosen.
using GameChooser = std::function<std::optional<QString>(const QString& preselectedCode)>;
// Two entry numbers of the grid to exchange.
struct SwapRows {
    int first = 0;
    int second = 0;
};
// Shows the swap dialog; the two rows, or nothing when none were chosen.
using SwapChooser = std::function<std::optional<SwapRows>()>;

// The query port suggested for a game port: +1 for "UT", +10 for "UT2" and "UT3".
QString suggestedQueryPort(double gamePort, const QString& code);

// A port: a whole number from 1 to 65535, blanks around allowed.
std::optional<int> portOf(const QString& text);
// An address a server can have: four decimal parts of 0 to 255, or a host name.
bool isServerAddress(const QString& text);

void addFavourite(FlexGrid& grid, const InputAsker& ask, const GameChooser& chooseGame);
void editFavourite(FlexGrid& grid, const InputAsker& ask, const GameChooser& chooseGame);
void removeFavourite(FlexGrid& grid);
void clearFavourites(FlexGrid& grid);
// Move the current row's entry one place and highlight it there.
void moveFavouriteUp(FlexGrid& grid);
void moveFavouriteDown(FlexGrid& grid);
// Asks for two entry numbers and exchanges them; the second becomes highlighted.
void swapFavourites(FlexGrid& grid, const SwapChooser& chooseSwap);

// Exchanges address, query port and game of two rows; "#" stays with its row.
void exchangeFavouriteRows(FlexGrid& grid, int a, int b);
