#pragma once
#include <QRect>
#include <QSize>

class QWidget;

// Windows are laid out in twips; the screen has 15 twips to a pixel.
constexpr int twips(int value) { return value / 15; }

// Where a window of this size (frame included) goes on a screen's free area: shrunk to
// fit when it is larger, then centred, left = (free width - width) / 2 and top = (free
// height - height) / 2 with the fraction dropped. Never beyond the area.
QRect centredWithin(QSize window, const QRect& area);

// Centres the window on its screen's free area once it has its real size (its layout
// done), and again when it is first shown, so content set after construction counts.
// A window larger than the screen is made smaller first.
void centreOnScreen(QWidget* window);
