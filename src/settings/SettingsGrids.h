#pragma once
#include "state/FlexGrid.h"
#include "state/TextLines.h"

// The settings dialog's own two grids: the favourites (4 columns) and the buddies.

inline constexpr int kGameColumnWidthOnOpen = 800;
inline constexpr int kGameColumnWidthAfterClear = 500;
// A hidden column of the favourites grid: the rest of a favourite's line after its
// game code (a comment), which stays with the favourite wherever it moves.
inline constexpr int kRestColumn = 4;

// Clears the favourites grid and lays it out with a header and one empty data row.
void layoutSettingsServerGrid(FlexGrid& grid, int gameColumnWidth);
// Clears the buddy grid and lays it out with its header and one empty data row.
void layoutSettingsBuddyGrid(FlexGrid& grid);

// Fills the freshly laid out favourites grid from "servers.ini": "#", address, query
// port and code for every favourite. Returns what reading found.
LinesRead loadSettingsServerGrid(FlexGrid& grid);

// A click on a grid of the dialog: a data row under the mouse becomes the highlighted
// current row; the header and the space below the rows change nothing.
void highlightClickedRow(FlexGrid& grid);

// Appends a row with the given cell texts (kept whole, tabs included).
void appendGridRow(FlexGrid& grid, const QStringList& cells);
