#pragma once
#include "state/MainState.h"

// Layouts, sorts and the row highlight of the main window's three grids, and the
// resting texts of its information panel.

void setUpServerGrid(MainState& s);
void setUpBuddyGrid(MainState& s);
void setUpPlayerGrid(MainState& s);
void sortServerGrid(MainState& s, int col);
void sortPlayerGrid(MainState& s, int col);
// Header click on the buddy grid.
void sortBuddyGrid(MainState& s, int col);
void highlightServerRow(MainState& s, int row);
void clearServerInfo(MainState& s);

// Paints one row of a grid as the selection and restores the rows painted before.
void highlightGridRow(FlexGrid& grid, int row);

// Pictures of the players grid's "Team" column.
enum TeamPicture { PictureGold = 1, PictureBlank = 2, PictureBlue = 3, PictureGreen = 4,
                   PictureRed = 5, PictureSpec = 6 };
