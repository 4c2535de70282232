#pragma once
#include "state/MainState.h"

// Layouts, sorts and the row highlight of the main window's three grids, and the
// resting texts of its information panel.

void SetupServerGrid(MainState& s);
void SetupBuddyGrid(MainState& s);
void SetupPlayerGrid(MainState& s);
void SortServerGrid(MainState& s, int col);
void SortPlayerGrid(MainState& s, int col);
// Header click on the buddy grid.
void SortBuddyGrid(MainState& s, int col);
void HighlightServerRow(MainState& s, int row);
void ClearServerInfo(MainState& s);

// Paints one row of a grid as the selection and restores the rows painted before.
void highlightGridRow(FlexGrid& grid, int row);

// Pictures of the players grid's "Team" column.
enum TeamPicture { PictureGold = 1, PictureBlank = 2, PictureBlue = 3, PictureGreen = 4,
                   PictureRed = 5, PictureSpec = 6 };
