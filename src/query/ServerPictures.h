#pragma once
#include <QPixmap>

#include "state/FlexGrid.h"

// Pictures in the "Server" column, where a glance beats reading: a lock for a server
// that asks for a password, a greyed symbol for one that stopped answering. Their
// indexes follow the team pictures of the players grid.
enum ServerPicture { PictureLocked = 7, PictureSilent = 8 };
QPixmap serverPicture(int index);

// Shows the picture (0 for none) before the server's name in its row.
void setServerPicture(FlexGrid& serverGrid, int row, int picture);
