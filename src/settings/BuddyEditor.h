#pragma once
#include "settings/InputAsker.h"
#include "state/FlexGrid.h"

// The buddy editor of the settings dialog, on its one-column grid. Names are kept
// exactly as typed; an empty answer ends Add and Edit silently.
void AddBuddy(FlexGrid& grid, const InputAsker& ask);
void EditBuddy(FlexGrid& grid, const InputAsker& ask);
void RemoveBuddy(FlexGrid& grid);
void ClearBuddies(FlexGrid& grid);
