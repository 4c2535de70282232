#pragma once
#include "settings/InputAsker.h"
#include "state/FlexGrid.h"

// The buddy editor of the settings dialog, on its one-column grid. Names are kept
// exactly as typed; an empty answer ends Add and Edit silently.
void addBuddy(FlexGrid& grid, const InputAsker& ask);
void editBuddy(FlexGrid& grid, const InputAsker& ask);
void removeBuddy(FlexGrid& grid);
void clearBuddies(FlexGrid& grid);
