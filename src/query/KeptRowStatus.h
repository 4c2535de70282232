#pragma once
#include <QHash>
#include <QVector>

#include "state/FlexGrid.h"

// What the server rows showed (name, players, ping, game type and the text colour of a
// silent server), by address and query port, so a list loaded again from the files
// shows it at once instead of blank rows until each server answers again.
using KeptRowStatus = QHash<QString, QVector<FlexGrid::Cell>>;

KeptRowStatus keepRowStatus(const FlexGrid& serverGrid);
// Puts the kept status back into the rows of the same servers; other rows stay as loaded.
void restoreRowStatus(FlexGrid& serverGrid, const KeptRowStatus& kept);
