#pragma once
#include <QPixmap>

// The program's logo, a square of the given size: the about box, the window and the tray.
QPixmap vyrnLogo(int size);
