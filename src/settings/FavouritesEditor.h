#pragma once
#include <QString>
#include <functional>
#include <optional>

#include "settings/InputAsker.h"
#include "state/FlexGrid.h"

// The favourites editor of the settings dialog, on the dialog's 4-column grid. The
// questions are asked through the callbacks the dialog passes in; a cancelled or
// invalid answer ends an operation silently.

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

// A text that reads as a number: blanks around, a sign, digits, a decimal part.
std::optional<double> readNumber(const QString& text);

// The query port suggested for a game port: +1 for "UT", +10 for "UT2" and "UT3".
QString suggestedQueryPort(double gamePort, const QString& code);

void AddFavourite(FlexGrid& grid, const InputAsker& ask, const GameChooser& chooseGame);
void EditFavourite(FlexGrid& grid, const InputAsker& ask, const GameChooser& chooseGame);
void RemoveFavourite(FlexGrid& grid);
void ClearFavourites(FlexGrid& grid);
// Move the current row's entry one place and highlight it there.
void MoveFavouriteUp(FlexGrid& grid);
void MoveFavouriteDown(FlexGrid& grid);
// Asks for two entry numbers and exchanges them; the second becomes highlighted.
void SwapFavourites(FlexGrid& grid, const SwapChooser& chooseSwap);

// Exchanges address, query port and game of two rows; "#" stays with its row.
void exchangeFavouriteRows(FlexGrid& grid, int a, int b);
