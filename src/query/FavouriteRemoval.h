#pragma once
#include "state/FavouritesFiles.h"
#include "state/MainState.h"

// "Remove from favourites": the row leaves the list (the last one is emptied, as the grid
// keeps one row), the rows are numbered again and "servers.ini" is written. When the file
// cannot be written the list stays as it was.
SaveResult removeFavouriteRow(MainState& s, int row);
