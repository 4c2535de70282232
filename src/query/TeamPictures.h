#pragma once
#include <QPixmap>

// The six small pictures of the players grid's "Team" column, by 1-based index:
// gold, blank grey, blue, green and red bars, and the word "Spec".
QPixmap teamPicture(int index);
